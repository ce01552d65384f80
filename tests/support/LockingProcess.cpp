#include "support/LockingProcess.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include "storage/SqliteHandle.h"

namespace orvan::test {

namespace {

constexpr int kLongestHoldMs = 60000;

} // namespace

LockingProcess::LockingProcess(const std::string& path, int holdMs) {
    int ready[2];
    int release[2];
    if (pipe(ready) != 0) {
        ADD_FAILURE() << "pipe";
        return;
    }
    if (pipe(release) != 0) {
        ADD_FAILURE() << "pipe";
        close(ready[0]);
        close(ready[1]);
        return;
    }
    m_pid = fork();
    if (m_pid == 0) {
        close(ready[0]);
        close(release[1]);
        int rc = SQLITE_OK;
        sqlite::Connection connection = sqlite::Open(path, SQLITE_OPEN_READWRITE, rc);
        sqlite3* db = connection.get();
        sqlite3_exec(db, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;", nullptr, nullptr,
                     nullptr);
        // The administrator program writes while it holds the file.
        sqlite3_exec(db, "UPDATE _System SET version = version;", nullptr, nullptr, nullptr);
        const char byte = 1;
        (void)!write(ready[1], &byte, 1);
        // Held until the time is up or the parent closes its end of the pipe.
        pollfd released{release[0], POLLIN, 0};
        poll(&released, 1, holdMs < 0 ? kLongestHoldMs : holdMs);
        sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
        connection.reset(); // _exit runs no destructor
        _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    m_release = release[1];
    char byte = 0;
    (void)!read(ready[0], &byte, 1);
    close(ready[0]);
}

LockingProcess::~LockingProcess() {
    Release();
}

void LockingProcess::Release() {
    if (m_release >= 0) {
        close(m_release);
        m_release = -1;
    }
    if (m_pid > 0) {
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
    }
}

} // namespace orvan::test
