// Database speed on a large installation: 200 employees, 1,000,000 time
// records (2,500 weekdays of two shifts for each employee).
//
//   database_bench [--benchmark_repetitions=5 ...]
//
// The installation is built once under $TMPDIR/orvan-bench (kept between
// runs; delete it to rebuild). Each benchmark is paired with the floor of
// the same work done with the raw SQLite API on the same file.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>

#include "bench/support/BenchDatabase.h"
#include "core/CTimeCard.h"
#include "core/CTimeRecord.h"
#include "core/CTimeRecordFactory.h"
#include "core/CTimeRecordList.h"
#include "core/Program.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "storage/CJetDB.h"
#include "storage/SqliteHandle.h"

namespace {

using orvan::DateTime;

const orvan::bench::Installation& kInstallation = orvan::bench::kLargeInstallation;
const DateTime kFirstDay = orvan::bench::FirstDay();

std::string DatabasePath() {
    return orvan::bench::DatabasePath(kInstallation);
}

// The employee whose cards are generated (EmployeeID of employee 1007).
int32_t SampleEmployeeId() {
    return orvan::bench::EmployeeId(kInstallation, 1007);
}

// Clock-ins go to employee numbers no report reads, and are removed again.
constexpr int kClockInEmployee = 999999;

void RemoveClockIns() {
    int rc = SQLITE_OK;
    const auto db = orvan::sqlite::Open(DatabasePath(), SQLITE_OPEN_READWRITE, rc);
    sqlite3_exec(db.get(), "DELETE FROM TimeRecord WHERE EmployeeID = 999999", nullptr, nullptr,
                 nullptr);
}

void BM_ClockIn_Orvan(benchmark::State& state) {
    auto db = std::make_shared<orvan::CJetDB>(orvan::CJetDB::Variant::Clock);
    db->SetDatabaseName(DatabasePath());
    orvan::CTimeRecordFactory factory;
    factory.SetOrvanDatabase(db);
    DateTime now = DateTime::FromParts(2030, 1, 1, 8, 0);
    for (auto _ : state) {
        // What the clock window does for one employee number.
        auto record = std::make_shared<orvan::CTimeRecord>();
        record->SetEmployeeID(kClockInEmployee);
        record->SetStartTime(now);
        if (!factory.Save(record)) {
            state.SkipWithError("clock-in failed");
            break;
        }
        now = now.AddMinutes(1);
    }
    RemoveClockIns();
}

void BM_ClockIn_RawFloor(benchmark::State& state) {
    DateTime now = DateTime::FromParts(2030, 1, 1, 8, 0);
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(DatabasePath().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) "
                           "VALUES (?1, ?2, 0)",
                           -1, &s, nullptr);
        sqlite3_bind_int(s, 1, kClockInEmployee);
        sqlite3_bind_double(s, 2, now.Days());
        if (sqlite3_step(s) != SQLITE_DONE) {
            state.SkipWithError("insert failed");
        }
        sqlite3_finalize(s);
        sqlite3_close(db);
        now = now.AddMinutes(1);
    }
    RemoveClockIns();
}

void BM_TimeCard_Orvan(benchmark::State& state) {
    const int days = static_cast<int>(state.range(0));
    auto db = std::make_shared<orvan::CJetDB>();
    db->SetDatabaseName(DatabasePath());
    auto factory = std::make_shared<orvan::CTimeRecordFactory>();
    factory->SetOrvanDatabase(db);
    orvan::Program::SetTimeRecordFactory(factory);
    auto employee = std::make_shared<orvan::CEmployee>();
    employee->SetEmployeeID(SampleEmployeeId());
    employee->SetPayRate(12.5f);
    employee->SetOvertimePayRate(18.75f);
    const DateTime start = kFirstDay.AddDays(7 * 100);
    int32_t records = 0;
    for (auto _ : state) {
        orvan::CTimeCard card;
        card.SetOrvanDatabase(db);
        if (!card.GenerateTimecard(employee, start, start.AddDays(days))) {
            state.SkipWithError("time card failed");
            break;
        }
        records = card.TimeRecordList()->Count();
        benchmark::DoNotOptimize(card.TotalPay());
    }
    state.counters["records"] = records;
    orvan::Program::SetTimeRecordFactory(nullptr);
}

void BM_TimeCard_RawFloor(benchmark::State& state) {
    const int days = static_cast<int>(state.range(0));
    const int32_t id = SampleEmployeeId();
    const DateTime start = kFirstDay.AddDays(7 * 100);
    int records = 0;
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(DatabasePath().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT TimeRecordID, EmployeeID, StartTime, EndTime FROM TimeRecord "
                           "WHERE EmployeeID = ?1 AND StartTime >= ?2 AND StartTime < ?3 "
                           "ORDER BY StartTime, EndTime",
                           -1, &s, nullptr);
        sqlite3_bind_int(s, 1, id);
        sqlite3_bind_double(s, 2, start.Days());
        sqlite3_bind_double(s, 3, start.AddDays(days).Days());
        records = 0;
        double sum = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            sum += sqlite3_column_double(s, 3) - sqlite3_column_double(s, 2);
            ++records;
        }
        benchmark::DoNotOptimize(sum);
        sqlite3_finalize(s);
        sqlite3_close(db);
    }
    state.counters["records"] = records;
}

void BM_LoadEmployees(benchmark::State& state) {
    auto db = std::make_shared<orvan::CJetDB>();
    db->SetDatabaseName(DatabasePath());
    int32_t count = 0;
    for (auto _ : state) {
        auto list = std::make_shared<orvan::CEmployeeList>();
        list->Create();
        if (!list->LoadList(db)) {
            state.SkipWithError("load failed");
            break;
        }
        count = list->Count();
    }
    state.counters["employees"] = count;
}

BENCHMARK(BM_ClockIn_Orvan)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(BM_ClockIn_RawFloor)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(BM_TimeCard_Orvan)->Arg(14)->Arg(365)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TimeCard_RawFloor)->Arg(14)->Arg(365)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadEmployees)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    orvan::bench::BuildInstallation(kInstallation);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
