// A stand-in for ffmpeg.exe in the capture tests: it records the arguments
// it was given (one per line, UTF-8) and every byte it receives on its
// standard input into the folder QH_STANDIN_RECORD, and behaves as
// QH_STANDIN_MODE says:
//   ok      reads its input to the end, writes a small file under the name
//           of its last argument (the output) and ends with 0;
//   fail    reads one frame's worth, says so on its error output, ends with 1;
//   vanish  reads one frame's worth and ends abruptly, without a word;
//   hang    reads nothing and never ends.
// A file "started" in the record folder tells a test it is running.
// Asked to read a video back (its output "-f null -"), as the capture does
// to check what it wrote, it succeeds only on a file it made itself and
// records nothing.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

std::wstring variable(const wchar_t* name)
{
    wchar_t value[2048];
    const DWORD length = GetEnvironmentVariableW(name, value, 2048);
    return length > 0 && length < 2048 ? std::wstring(value, length) : L"";
}

void writeFile(const std::wstring& path, const void* bytes, std::size_t count, bool append)
{
    if (FILE* file = _wfopen(path.c_str(), append ? L"ab" : L"wb")) {
        std::fwrite(bytes, 1, count, file);
        std::fclose(file);
    }
}

std::string utf8(const wchar_t* text)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length > 0 ? length - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), length, nullptr, nullptr);
    return result;
}

// Reads standard input into the record until its end or `limit` bytes.
void readInput(const std::wstring& record, std::size_t limit)
{
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    static char buffer[1 << 16];
    std::size_t total = 0;
    DWORD got = 0;
    while (total < limit && ReadFile(input, buffer, static_cast<DWORD>(sizeof buffer), &got, nullptr) && got > 0) {
        writeFile(record + L"\\input.bin", buffer, got, true);
        total += got;
    }
}

}  // namespace

// Whether `path` holds what the "ok" mode writes as its video.
bool isOwnVideo(const wchar_t* path)
{
    char head[14] = {};
    FILE* file = _wfopen(path, L"rb");
    if (file == nullptr)
        return false;
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    return got == sizeof head && std::string(head, sizeof head) == "stand-in video";
}

int main()
{
    const std::wstring record = variable(L"QH_STANDIN_RECORD");
    const std::wstring mode = variable(L"QH_STANDIN_MODE");
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count >= 4 && std::wstring(arguments[count - 1]) == L"-" && std::wstring(arguments[count - 2]) == L"null") {
        for (int i = 1; i + 1 < count; ++i)
            if (std::wstring(arguments[i]) == L"-i")
                return isOwnVideo(arguments[i + 1]) ? 0 : 1;
        return 1;
    }
    std::string lines;
    for (int i = 0; i < count; ++i)
        lines += utf8(arguments[i]) + "\n";
    if (!record.empty()) {
        writeFile(record + L"\\arguments.txt", lines.data(), lines.size(), false);
        writeFile(record + L"\\input.bin", "", 0, false);
        writeFile(record + L"\\started", "", 0, false);
    }
    const std::size_t frame = 640 * 480 * 4;
    if (mode == L"hang") {
        for (;;)
            Sleep(1000);
    }
    if (mode == L"fail") {
        readInput(record, frame);
        std::fputs("stand-in: told to fail\n", stderr);
        return 1;
    }
    if (mode == L"vanish") {
        readInput(record, frame);
        TerminateProcess(GetCurrentProcess(), 0xC0000005u);
    }
    readInput(record, static_cast<std::size_t>(-1));
    const char video[] = "stand-in video\n";
    if (count > 1)
        writeFile(arguments[count - 1], video, sizeof video - 1, false);
    return 0;
}
