// The Windows child process with the stand-in FFmpeg: arguments arrive
// exactly as given (blanks, quotes, backslashes, any script), every byte
// arrives in order, a failing or vanishing child is a failure with its
// status, a hanging one is stopped when a stop is requested, and the
// program is searched for beside this one and on PATH.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/ChildProcess.h"
#include "platform/win32/WideText.h"
#include "tests/win32/WideFiles.h"

namespace {

// A fresh folder for the stand-in's record, named after the test.
std::string recordFolder()
{
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    wchar_t tmp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, tmp);
    const std::string folder = utf8FromWide(tmp) + "qh-child-" + name + "-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryW(wideFromUtf8(folder).c_str(), nullptr);
    return folder;
}

const std::string kStandIn = std::string(QUITTENHAIN_STANDIN_FOLDER) + "\\ffmpeg.exe";

void standInMode(const std::string& folder, const char* mode)
{
    SetEnvironmentVariableW(L"QH_STANDIN_RECORD", wideFromUtf8(folder).c_str());
    SetEnvironmentVariableW(L"QH_STANDIN_MODE", wideFromUtf8(mode).c_str());
}

bool neverStop()
{
    return false;
}

// Long enough that no test's child counts as wedged unless it is meant to.
constexpr std::chrono::milliseconds kPatient{30000};

TEST(WindowsChildProcess, ArgumentsAndEveryByteArriveExactlyAndStatusZeroIsDone)
{
    const std::string folder = recordFolder();
    standInMode(folder, "ok");
    const std::vector<std::string> arguments = {"ffmpeg", "plain", "two words", "", "say \"hi\"",
                                                "C:\\trailing\\", "a\\\\\"b", "Сыр 日本", folder + "\\out.mp4"};
    ChildProcess child;
    std::string error;
    ASSERT_TRUE(child.start(kStandIn, arguments, folder + "\\log.txt", error)) << error;
    EXPECT_TRUE(child.running());
    // More than the pipe holds at once, with a pattern that shows any
    // lost, repeated or reordered chunk.
    std::vector<unsigned char> bytes(3 * 1024 * 1024 + 17);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>((i * 131) ^ (i >> 12));
    ASSERT_EQ(child.write(bytes.data(), bytes.size() / 2, neverStop, kPatient), ChildProcess::Outcome::Done);
    ASSERT_EQ(child.write(bytes.data() + bytes.size() / 2, bytes.size() - bytes.size() / 2, neverStop, kPatient),
              ChildProcess::Outcome::Done);
    std::string how;
    EXPECT_EQ(child.finish(neverStop, how), ChildProcess::Outcome::Done) << how;
    EXPECT_FALSE(child.running());

    std::string expected;
    for (const std::string& argument : arguments)
        expected += argument + "\n";
    EXPECT_EQ(readFile(folder + "\\arguments.txt"), expected);
    const std::string received = readFile(folder + "\\input.bin");
    ASSERT_EQ(received.size(), bytes.size());
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), received.begin(),
                           [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); }));
    EXPECT_EQ(readFile(folder + "\\out.mp4"), "stand-in video\n");
}

TEST(WindowsChildProcess, FailingOrVanishingChildIsAFailureWithItsStatusAndMessage)
{
    const std::vector<unsigned char> frame(640 * 480 * 4, 7);
    for (const char* mode : {"fail", "vanish"}) {
        const std::string folder = recordFolder() + "-" + mode;
        CreateDirectoryW(wideFromUtf8(folder).c_str(), nullptr);
        standInMode(folder, mode);
        ChildProcess child;
        std::string error;
        ASSERT_TRUE(child.start(kStandIn, {"ffmpeg"}, folder + "\\log.txt", error)) << error;
        // It takes one frame, then ends: writing goes wrong at the latest
        // a few frames on, and finishing reports how it ended.
        ChildProcess::Outcome wrote = ChildProcess::Outcome::Done;
        for (int i = 0; i < 20 && wrote == ChildProcess::Outcome::Done; ++i)
            wrote = child.write(frame.data(), frame.size(), neverStop, kPatient);
        EXPECT_EQ(wrote, ChildProcess::Outcome::Failed) << mode;
        std::string how;
        EXPECT_EQ(child.finish(neverStop, how), ChildProcess::Outcome::Failed) << mode;
        EXPECT_NE(how.find(std::string(mode) == "fail" ? "status 1" : "abnormally"), std::string::npos)
            << mode << ": " << how;
        if (std::string(mode) == "fail") {
            EXPECT_EQ(readFile(folder + "\\log.txt").rfind("stand-in: told to fail", 0), 0u);
        }
    }
}

