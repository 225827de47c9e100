#include <windows.h>

#include <cerrno>

#include "platform/FileClaim.h"
#include "platform/win32/WideText.h"

// The claim is an exclusive lock on one byte far beyond any data the file
// will hold: the system drops it with the handle of a killed owner, and the
// file itself stays open to others, so that FFmpeg can write the claimed
// FILE.part and the capture can rename it once the video is whole.
namespace {

constexpr DWORD kClaimOffsetHigh = 0x40000000u;   // 2^62 bytes in

bool lockClaimByte(HANDLE file)
{
    OVERLAPPED at{};
    at.OffsetHigh = kClaimOffsetHigh;
    return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0;
}

}  // namespace

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
    const HANDLE file = CreateFileW(wideFromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    mustExist ? OPEN_EXISTING : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD why = GetLastError();
    if (file == INVALID_HANDLE_VALUE) {
        errno = why == ERROR_FILE_NOT_FOUND || why == ERROR_PATH_NOT_FOUND ? ENOENT : EACCES;
        return Result::Failed;
    }
    if (!lockClaimByte(file)) {
        const DWORD lockWhy = GetLastError();
        CloseHandle(file);
        if (lockWhy == ERROR_LOCK_VIOLATION || lockWhy == ERROR_IO_PENDING)
            return Result::Busy;
        errno = EACCES;
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
        DeleteFileW(wideFromUtf8(path_).c_str());
}
