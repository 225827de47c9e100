// Video capture of the Windows executable with the stand-in FFmpeg, run as
// a user runs it: the video appears under its name only when everything
// went well; a failing or vanishing FFmpeg, and Ctrl-C while it hangs,
// leave no file under the final name and end with 3 and 130; without
// FFmpeg the message says where it looked.  File names of any script work.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32/WideText.h"
#include "tests/win32/WideFiles.h"

namespace {

constexpr std::size_t kFrameBytes = 640 * 480 * 4;

struct CaptureRun {
    DWORD status = 0xFFFFFFFFu;
    std::string output;
};

bool exists(const std::string& path)
{
    return GetFileAttributesW(wideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

BOOL WINAPI swallowConsoleEvent(DWORD)
{
    return TRUE;
}

std::string standInRecord(const std::string& name)
{
    return readFile(name);
}

// A fresh working folder per test, under the system's temporary folder.
class VideoCaptureWindows : public ::testing::Test {
protected:
    // A console of the test's own (a test run by CTest may have none), for
    // the program to join and for console events to go through.
    static void SetUpTestSuite()
    {
        if (GetConsoleWindow() == nullptr) {
            FreeConsole();
            AllocConsole();
        }
    }

    void SetUp() override
    {
        wchar_t tmp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, tmp);
        folder_ = utf8FromWide(tmp) + "qh-video-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
                  std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
        CreateDirectoryW(wideFromUtf8(folder_).c_str(), nullptr);
        SetEnvironmentVariableW(L"QH_STANDIN_RECORD", wideFromUtf8(folder_).c_str());
        useStandIn(true);
    }

    // PATH with or without the stand-in's folder in front.
    void useStandIn(bool present)
    {
        static const std::wstring original = [] {
            wchar_t path[32768];
            const DWORD length = GetEnvironmentVariableW(L"PATH", path, 32768);
            return std::wstring(path, length);
        }();
        const std::wstring path = present ? wideFromUtf8(QUITTENHAIN_STANDIN_FOLDER) + L";" + original : original;
        SetEnvironmentVariableW(L"PATH", path.c_str());
    }

    static void standInMode(const char* mode)
    {
        SetEnvironmentVariableW(L"QH_STANDIN_MODE", wideFromUtf8(mode).c_str());
    }

    // Runs the program in the working folder, on this test's console; with
    // `event`, sends that console event once the stand-in has started.
    CaptureRun run(const std::string& arguments, int event = -1)
    {
        const std::string log = folder_ + "\\output.txt";
        SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE output = CreateFileW(wideFromUtf8(log).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = output;
        startup.hStdError = output;
        std::wstring line = wideFromUtf8(std::string("\"") + QUITTENHAIN_BINARY + "\" " + arguments);
        PROCESS_INFORMATION info{};
        CaptureRun result;
        const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0,
                                            nullptr, wideFromUtf8(folder_).c_str(), &startup, &info);
        CloseHandle(output);
        if (!started)
            return result;
        if (event >= 0) {
            for (int i = 0; i < 6000 && !exists(folder_ + "\\started"); ++i)
                Sleep(50);
            Sleep(500);   // into the writes
            // The event goes to everything on the console, as when a user
            // presses the keys; this test swallows its own copy.  Wine now
            // and then drops one on a loaded machine: pressed again after a
            // second, as a user would.
            SetConsoleCtrlHandler(swallowConsoleEvent, TRUE);
            for (int press = 0; press < 20; ++press) {
                GenerateConsoleCtrlEvent(static_cast<DWORD>(event), 0);
                if (WaitForSingleObject(info.hProcess, 1000) != WAIT_TIMEOUT)
                    break;
            }
            SetConsoleCtrlHandler(swallowConsoleEvent, FALSE);
        }
        // Two minutes at most, even on a loaded machine; a hang fails the test.
        if (WaitForSingleObject(info.hProcess, 120000) == WAIT_TIMEOUT)
            TerminateProcess(info.hProcess, 0xDEAD);
        GetExitCodeProcess(info.hProcess, &result.status);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
        result.output = readFile(log);
        return result;
    }

    std::string folder_;
};

TEST_F(VideoCaptureWindows, WritesTheVideoThroughFfmpegWithItsArgumentsAndEveryFrame)
{
    standInMode("ok");
    const CaptureRun capture = run("--capture out.mp4 --until 3 --fps 5");
    EXPECT_EQ(capture.status, 0u) << capture.output;
    EXPECT_EQ(readFile(folder_ + "\\out.mp4"), "stand-in video\n");
    EXPECT_FALSE(exists(folder_ + "\\out.mp4.part"));
    const std::string arguments = standInRecord(folder_ + "\\arguments.txt");
    EXPECT_NE(arguments.find("\nrawvideo\n-pix_fmt\nrgba\n-s\n640x480\n-r\n5\n-i\npipe:0\n"), std::string::npos)
        << arguments;
    EXPECT_NE(arguments.find("\nlibx264\n"), std::string::npos) << arguments;
    EXPECT_NE(arguments.find("out.mp4.part\n"), std::string::npos) << arguments;
    // Frames 0 to 14: three seconds at 5 frames per second, whole frames.
    EXPECT_EQ(readFile(folder_ + "\\input.bin").size(), 15 * kFrameBytes);
}

TEST_F(VideoCaptureWindows, FailingOrVanishingFfmpegEndsWith3AndLeavesNoFile)
{
    for (const char* mode : {"fail", "vanish"}) {
        standInMode(mode);
        const CaptureRun capture = run("--capture out.mkv --until 3 --fps 5");
        EXPECT_EQ(capture.status, 3u) << mode << ": " << capture.output;
        EXPECT_NE(capture.output.find("FFmpeg"), std::string::npos) << capture.output;
        if (std::string(mode) == "fail") {
            EXPECT_NE(capture.output.find("stand-in: told to fail"), std::string::npos) << capture.output;
        }
        EXPECT_FALSE(exists(folder_ + "\\out.mkv")) << mode;
        EXPECT_FALSE(exists(folder_ + "\\out.mkv.part")) << mode;
    }
}

// Ctrl-Break, a closing console and a session's end are noted as a
// termination request (143) by the same handler; Wine delivers none of them
// to another process, so only Ctrl-C is tried here.
TEST_F(VideoCaptureWindows, CtrlCWhileFfmpegHangsEndsWith130AndLeavesNoFile)
{
    standInMode("hang");
    const CaptureRun interrupted = run("--capture out.webm --fps 5", CTRL_C_EVENT);
    EXPECT_EQ(interrupted.status, 130u) << interrupted.output;
    EXPECT_NE(interrupted.output.find("Ctrl-C"), std::string::npos) << interrupted.output;
    EXPECT_FALSE(exists(folder_ + "\\out.webm"));
    EXPECT_FALSE(exists(folder_ + "\\out.webm.part"));
}

TEST_F(VideoCaptureWindows, WithoutFfmpegTheMessageSaysWhereItLooked)
{
    useStandIn(false);
    const CaptureRun capture = run("--capture out.mp4 --until 1");
    EXPECT_NE(capture.status, 0u);
    EXPECT_NE(capture.output.find("looked for ffmpeg.exe"), std::string::npos) << capture.output;
    EXPECT_NE(capture.output.find("PATH"), std::string::npos) << capture.output;
    EXPECT_FALSE(exists(folder_ + "\\out.mp4.part"));
}

TEST_F(VideoCaptureWindows, FramesAndVideosGoToFoldersNamedInAnyScript)
{
    // Frame 0 into a Cyrillic folder, a video into a Japanese one.
    const CaptureRun frames = run("--capture \"Сыр\" --frames 0");
    EXPECT_EQ(frames.status, 0u) << frames.output;
    EXPECT_EQ(readFile(folder_ + "\\Сыр\\frame00000.png").substr(1, 3), "PNG") << frames.output;

    standInMode("ok");
    CreateDirectoryW(wideFromUtf8(folder_ + "\\日本").c_str(), nullptr);
    const CaptureRun video = run("--capture \"日本\\ビデオ.mp4\" --until 1 --fps 5");
    EXPECT_EQ(video.status, 0u) << video.output;
    EXPECT_EQ(readFile(folder_ + "\\日本\\ビデオ.mp4"), "stand-in video\n") << video.output;
}

TEST_F(VideoCaptureWindows, CapturingAgainReplacesTheFramesAndTheVideoOfAnEarlierCapture)
{
    // Windows' own rename refuses to replace a file; a second capture under
    // the same names must still succeed, as on POSIX.
    for (int run = 0; run < 2; ++run) {
        const CaptureRun frames = this->run("--capture again --frames 0");
        EXPECT_EQ(frames.status, 0u) << "run " << run << ": " << frames.output;
    }
    EXPECT_EQ(readFile(folder_ + "\\again\\frame00000.png").substr(1, 3), "PNG");
    standInMode("ok");
    for (int run = 0; run < 2; ++run) {
        const CaptureRun video = this->run("--capture again.mp4 --until 1 --fps 5");
        EXPECT_EQ(video.status, 0u) << "run " << run << ": " << video.output;
    }
    EXPECT_EQ(readFile(folder_ + "\\again.mp4"), "stand-in video\n");
    EXPECT_FALSE(exists(folder_ + "\\again.mp4.part"));
}

}  // namespace
