#include <windows.h>

#include <cerrno>

#include "platform/FileClaim.h"

// The claim is the file opened without sharing: no other process can open
// it while it is held, and the system closes the handle of a killed owner.
struct FileClaim::Handle {
    HANDLE file = INVALID_HANDLE_VALUE;
};

FileClaim::FileClaim() : handle_(std::make_unique<Handle>()) {}

FileClaim::~FileClaim()
{
    release(false);
}

bool FileClaim::held() const
{
    return handle_->file != INVALID_HANDLE_VALUE;
}

FileClaim::Result FileClaim::claim(const std::string& path, bool mustExist)
{
    release(false);
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    mustExist ? OPEN_EXISTING : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD why = GetLastError();
    if (file == INVALID_HANDLE_VALUE) {
        if (why == ERROR_SHARING_VIOLATION)
            return Result::Busy;
        errno = why == ERROR_FILE_NOT_FOUND || why == ERROR_PATH_NOT_FOUND ? ENOENT : EACCES;
        return Result::Failed;
    }
    handle_->file = file;
    path_ = path;
    return why == ERROR_ALREADY_EXISTS || mustExist ? Result::TakenOver : Result::Claimed;
}

void FileClaim::release(bool removeFile)
{
    if (handle_->file == INVALID_HANDLE_VALUE)
        return;
    CloseHandle(handle_->file);
    handle_->file = INVALID_HANDLE_VALUE;
    if (removeFile)
        DeleteFileA(path_.c_str());
}
