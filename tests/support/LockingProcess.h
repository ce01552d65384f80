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
// milliseconds. The constructor returns once the child has the lock; the
// destructor waits for the child to end.
class LockingProcess {
public:
    LockingProcess(const std::string& path, int holdMs);
    ~LockingProcess();
    LockingProcess(const LockingProcess&) = delete;
    LockingProcess& operator=(const LockingProcess&) = delete;

private:
    pid_t m_pid = -1;
};

} // namespace orvan::test
