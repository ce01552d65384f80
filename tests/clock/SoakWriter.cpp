// A stand-in for the administrator program during the clock soak test: it
// repeatedly opens the database file exclusively, writes and closes it, the
// way the administrator program saves its work, until a stop file appears.
//
//     clock_soak_writer DATABASE STOPFILE PAUSE_MS
//
// Prints "writes=<n> failures=<n>" when it stops.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "core/CTimeRecord.h"
#include "core/DateTime.h"
#include "core/ObjectState.h"
#include "storage/CJetDB.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s DATABASE STOPFILE PAUSE_MS\n", argv[0]);
        return 2;
    }
    const std::string database = argv[1];
    const std::filesystem::path stopFile = argv[2];
    const int pauseMs = std::atoi(argv[3]);

    orvan::CJetDB db;
    db.SetDatabaseName(database);
    long writes = 0;
    long failures = 0;
    int32_t minute = 0;
    while (!std::filesystem::exists(stopFile)) {
        // One save of the options row, as the options tab does.
        if (db.ExecuteAction("UPDATE _System SET _System.period_length = 13, "
                             "_System.auto_shift_start_time = #8:00:00 AM#, "
                             "_System.auto_shift_end_time = #5:00:00 PM#;")) {
            ++writes;
        } else {
            ++failures;
            std::fprintf(stderr, "options write failed: %d\n", db.ErrorNumber());
        }
        // One time record added for the administrator account, as the time
        // record editor does; these rows belong to no clock employee.
        auto record = std::make_shared<orvan::CTimeRecord>();
        record->SetObjectState(orvan::StateNew);
        record->SetEmployeeID(39);
        record->SetStartTime(orvan::DateTime::FromParts(2001, 1, 1, 8, 0).AddMinutes(minute));
        record->SetEndTime(orvan::DateTime::FromParts(2001, 1, 1, 9, 0).AddMinutes(minute));
        ++minute;
        if (db.ExecuteAction(record->ToSQL())) {
            ++writes;
        } else {
            ++failures;
            std::fprintf(stderr, "time record write failed: %d\n", db.ErrorNumber());
        }
        if (pauseMs > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        }
    }
    std::printf("writes=%ld failures=%ld\n", writes, failures);
    return failures == 0 ? 0 : 1;
}
