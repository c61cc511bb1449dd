#include "report/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <string_view>

namespace tallex {

FileError FileErrorFromErrno(int error) {
    switch (error) {
    case ENOENT: return {53, "File not found"};
    case ENOTDIR: return {76, "Path not found"};
    case EACCES:
    case EPERM:
    case EROFS: return {70, "Permission denied"};
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return {61, "Disk full"};
    case EIO: return {57, "Device I/O error"};
    default: return {75, "Path/File access error"};
    }
}

namespace {

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

std::optional<FileError> WriteFileAtomically(const std::string& path, const std::string& contents) {
    if (path.empty() || path.back() == '/') return FileError{75, "Path/File access error"};
    const std::string folder = FolderOf(path);
    struct stat folderInfo {};
    if (::stat(folder.c_str(), &folderInfo) != 0) return FileError{76, "Path not found"};
    if (!S_ISDIR(folderInfo.st_mode)) return FileError{76, "Path not found"};

    // mkstemp creates the file exclusively with owner-only access: nobody can plant a link
    // under its name or read it half-written.
    std::string temp = folder + "/." + NameOf(path) + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return FileErrorFromErrno(errno);

    auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temp.c_str());
        return FileErrorFromErrno(error);
    };
    if (!WriteAll(fd, contents)) return fail(errno);
    // The new file gets the permissions an ordinary new file would get (or the old file's).
    struct stat targetInfo {};
    mode_t mode;
    if (::stat(path.c_str(), &targetInfo) == 0) {
        mode = targetInfo.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) return fail(errno);
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return FileErrorFromErrno(error);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return FileErrorFromErrno(error);
    }
    return std::nullopt;
}

}  // namespace tallex
