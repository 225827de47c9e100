// Video capture of the Windows executable with the stand-in FFmpeg, run as
// a user runs it: the video appears under its name only when everything
// went well; a failing, vanishing or hanging FFmpeg, Ctrl-C and Ctrl-Break
// leave no file under the final name and end with 3, 130 and 143; without
// FFmpeg the message says where it looked.  File names of any script work.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32/WideText.h"

namespace {

constexpr std::size_t kFrameBytes = 640 * 480 * 4;

struct CaptureRun {
    DWORD status = 0xFFFFFFFFu;
    std::string output;
};

std::string readFile(const std::string& path)
{
    std::ifstream in(wideFromUtf8(path).c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool exists(const std::string& path)
{
    return GetFileAttributesW(wideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string standInRecord(const std::string& name)
{
    return readFile(name);
}

// A fresh working folder per test, under the system's temporary folder.
class VideoCaptureWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t tmp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, tmp);
        folder_ = utf8FromWide(tmp) + "qh-video-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
                  std::to_string(GetCurrentProcessId());
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

    // Runs the program in the working folder, in a process group of its own
    // (so that a console event can be aimed at it); with `event`, sends it
    // once the stand-in has started.
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
        const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NEW_PROCESS_GROUP,
                                            nullptr, wideFromUtf8(folder_).c_str(), &startup, &info);
        CloseHandle(output);
        if (!started)
            return result;
        if (event >= 0) {
            for (int i = 0; i < 6000 && !exists(folder_ + "\\started"); ++i)
                Sleep(50);
            Sleep(500);   // into the writes
            // Ctrl-C goes to everything on the console, as when a user
            // presses it (this test ignores it meanwhile; the program turns
            // it back on for itself); Ctrl-Break can be aimed at its group.
            if (event == CTRL_C_EVENT) {
                SetConsoleCtrlHandler(nullptr, TRUE);
                GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
                Sleep(200);
                SetConsoleCtrlHandler(nullptr, FALSE);
            } else {
                GenerateConsoleCtrlEvent(static_cast<DWORD>(event), info.dwProcessId);
            }
        }
        // Minutes at most, even on a loaded machine; a hang fails the test.
        if (WaitForSingleObject(info.hProcess, 300000) == WAIT_TIMEOUT)
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

TEST_F(VideoCaptureWindows, CtrlCAndCtrlBreakWhileFfmpegHangsEndWith130And143AndLeaveNoFile)
{
    standInMode("hang");
    const CaptureRun interrupted = run("--capture out.webm --fps 5", CTRL_C_EVENT);
    EXPECT_EQ(interrupted.status, 130u) << interrupted.output;
    EXPECT_NE(interrupted.output.find("Ctrl-C"), std::string::npos) << interrupted.output;
    EXPECT_FALSE(exists(folder_ + "\\out.webm"));
    EXPECT_FALSE(exists(folder_ + "\\out.webm.part"));

    const CaptureRun terminated = run("--capture out.webm --fps 5", CTRL_BREAK_EVENT);
    EXPECT_EQ(terminated.status, 143u) << terminated.output;
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

}  // namespace
