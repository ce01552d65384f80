#pragma once

#include <string>
#include <sys/types.h>

namespace orvan::test {

// The busy timeout lock tests give a program (BusyTimeout in its
// configuration file, or SetBusyTimeout), and how long the other program
// then holds the file: well past the timeout, so the wait surely gives up.
inline constexpr int TestBusyTimeout = 400;
inline constexpr int HeldPastTestBusyTimeout = TestBusyTimeout + 1000;

// Another program holding the database file: a child process opens it,
// takes the exclusive lock, writes, and keeps the lock for `holdMs`
// milliseconds, or until Release, whichever comes first. A negative `holdMs`
// holds until Release (at most a minute, so a test that fails early cannot
// hang). The constructor returns once the child has the lock; Release and
// the destructor let go of the file and wait for the child to end.
class LockingProcess {
public:
    static constexpr int UntilReleased = -1;

    explicit LockingProcess(const std::string& path, int holdMs = UntilReleased);
    ~LockingProcess();
    LockingProcess(const LockingProcess&) = delete;
    LockingProcess& operator=(const LockingProcess&) = delete;

    // Ends the hold now (the child commits and ends); waits for the child.
    void Release();

private:
    pid_t m_pid = -1;
    // The parent's end of the pipe the child waits on; closing it releases.
    int m_release = -1;
};

} // namespace orvan::test