TEST(WindowsChildProcess, HangingChildIsStoppedWhenAStopIsRequested)
{
    const std::string folder = recordFolder();
    standInMode(folder, "hang");
    ChildProcess child;
    std::string error;
    ASSERT_TRUE(child.start(kStandIn, {"ffmpeg"}, folder + "\\log.txt", error)) << error;
    // The child reads nothing: a write larger than the pipe waits until the
    // stop request, which comes after half a second.
    const std::vector<unsigned char> frame(4 * 1024 * 1024, 1);
    const auto begun = std::chrono::steady_clock::now();
    auto stopLater = [&] { return std::chrono::steady_clock::now() - begun > std::chrono::milliseconds(500); };
    EXPECT_EQ(child.write(frame.data(), frame.size(), stopLater, kPatient), ChildProcess::Outcome::Interrupted);
    EXPECT_FALSE(child.running());

    // The same while finishing: the child never ends by itself.
    ASSERT_TRUE(child.start(kStandIn, {"ffmpeg"}, folder + "\\log.txt", error)) << error;
    const auto again = std::chrono::steady_clock::now();
    auto stopSoon = [&] { return std::chrono::steady_clock::now() - again > std::chrono::milliseconds(500); };
    std::string how;
    EXPECT_EQ(child.finish(stopSoon, how), ChildProcess::Outcome::Interrupted);
    EXPECT_FALSE(child.running());
}

TEST(WindowsChildProcess, ProgramsAreFoundOnPathAsExeFilesAndFoldersDoNotCount)
{
    const std::string folder = recordFolder();
    // A folder named like the program, earlier on PATH, is passed over.
    CreateDirectoryW(wideFromUtf8(folder + "\\ffmpeg.exe").c_str(), nullptr);
    const std::wstring path = wideFromUtf8(folder + ";" + QUITTENHAIN_STANDIN_FOLDER);
    SetEnvironmentVariableW(L"PATH", path.c_str());
    EXPECT_EQ(findProgram("ffmpeg"), kStandIn);
    EXPECT_EQ(findProgram("ffmpeg.exe"), kStandIn);
    SetEnvironmentVariableW(L"PATH", wideFromUtf8(folder).c_str());
    EXPECT_EQ(findProgram("ffmpeg"), "");
}

}  // namespace

TEST(WindowsChildProcess, ChildThatTakesNothingIsStoppedAfterTheStallLimit)
{
    const std::string folder = recordFolder();
    standInMode(folder, "hang");
    ChildProcess child;
    std::string error;
    ASSERT_TRUE(child.start(kStandIn, {"ffmpeg"}, folder + "\\log.txt", error)) << error;
    // No stop is ever requested: only the stall limit ends the write.
    const std::vector<unsigned char> frame(4 * 1024 * 1024, 1);
    const auto begun = std::chrono::steady_clock::now();
    EXPECT_EQ(child.write(frame.data(), frame.size(), neverStop, std::chrono::milliseconds(700)),
              ChildProcess::Outcome::Stalled);
    EXPECT_GE(std::chrono::steady_clock::now() - begun, std::chrono::milliseconds(700));
    EXPECT_FALSE(child.running());
}
