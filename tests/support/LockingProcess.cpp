#include "support/LockingProcess.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "storage/SqliteHandle.h"

namespace orvan::test {

LockingProcess::LockingProcess(const std::string& path, int holdMs) {
    int ready[2];
    if (pipe(ready) != 0) {
        ADD_FAILURE() << "pipe";
        return;
    }
    m_pid = fork();
    if (m_pid == 0) {
        close(ready[0]);
        int rc = SQLITE_OK;
        sqlite::Connection connection = sqlite::Open(path, SQLITE_OPEN_READWRITE, rc);
        sqlite3* db = connection.get();
        sqlite3_exec(db, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;", nullptr, nullptr,
                     nullptr);
        // The administrator program writes while it holds the file.
        sqlite3_exec(db, "UPDATE _System SET version = version;", nullptr, nullptr, nullptr);
        const char byte = 1;
        (void)!write(ready[1], &byte, 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
        sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
        connection.reset(); // _exit runs no destructor
        _exit(0);
    }
    close(ready[1]);
    char byte = 0;
    (void)!read(ready[0], &byte, 1);
    close(ready[0]);
}

LockingProcess::~LockingProcess() {
    if (m_pid > 0) {
        int status = 0;
        waitpid(m_pid, &status, 0);
    }
}

} // namespace orvan::test
