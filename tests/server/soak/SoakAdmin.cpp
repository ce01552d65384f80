// The manager's program of the server soak test, on the server database
// until STOPFILE appears: saves one clock employee's phone number through
// the employee update, and adds and then edits a time record of its own
// account (EmployeeID 39), as the time record editor does.
//
//     server_soak_admin URI STOPFILE
//
// Prints "actions=<n> failures=<n> seconds=<s>" at the end (each failure
// also to standard error) and exits 0 when nothing failed.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "core/CTimeRecord.h"
#include "core/CTimeRecordFactory.h"
#include "core/CTimeRecordList.h"
#include "core/DateTime.h"
#include "core/ObjectState.h"
#include "core/Program.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "server/PgEngine.h"
#include "storage/CJetDB.h"

namespace {

using namespace orvan;
namespace fs = std::filesystem;

struct Figures {
    long actions = 0;
    long failures = 0;
};

Figures RunAdministrator(const std::string& uri, const fs::path& stop) {
    Figures figures;
    auto db = std::make_shared<CJetDB>(CJetDB::Variant::Administrator);
    db->SetDatabaseName(uri);
    std::shared_ptr<CTimeRecordFactory> factory;
    Program::StartTimeRecordFactory(factory, db);
    const auto fail = [&](const char* what) {
        ++figures.failures;
        std::fprintf(stderr, "%s failed: error %d (%s)\n", what, db->ErrorNumber(),
                     db->EngineMessage().c_str());
    };
    int round = 0;
    while (!fs::exists(stop)) {
        // An employee's phone number, saved as the employee page does.
        auto employees = std::make_shared<CEmployeeList>();
        if (!db->LoadEmployeeList(employees) || employees->Count() == 0) {
            fail("employee list");
        } else {
            const auto employee = employees->Item(1 + round % employees->Count());
            employee->SetPhone("(608) 555-" + std::to_string(1000 + round % 9000));
            ++figures.actions;
            if (!db->UpdateEmployee(employee)) {
                fail("employee update");
            }
        }
        // A record of its own account added, then its clock-out moved, as
        // the time record editor adds and edits records.
        const DateTime start = DateTime::FromParts(2001, 1, 1, 8, 0).AddDays(round);
        auto record = std::make_shared<CTimeRecord>();
        record->SetObjectState(StateNew);
        record->SetEmployeeID(39);
        record->SetStartTime(start);
        record->SetEndTime(start.AddMinutes(60));
        ++figures.actions;
        if (!factory->Save(record)) {
            fail("time record add");
        }
        ++figures.actions;
        std::shared_ptr<CTimeRecord> saved;
        if (factory->BuildList(39, start.DatePart(), start.DatePart().AddDays(1))) {
            for (int32_t i = 1; i <= factory->TimeRecordList()->Count(); ++i) {
                const auto item = factory->TimeRecordList()->Item(i);
                if (item && item->StartTime() == start) {
                    saved = item;
                }
            }
        }
        if (!saved) {
            fail("time record load");
        } else {
            saved->SetEndTime(start.AddMinutes(90));
            if (!factory->Save(saved)) {
                fail("time record edit");
            }
        }
        ++round;
    }
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s URI STOPFILE\n", argv[0]);
        return 2;
    }
    orvan::server::RegisterEngine();
    const auto started = std::chrono::steady_clock::now();
    const Figures figures = RunAdministrator(argv[1], argv[2]);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("actions=%ld failures=%ld seconds=%.1f\n", figures.actions, figures.failures,
                seconds);
    return figures.failures == 0 ? 0 : 1;
}
