#pragma once

#include <sys/stat.h>
#include <sys/types.h>

namespace orvan::test {

// Sets the process's umask for the life of the object.
class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : m_old(::umask(mask)) {}
    ~ScopedUmask() { ::umask(m_old); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    mode_t m_old;
};

// The permission bits of `path` (not following a symbolic link), or -1 when
// it cannot be looked at.
inline int ModeOf(const char* path) {
    struct stat status {};
    return ::lstat(path, &status) == 0 ? static_cast<int>(status.st_mode & 07777) : -1;
}

} // namespace orvan::test
