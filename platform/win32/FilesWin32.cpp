// Files through the wide-character calls, so that any UTF-8 path works
// whatever code page the process runs with.
#include "platform/Files.h"

#include <windows.h>

#include "platform/win32/WideText.h"

NewFile createNewFile(const std::string& path, std::string& error)
{
    HANDLE file = CreateFileW(wideFromUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return NewFile::Created;
    }
    const DWORD code = GetLastError();
    error = systemMessage(code);
    return code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS ? NewFile::Exists : NewFile::Failed;
}

bool writeNewFile(const std::string& path, const void* bytes, std::size_t count, std::string& error)
{
    const std::wstring name = wideFromUtf8(path);
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 8 && file == INVALID_HANDLE_VALUE; ++attempt) {
        if (!DeleteFileW(name.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
            break;
        file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (file == INVALID_HANDLE_VALUE) {
        error = systemMessage(GetLastError());
        return false;
    }
    const auto* next = static_cast<const unsigned char*>(bytes);
    bool written = true;
    while (count > 0 && written) {
        const DWORD chunk = count < (1u << 30) ? static_cast<DWORD>(count) : (1u << 30);
        DWORD done = 0;
        written = WriteFile(file, next, chunk, &done, nullptr) && done > 0;
        next += done;
        count -= done;
    }
    if (!written)
        error = systemMessage(GetLastError());
    if (!CloseHandle(file) && written) {
        written = false;
        error = systemMessage(GetLastError());
    }
    if (!written)
        DeleteFileW(name.c_str());
    return written;
}

bool replaceFile(const std::string& from, const std::string& to, std::string& error)
{
    if (MoveFileExW(wideFromUtf8(from).c_str(), wideFromUtf8(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    error = systemMessage(GetLastError());
    return false;
}

bool makeTemporaryFolder(const std::string& prefix, std::string& path, std::string& error)
{
    wchar_t tmp[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, tmp);
    if (length == 0 || length > MAX_PATH) {
        error = "no folder for temporary files";
        return false;
    }
    const std::string base = utf8FromWide(std::wstring(tmp, length));
    // A name taken by another run (or by anything else) is skipped.
    const unsigned seed = GetCurrentProcessId() * 7919u + GetTickCount();
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = base + prefix + std::to_string(seed + attempt);
        if (CreateDirectoryW(wideFromUtf8(candidate).c_str(), nullptr)) {
            path = candidate;
            return true;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            error = systemMessage(GetLastError());
            return false;
        }
    }
    error = "every name tried was taken";
    return false;
}

bool removeFile(const std::string& path)
{
    return DeleteFileW(wideFromUtf8(path).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool removeFolder(const std::string& path)
{
    return RemoveDirectoryW(wideFromUtf8(path).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}
