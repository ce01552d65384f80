#include "storage/PrivateFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace orvan {

namespace {

constexpr mode_t WorldAccess = S_IRWXO;

} // namespace

bool MakePrivateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), PrivateFolderMode) != 0) {
        const int error = errno;
        struct stat status {};
        if (error == EEXIST && ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
            return true;
        }
        errno = error;
        return false;
    }
    // The umask may have taken the group's access away.
    return ::chmod(path.c_str(), PrivateFolderMode) == 0;
}

int OpenPrivateFile(const std::string& path, int flags) {
    // O_EXCL first tells a file made here from one that was there.
    int fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL | O_CLOEXEC, PrivateFileMode);
    if (fd >= 0) {
        if (::fchmod(fd, PrivateFileMode) != 0) {
            const int error = errno;
            ::close(fd);
            ::unlink(path.c_str());
            errno = error;
            return -1;
        }
        return fd;
    }
    if (errno != EEXIST) {
        return -1;
    }
    fd = ::open(path.c_str(), (flags & ~(O_CREAT | O_EXCL)) | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
        (status.st_mode & WorldAccess) != 0) {
        // Not being allowed to change another user's file is no reason to
        // refuse the write.
        ::fchmod(fd, status.st_mode & 07777 & ~WorldAccess);
    }
    return fd;
}

bool CreatePrivateFile(const std::string& path) {
    const int fd = OpenPrivateFile(path, O_WRONLY | O_EXCL);
    if (fd < 0) {
        return false;
    }
    return ::close(fd) == 0;
}

bool OpenToOthers(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && !S_ISLNK(status.st_mode) &&
           (status.st_mode & WorldAccess) != 0;
}

bool TakeWorldAccess(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || S_ISLNK(status.st_mode) ||
        (status.st_mode & WorldAccess) == 0) {
        return false;
    }
    return ::chmod(path.c_str(), status.st_mode & 07777 & ~WorldAccess) == 0;
}

bool MakeInstallationPrivate(const std::string& folder) {
    namespace fs = std::filesystem;
    bool changed = false;
    for (const char* name : {"system", "reports", "backups"}) {
        fs::path dir = fs::path(folder) / name;
        std::error_code error;
        // The Debian package links these folders to the shared installation
        // in /var/opt/orvan: the folder linked to is made private (links
        // inside it are still not followed).
        if (fs::is_symlink(fs::symlink_status(dir, error))) {
            dir = fs::canonical(dir, error);
        }
        if (error || !fs::is_directory(fs::symlink_status(dir, error))) {
            continue;
        }
        changed = TakeWorldAccess(dir.string()) || changed;
        // Symbolic links are left alone and not followed.
        for (fs::recursive_directory_iterator it(dir, error), end; !error && it != end;
             it.increment(error)) {
            changed = TakeWorldAccess(it->path().string()) || changed;
        }
    }
    return changed;
}

} // namespace orvan
