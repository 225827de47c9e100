#include "platform/FileClaim.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// The claim is an exclusive flock() on the open file: the kernel lets it go
// with the last descriptor, so a killed owner leaves the file unheld.
struct FileClaim::Handle {
    int fd = -1;
};

namespace {

// Whether `fd` is still the file found at `path`: a claim made on a file
// that its owner removed in between holds nothing.
bool stillNamed(int fd, const std::string& path)
{
    struct stat open {};
    struct stat named {};
    return fstat(fd, &open) == 0 && stat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

}  // namespace

FileClaim::FileClaim() : handle_(std::make_unique<Handle>()) {}

FileClaim::~FileClaim()
{
    release(false);
}

bool FileClaim::held() const
{
    return handle_->fd >= 0;
}

FileClaim::Result FileClaim::claim(const std::string& path, bool mustExist)
{
    release(false);
    for (int attempt = 0; attempt < 8; ++attempt) {
        bool made = false;
        int fd = mustExist ? -1 : ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0)
            made = true;
        else if (mustExist || errno == EEXIST)
            fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            if (errno == ENOENT && !mustExist)
                continue;   // removed between the two opens: try again
            return Result::Failed;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int why = errno;
            close(fd);
            errno = why;
            return why == EWOULDBLOCK ? Result::Busy : Result::Failed;
        }
        if (!stillNamed(fd, path)) {
            close(fd);
            if (mustExist) {
                errno = ENOENT;
                return Result::Failed;
            }
            continue;
        }
        handle_->fd = fd;
        path_ = path;
        return made ? Result::Claimed : Result::TakenOver;
    }
    errno = EAGAIN;
    return Result::Failed;
}

void FileClaim::release(bool removeFile)
{
    if (handle_->fd < 0)
        return;
    // Removed while still held, so no one claims the name in between.
    if (removeFile)
        unlink(path_.c_str());
    close(handle_->fd);
    handle_->fd = -1;
}
