// One process of the server soak test: a clock station or the manager's
// program, on a server database, until its work is done.
//
//     server_soak_process URI station FIRST COUNT DAYS both
//     server_soak_process URI station FIRST COUNT DAYS in PROGRESS
//     server_soak_process URI station FIRST COUNT DAYS out PROGRESS
//     server_soak_process URI admin STOPFILE
//
// A station acts for the employees numbered FIRST ... FIRST+COUNT-1 on DAYS
// days from 1 March 2004: a clock-in at 7:00 (plus one minute per employee)
// and a clock-out at 15:00 (likewise). "both" makes both; "in" makes the
// clock-ins and writes how many it has made to PROGRESS after each; "out"
// makes each clock-out as soon as PROGRESS shows its clock-in made, so the
// two run side by side on the same employees' records. Each clock-in and
// clock-out is what the station window does: the employee found in the list
// loaded at start-up, the record saved through the program's time record
// factory and the forgotten clock-outs looked up (clock-in), or today's and
// then yesterday's open record closed through the time card (clock-out),
// each as one unit of work.
//
// The manager's program, until STOPFILE appears: saves one clock employee's
// phone number through the employee update, and adds and then edits a time
// record of its own account (EmployeeID 39), as the time record editor does.
//
// Prints "actions=<n> failures=<n> retries=<n> named-forgotten=<n>
// seconds=<s>" at the end (retries: units of work the server broke off and
// that ran again; named-forgotten: clock-ins whose confirmation named an
// open record of an earlier day) and exits 0 when nothing failed.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/CTimeCard.h"
#include "core/CTimeRecord.h"
#include "core/CTimeRecordFactory.h"
#include "core/CTimeRecordList.h"
#include "core/DateTime.h"
#include "core/ObjectState.h"
#include "core/OpenRecords.h"
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
    long retries = 0;
    long namedForgotten = 0;
};

// Runs `work` as one unit and counts the runs beyond the first.
bool Unit(CJetDB& db, Figures& figures, const std::function<bool()>& work) {
    int runs = 0;
    const bool done = db.RunAsOneTransaction([&] {
        ++runs;
        return work();
    });
    figures.retries += runs > 1 ? runs - 1 : 0;
    return done;
}

DateTime FirstDay() {
    return DateTime::FromParts(2004, 3, 1);
}

class Station {
public:
    explicit Station(const std::string& uri)
        : m_db(std::make_shared<CJetDB>(CJetDB::Variant::Clock)) {
        m_db->SetDatabaseName(uri);
        Program::StartTimeRecordFactory(m_factory, m_db);
        // Connected and the employee list loaded once, as the station starts.
        if (!m_db->OpenDB(uri) || !CEmployeeList::Reload(m_employees, m_db) || !m_db->CloseDB()) {
            std::fprintf(stderr, "the employee list did not load: %d (%s)\n", m_db->ErrorNumber(),
                         m_db->EngineMessage().c_str());
            std::exit(1);
        }
    }

    std::shared_ptr<CEmployee> Find(int32_t number) const {
        for (int32_t i = 1; i <= m_employees->Count(); ++i) {
            const auto candidate = m_employees->Item(i);
            if (candidate && candidate->EmployeeNumber() == number && candidate->EmployeeActive()) {
                return candidate;
            }
        }
        std::fprintf(stderr, "employee %d not found\n", number);
        std::exit(1);
    }

    void ClockIn(int32_t number, DateTime minute) {
        const auto employee = Find(number);
        auto record = std::make_shared<CTimeRecord>();
        record->SetObjectState(StateNew);
        record->SetEmployeeID(employee->EmployeeID());
        record->SetStartTime(minute);
        record->SetEndTime(DateTime());
        std::vector<OpenRecord> earlier;
        const bool stored = Unit(*m_db, m_figures, [&] {
            if (!m_factory->Save(record)) {
                return false;
            }
            earlier = FindOpenRecords(m_db, employee->EmployeeID(), ForgottenClockOutCutoff(minute))
                          .value_or(std::vector<OpenRecord>());
            return true;
        });
        Count(stored, "clock-in", number, minute);
        // A clock-in names open records of earlier days in its confirmation;
        // with the clock-outs made by another station that may run a record
        // or two behind, that is no failure.
        m_figures.namedForgotten += stored && !earlier.empty() ? 1 : 0;
    }

