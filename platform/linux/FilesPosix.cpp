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
