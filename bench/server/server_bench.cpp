// The database server against the embedded file, on the same installation:
// 200 employees with 500 weekdays of two shifts each (200,000 time
// records), built once under $TMPDIR/orvan-server-bench and copied to a new
// database of the server for each run (dropped at the end).
//
//   ORVAN_BENCH_SERVER_URI=postgresql://user@host:port/postgres server_bench
//
// The server is ORVAN_BENCH_SERVER_URI, else ORVAN_TEST_SERVER_URI (a base
// URI on which the benchmark may create a database); without one only the
// file cases run.
//
//   ClockIn/<engine>        one clock-in as the station makes it: the record
//                           saved and the forgotten clock-outs looked up, as
//                           one unit of work
//   TimeCard14Days/<engine> a 14-day time card of one employee, generated
//   Stations/<engine>       clock-ins of 1 or 4 stations at once (threads,
//                           each with its own database object and so its own
//                           connection); items_per_second is the clock-ins
//                           per second they reach together

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "bench/support/BenchDatabase.h"
#include "core/CTimeCard.h"
#include "core/CTimeRecord.h"
#include "core/CTimeRecordFactory.h"
#include "core/CTimeRecordList.h"
#include "core/ObjectState.h"
#include "core/OpenRecords.h"
#include "core/Program.h"
#include "personnel/CEmployee.h"
#include "server/DatabaseCopy.h"
#include "server/PgConnection.h"
#include "server/PgEngine.h"
#include "storage/CJetDB.h"
#include "storage/SqliteHandle.h"

