#include "platform/FileClaim.h"

#include <cerrno>
#include <cstring>
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
    return fstat(fd, &open) == 0 && lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
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
    failure_.clear();
    bool replaced = false;   // a stale file or a link at the name was removed to make the file anew
    for (int attempt = 0; attempt < 8; ++attempt) {
        bool made = false;
        int fd = -1;
        if (!mustExist) {
            // O_EXCL never follows a link: a link at the name counts as there.
            fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
            if (fd >= 0)
                made = true;
            else if (errno != EEXIST)
                return Result::Failed;   // ENOENT here: the folder itself is missing
        }
        bool readOnly = false;
        if (fd < 0) {
            // Non-blocking, so that a FIFO at the name cannot hold the open.
            fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0 && errno == EACCES) {
                // A lock works on a file open for reading too: enough to
                // tell whether a capture still holds it.
                fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
                readOnly = fd >= 0;
            }
        }
        if (fd < 0) {
            const int why = errno;
            if (why == ENOENT && !mustExist)
                continue;   // removed between the two opens: try again
            if (why == ELOOP && !mustExist) {
                // A symbolic link: no capture makes one, and what it points
                // to is not this capture's to write.  The link goes, its
                // target stays untouched.
                if (unlink(path.c_str()) == 0 || errno == ENOENT) {
                    replaced = true;
                    continue;
                }
                failure_ = "it is a symbolic link that cannot be removed (" + std::string(std::strerror(errno)) + ")";
            } else if (why == EACCES) {
                failure_ = "this user may neither read nor write it, so whether a capture still writes it "
                           "cannot be told; its owner can remove it";
            }
            errno = why;
            return Result::Failed;
        }
        struct stat info {};
        if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            close(fd);
            failure_ = "it is not a regular file";
            errno = EEXIST;
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
        if (readOnly && !mustExist) {
            // Unheld, so stale, but not writable by this user: replaced by
            // a new file.  Removed while locked, so that no other capture
            // claims the old one in between.
            const bool removed = unlink(path.c_str()) == 0;
            const int why = errno;
            close(fd);
            if (!removed) {
                failure_ = "it was left by a capture that no longer runs, but this user may not write it and "
                           "the folder does not let it be replaced (" + std::string(std::strerror(why)) +
                           "); its owner can remove it";
                errno = why;
                return Result::Failed;
            }
            replaced = true;
            continue;
        }
        handle_->fd = fd;
        path_ = path;
        return made && !replaced ? Result::Claimed : Result::TakenOver;
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
