// Programs are looked for in this program's own folder first (where a user
// of the zip puts ffmpeg.exe), then in the folders of PATH, as .exe files.
#include <windows.h>

#include <vector>

#include "platform/ChildProcess.h"
#include "platform/SystemServices.h"
#include "platform/win32/WideText.h"

namespace {

std::wstring ownFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return L"";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

std::vector<std::wstring> searchFolders()
{
    std::vector<std::wstring> folders{ownFolder()};
    const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    std::wstring path(size, L'\0');
    path.resize(GetEnvironmentVariableW(L"PATH", path.data(), size));
    for (std::size_t start = 0; start <= path.size();) {
        std::size_t end = path.find(L';', start);
        if (end == std::wstring::npos)
            end = path.size();
        std::wstring folder = path.substr(start, end - start);
        // PATH entries may be quoted when they hold a semicolon-free space.
        if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"')
            folder = folder.substr(1, folder.size() - 2);
        if (!folder.empty())
            folders.push_back(folder);
        start = end + 1;
    }
    return folders;
}

std::wstring executableName(const std::string& name)
{
    std::wstring wide = wideFromUtf8(name);
    const std::size_t dot = wide.find_last_of(L'.');
    if (dot == std::wstring::npos || wide.find_first_of(L"\\/", dot) != std::wstring::npos)
        wide += L".exe";
    return wide;
}

}  // namespace

std::string findProgram(const std::string& name)
{
    const std::wstring file = executableName(name);
    for (const std::wstring& folder : searchFolders()) {
        const std::wstring candidate = folder + L"\\" + file;
        const DWORD attributes = GetFileAttributesW(candidate.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return utf8FromWide(candidate);
    }
    return "";
}

std::string ffmpegLocationNote()
{
    return "                      (ffmpeg.exe next to quittenhain.exe or in a folder of PATH)\n";
}

std::string missingFfmpegAdvice()
{
    return "looked for ffmpeg.exe in " + utf8FromWide(ownFolder()) +
           " (the folder of quittenhain.exe) and in the folders of PATH; get a Windows build of FFmpeg "
           "(its download page lists some) and put ffmpeg.exe next to quittenhain.exe";
}
