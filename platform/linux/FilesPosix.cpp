#include "platform/Files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <unistd.h>

NewFile createNewFile(const std::string& path, std::string& error)
{
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (file >= 0) {
        close(file);
        return NewFile::Created;
    }
    error = std::strerror(errno);
    return errno == EEXIST ? NewFile::Exists : NewFile::Failed;
}

bool writeNewFile(const std::string& path, const void* bytes, std::size_t count, std::string& error)
{
    int file = -1;
    // Another process may make the name again between the removal and the
    // creation; O_EXCL (which never follows a link) then fails, and the
    // removal is tried again.
    for (int attempt = 0; attempt < 8 && file < 0; ++attempt) {
        if (unlink(path.c_str()) != 0 && errno != ENOENT)
            break;
        file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (file < 0 && errno != EEXIST)
            break;
    }
    if (file < 0) {
        error = std::strerror(errno);
        return false;
    }
    const auto* next = static_cast<const unsigned char*>(bytes);
    while (count > 0) {
        const ssize_t done = ::write(file, next, count);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            error = std::strerror(done < 0 ? errno : ENOSPC);
            close(file);
            unlink(path.c_str());
            return false;
        }
        next += done;
        count -= static_cast<std::size_t>(done);
    }
    if (close(file) != 0) {
        error = std::strerror(errno);
        unlink(path.c_str());
        return false;
    }
    return true;
}

bool replaceFile(const std::string& from, const std::string& to, std::string& error)
{
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return true;
    error = std::strerror(errno);
    return false;
}

bool makeTemporaryFolder(const std::string& prefix, std::string& path, std::string& error)
{
    std::error_code noTmpDir;
    std::filesystem::path tmp = std::filesystem::temp_directory_path(noTmpDir);
    if (noTmpDir)
        tmp = "/tmp";
    std::string pattern = (tmp / (prefix + "XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    path = pattern;
    return true;
}

bool removeFile(const std::string& path)
{
    return std::remove(path.c_str()) == 0 || errno == ENOENT;
}

bool removeFolder(const std::string& path)
{
    return rmdir(path.c_str()) == 0 || errno == ENOENT;
}