    void ClockOut(int32_t number, DateTime minute) {
        const auto employee = Find(number);
        auto card = std::make_shared<CTimeCard>();
        card->SetOrvanDatabase(m_db);
        const bool closed = Unit(*m_db, m_figures, [&] {
            return card->CloseTimeRecord(employee, minute.DatePart(), minute) ||
                   (!m_db->GaveUpBusy() &&
                    card->CloseTimeRecord(employee, minute.DatePart().AddDays(-1), minute));
        });
        Count(closed, "clock-out", number, minute);
    }

    const Figures& Result() const { return m_figures; }

private:
    void Count(bool ok, const char* what, int32_t number, DateTime minute) {
        ++m_figures.actions;
        if (!ok) {
            ++m_figures.failures;
            std::fprintf(stderr, "%s of %d at %s failed: error %d (%s)\n", what, number,
                         minute.Format("yyyy-mm-dd hh:nn").c_str(), m_db->ErrorNumber(),
                         m_db->EngineMessage().c_str());
        }
    }

    std::shared_ptr<CJetDB> m_db;
    std::shared_ptr<CTimeRecordFactory> m_factory;
    std::shared_ptr<CEmployeeList> m_employees;
    Figures m_figures;
};

DateTime InAt(int day, int index) {
    return FirstDay().AddDays(day).AddMinutes(7 * 60 + index);
}

DateTime OutAt(int day, int index) {
    return FirstDay().AddDays(day).AddMinutes(15 * 60 + index);
}

long ReadProgress(const fs::path& file) {
    std::ifstream in(file);
    long value = 0;
    in >> value;
    return value;
}

void WriteProgress(const fs::path& file, long value) {
    const fs::path next = file.string() + ".next";
    {
        std::ofstream out(next);
        out << value << "\n";
    }
    fs::rename(next, file);
}

Figures RunStation(const std::string& uri, int first, int count, int days, const std::string& mode,
                   const fs::path& progress) {
    Station station(uri);
    long made = 0;
    for (int day = 0; day < days; ++day) {
        if (mode == "both") {
            for (int e = 0; e < count; ++e) {
                station.ClockIn(first + e, InAt(day, e));
            }
            for (int e = 0; e < count; ++e) {
                station.ClockOut(first + e, OutAt(day, e));
            }
            continue;
        }
        for (int e = 0; e < count; ++e) {
            if (mode == "in") {
                station.ClockIn(first + e, InAt(day, e));
                WriteProgress(progress, ++made);
            } else {
                // Right behind the other station's clock-in of this record.
                ++made;
                while (ReadProgress(progress) < made) {
                    std::this_thread::sleep_for(std::chrono::microseconds(200));
                }
                station.ClockOut(first + e, OutAt(day, e));
            }
        }
    }
    return station.Result();
}

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
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s URI station|admin ...\n", argv[0]);
        return 2;
    }
    orvan::server::RegisterEngine();
    const std::string uri = argv[1];
    const std::string role = argv[2];
    const auto started = std::chrono::steady_clock::now();
    Figures figures;
    if (role == "station" && argc >= 7) {
        figures = RunStation(uri, std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                             argv[6], argc >= 8 ? fs::path(argv[7]) : fs::path());
    } else if (role == "admin") {
        figures = RunAdministrator(uri, argv[3]);
    } else {
        std::fprintf(stderr, "unknown role %s\n", role.c_str());
        return 2;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("actions=%ld failures=%ld retries=%ld named-forgotten=%ld seconds=%.1f\n",
                figures.actions, figures.failures, figures.retries, figures.namedForgotten,
                seconds);
    return figures.failures == 0 ? 0 : 1;
}