namespace {

using orvan::DateTime;

constexpr orvan::bench::Installation kInstallation{
    "orvan-server-bench", false, 200, 1000, 500, false};

// Clock-ins go to employee ids no card reads, and are removed again. Each
// clock-in has an id of its own, so the look-up of forgotten clock-outs
// finds none, as at a station where everybody clocks out.
constexpr int32_t kClockInEmployee = 999000;
// Ids per station of the Stations cases.
constexpr int32_t kStationIds = 10000000;

std::string g_serverBase;
std::string g_serverDatabase;
std::string g_serverUri;

std::string FilePath() {
    return orvan::bench::DatabasePath(kInstallation);
}

// The base URI with `database` in place of its own database.
std::string WithDatabase(const std::string& uri, const std::string& database) {
    const size_t authority = uri.find("://") + 3;
    const size_t query = uri.find('?', authority);
    const size_t slash = uri.find('/', authority);
    const std::string options = query == std::string::npos ? "" : uri.substr(query);
    const size_t end = slash != std::string::npos && slash < query ? slash : query;
    return uri.substr(0, end) + "/" + database + options;
}

// A new database on the server holding a copy of the file.
bool MakeServerDatabase() {
    const char* bench = std::getenv("ORVAN_BENCH_SERVER_URI");
    const char* test = std::getenv("ORVAN_TEST_SERVER_URI");
    g_serverBase = bench != nullptr && *bench != '\0' ? bench : (test != nullptr ? test : "");
    if (g_serverBase.empty()) {
        std::cerr << "no server (ORVAN_BENCH_SERVER_URI or ORVAN_TEST_SERVER_URI): only the "
                     "file is measured\n";
        return false;
    }
    g_serverDatabase = "orvan_bench_" + std::to_string(::getpid());
    g_serverUri = WithDatabase(g_serverBase, g_serverDatabase);
    try {
        orvan::pg::PgConnection admin(g_serverBase);
        admin.Execute("CREATE DATABASE " + g_serverDatabase +
                      " TEMPLATE template0 ENCODING "
                      "'UTF8'");
    } catch (const std::exception& e) {
        std::cerr << "cannot create the server database: " << e.what() << "\n";
        std::exit(1);
    }
    orvan::server::CopyReport report;
    std::string message;
    std::cerr << "copying " << FilePath() << " to the server ...\n";
    if (!orvan::server::CopyDatabase(FilePath(), g_serverUri, report, message)) {
        std::cerr << message << "\n";
        std::exit(1);
    }
    return true;
}

void DropServerDatabase() {
    if (g_serverDatabase.empty()) {
        return;
    }
    try {
        orvan::pg::PgConnection admin(g_serverBase);
        admin.Execute("DROP DATABASE IF EXISTS " + g_serverDatabase + " WITH (FORCE)");
    } catch (const std::exception& e) {
        std::cerr << "the server database " << g_serverDatabase << " was not dropped: " << e.what()
                  << "\n";
    }
}

void RemoveFileClockIns() {
    int rc = SQLITE_OK;
    const auto db = orvan::sqlite::Open(FilePath(), SQLITE_OPEN_READWRITE, rc);
    sqlite3_exec(db.get(), "DELETE FROM TimeRecord WHERE EmployeeID >= 999000", nullptr, nullptr,
                 nullptr);
}

std::shared_ptr<orvan::CJetDB> NewDatabase(const std::string& name,
                                           orvan::CJetDB::Variant variant) {
    auto db = std::make_shared<orvan::CJetDB>(variant);
    db->SetDatabaseName(name);
    return db;
}

// The station's clock-in: the record saved and the forgotten clock-outs
// looked up, as one unit.
bool ClockIn(const std::shared_ptr<orvan::CJetDB>& db, orvan::CTimeRecordFactory& factory,
             int32_t employeeID, DateTime minute) {
    auto record = std::make_shared<orvan::CTimeRecord>();
    record->SetObjectState(orvan::StateNew);
    record->SetEmployeeID(employeeID);
    record->SetStartTime(minute);
    record->SetEndTime(DateTime());
    return db->RunAsOneTransaction([&] {
        return factory.Save(record) &&
               orvan::FindOpenRecords(db, employeeID, orvan::ForgottenClockOutCutoff(minute))
                   .has_value();
    });
}

void BM_ClockIn(benchmark::State& state, const std::string* name) {
    const auto db = NewDatabase(*name, orvan::CJetDB::Variant::Clock);
    orvan::CTimeRecordFactory factory;
    factory.SetOrvanDatabase(db);
    DateTime now = DateTime::FromParts(2030, 1, 1, 8, 0);
    int32_t employee = 0;
    for (auto _ : state) {
        if (!ClockIn(db, factory, kClockInEmployee + employee++, now)) {
            state.SkipWithError("clock-in failed");
            break;
        }
        now = now.AddMinutes(1);
    }
}

void BM_TimeCard14Days(benchmark::State& state, const std::string* name) {
    const auto db = NewDatabase(*name, orvan::CJetDB::Variant::Administrator);
    auto factory = std::make_shared<orvan::CTimeRecordFactory>();
    factory->SetOrvanDatabase(db);
    orvan::Program::SetTimeRecordFactory(factory);
    auto employee = std::make_shared<orvan::CEmployee>();
    employee->SetEmployeeID(orvan::bench::EmployeeId(kInstallation, 1007));
    employee->SetPayRate(12.5f);
    employee->SetOvertimePayRate(18.75f);
    const DateTime start = orvan::bench::FirstDay().AddDays(7 * 50);
    int32_t records = 0;
    for (auto _ : state) {
        orvan::CTimeCard card;
        card.SetOrvanDatabase(db);
        if (!card.GenerateTimecard(employee, start, start.AddDays(14))) {
            state.SkipWithError("time card failed");
            break;
        }
        records = card.TimeRecordList()->Count();
        benchmark::DoNotOptimize(card.TotalPay());
    }
    state.counters["records"] = records;
    orvan::Program::SetTimeRecordFactory(nullptr);
}

void BM_Stations(benchmark::State& state, const std::string* name) {
    // Each station (thread) its own database object and connection, and
    // employees of its own, all on the same table.
    const auto db = NewDatabase(*name, orvan::CJetDB::Variant::Clock);
    orvan::CTimeRecordFactory factory;
    factory.SetOrvanDatabase(db);
    int32_t employee = kClockInEmployee + kStationIds * (1 + state.thread_index());
    DateTime now = DateTime::FromParts(2031, 1, 1, 8, 0);
    for (auto _ : state) {
        if (!ClockIn(db, factory, employee++, now)) {
            state.SkipWithError("clock-in failed");
            break;
        }
        now = now.AddMinutes(1);
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    orvan::server::RegisterEngine();
    orvan::bench::BuildInstallation(kInstallation);
    RemoveFileClockIns();
    static const std::string file = FilePath();
    const bool server = MakeServerDatabase();
    static const std::string serverUri = g_serverUri;
    const auto engines =
        server ? std::vector<std::pair<std::string, const std::string*>>{{"File", &file},
                                                                         {"Server", &serverUri}}
               : std::vector<std::pair<std::string, const std::string*>>{{"File", &file}};
    for (const auto& [engine, name] : engines) {
        benchmark::RegisterBenchmark(("ClockIn/" + engine).c_str(), BM_ClockIn, name)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("TimeCard14Days/" + engine).c_str(), BM_TimeCard14Days, name)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Stations/" + engine).c_str(), BM_Stations, name)
            ->Threads(1)
            ->Threads(4)
            ->UseRealTime()
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    RemoveFileClockIns();
    DropServerDatabase();
    return 0;
}
