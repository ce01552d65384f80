#include "storage/FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <utility>
#include <vector>

#include "storage/PrivateFiles.h"

namespace orvan {

namespace {

std::function<void()>& BeforeReplaceHook() {
    static std::function<void()> hook;
    return hook;
}

// Closes the descriptor when the scope ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) {
            const int error = errno;
            ::close(m_fd);
            errno = error;
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return m_fd; }
    // Closes now; False (errno set) when closing reported an error.
    bool Close() {
        const int fd = std::exchange(m_fd, -1);
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Makes a temporary file from the mkostemp pattern `temporary` (which
// receives its name), writes `bytes` to it whole and syncs it. On failure
// nothing is left behind.
bool WriteTemporary(std::string& temporary, mode_t mode, const std::string& bytes) {
    std::vector<char> name(temporary.begin(), temporary.end());
    name.push_back('\0');
    Descriptor file(::mkostemp(name.data(), O_CLOEXEC));
    if (file.Get() < 0) {
        return false;
    }
    temporary = name.data();
    if (::fchmod(file.Get(), mode) == 0 && WriteAll(file.Get(), bytes) &&
        ::fsync(file.Get()) == 0 && file.Close()) {
        return true;
    }
    const int error = errno;
    ::unlink(temporary.c_str());
    errno = error;
    return false;
}

// Truncates the existing file `path` and writes `bytes` into it, synced.
bool RewriteInPlace(const std::string& path, const std::string& bytes) {
    Descriptor file(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    return file.Get() >= 0 && WriteAll(file.Get(), bytes) && ::fsync(file.Get()) == 0 &&
           file.Close();
}

void SyncFolder(const std::string& folder) {
    const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) {
        // The new file is in place already; a folder that cannot be synced
        // leaves it there all the same.
        ::fsync(dir.Get());
    }
}

} // namespace

bool ReplaceFileContent(const std::string& path, const std::string& bytes) {
    namespace fs = std::filesystem;
    try {
        fs::path target(path);
        std::error_code error;
        if (fs::is_symlink(fs::symlink_status(target, error))) {
            // The file the link names is replaced, not the link.
            const fs::path resolved = fs::weakly_canonical(target, error);
            if (!error) {
                target = resolved;
            }
        }
        if (!target.has_filename()) {
            errno = EISDIR;
            return false;
        }
        // A file its user may not write stays as it is, as when it was
        // rewritten in place: the rename alone would not ask.
        if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0) {
            return false;
        }
        struct stat old {};
        const mode_t mode = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)
                                ? (old.st_mode & 07777 & ~mode_t{S_IRWXO})
                                : PrivateFileMode;
        const fs::path folder = target.parent_path();
        std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
        if (!WriteTemporary(temporary, mode, bytes)) {
            // A folder its user may not write into, holding a file the user
            // may write: the file is rewritten in place, as it always was.
            return (errno == EACCES || errno == EPERM) && S_ISREG(old.st_mode) &&
                   RewriteInPlace(target.string(), bytes);
        }
        if (BeforeReplaceHook()) {
            BeforeReplaceHook()();
        }
        if (::rename(temporary.c_str(), target.c_str()) != 0) {
            const int failure = errno;
            ::unlink(temporary.c_str());
            errno = failure;
            return false;
        }
        SyncFolder(folder.empty() ? std::string(".") : folder.string());
        return true;
    } catch (...) {
        errno = ENOMEM;
        return false;
    }
}

void SetBeforeReplaceHook(std::function<void()> hook) {
    BeforeReplaceHook() = std::move(hook);
}

} // namespace orvan
