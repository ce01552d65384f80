// A clock-in as the employee makes it: the number typed, the pointer on the
// button, the click, until the new row is on disk and confirmed (the PIN
// option off, so the checks and the clock-in share one open). Compared
// with the floor of the same row written by the raw SQLite API (open,
// insert, close) on the same file.
//
//   QT_QPA_PLATFORM=offscreen clock_bench [--benchmark_repetitions=5 ...]

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include <memory>

#include "clock/CController.h"
#include "clock/FController.h"
#include "clock/ClockStation.h"
#include "core/CTimeRecordFactory.h"
#include "core/DateTime.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"

namespace {

using orvan::DateTime;

struct Station {
    orvan::test::TestDatabase db;
    orvan::test::ScopedMessageBox messages;
    orvan::test::ScopedClock clock{DateTime::FromParts(2003, 1, 15, 8, 0)};
    std::shared_ptr<orvan::timeclock::CController> controller;
    orvan::timeclock::FController* window = nullptr;

    Station() {
        db.UseAsProgramFolder();
        db.AddEmployee(1007, "Ann", "Lee");
        controller = std::make_shared<orvan::timeclock::CController>();
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* w = qobject_cast<orvan::timeclock::FController*>(widget)) {
                window = w;
            }
        }
    }
};

void BM_ClockIn_FromClick(benchmark::State& state) {
    Station station;
    if (station.window == nullptr) {
        state.SkipWithError("no clock window");
        return;
    }
    auto* box = station.window->findChild<QLineEdit*>(QStringLiteral("txtEmployeeNumber"));
    auto* inactive = station.window->findChild<QLabel*>(QStringLiteral("picClockInInactive"));
    auto* active = station.window->findChild<QLabel*>(QStringLiteral("picClockInActive"));
    const QPointF centre(10, 10);
    for (auto _ : state) {
        station.clock.AdvanceSeconds(60);
        box->setText(QStringLiteral("1007"));
        QMouseEvent move(QEvent::MouseMove, centre, inactive->mapToGlobal(centre), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(inactive, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, centre, active->mapToGlobal(centre),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(active, &release);
        // The pointer leaves, so the next move lights the button again.
        QMouseEvent away(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(station.window, &away);
        // The shift ends outside the measurement, so the next click is a
        // clock-in again and not refused as a second one.
        state.PauseTiming();
        station.db.Exec("UPDATE TimeRecord SET EndTime = StartTime + 0.0001 WHERE EndTime = 0");
        state.ResumeTiming();
    }
    const auto rows = station.db.QueryInt("SELECT count(*) FROM TimeRecord");
    if (rows != static_cast<int64_t>(state.iterations()) ||
        static_cast<int64_t>(station.messages->shown.size()) != state.iterations() ||
        station.messages->shown.back().title != "Login Complete") {
        state.SkipWithError("clock-ins were not all stored and confirmed");
    }
}

void BM_ClockIn_RawFloor(benchmark::State& state) {
    orvan::test::TestDatabase db;
    const std::string path = db.DatabasePath();
    DateTime now = DateTime::FromParts(2003, 1, 15, 8, 0);
    for (auto _ : state) {
        sqlite3* handle = nullptr;
        sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(handle,
                           "INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) "
                           "VALUES (40, ?1, 0)",
                           -1, &s, nullptr);
        sqlite3_bind_double(s, 1, now.Days());
        if (sqlite3_step(s) != SQLITE_DONE) {
            state.SkipWithError("insert failed");
        }
        sqlite3_finalize(s);
        sqlite3_close(handle);
        now = now.AddMinutes(1);
    }
}

// The same unit the click stores, written by the raw SQLite API in one open:
// the exclusive transaction, the time record, its punch offset and an audit
// entry chained to the previous one. The gap between this floor and the click
// is what the program's own layers cost; the gap between this floor and the
// one-insert floor above is what the audit trail and the offsets cost on disk
// (with the other connection's update between the units, as in the click).
void BM_ClockIn_RawFloorSameRows(benchmark::State& state) {
    orvan::test::TestDatabase db;
    const std::string path = db.DatabasePath();
    DateTime now = DateTime::FromParts(2003, 1, 15, 8, 0);
    const auto run = [&](sqlite3* handle, const char* sql, bool bindNow) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(handle, sql, -1, &s, nullptr);
        if (bindNow) {
            sqlite3_bind_double(s, 1, now.Days());
        }
        int rc = sqlite3_step(s);
        while (rc == SQLITE_ROW) {
            rc = sqlite3_step(s);
        }
        if (rc != SQLITE_DONE) {
            state.SkipWithError(sqlite3_errmsg(handle));
        }
        sqlite3_finalize(s);
    };
    for (auto _ : state) {
        sqlite3* handle = nullptr;
        sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READWRITE, nullptr);
        run(handle, "BEGIN EXCLUSIVE", false);
        run(handle, "INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) VALUES (40, ?1, 0)",
            true);
        run(handle,
            "INSERT INTO PunchOffset (TimeRecordID, StartOffset, EndOffset) "
            "VALUES (last_insert_rowid(), 0, NULL)",
            false);
        run(handle, "SELECT EntryID, Hash FROM AuditEntry ORDER BY EntryID DESC LIMIT 1", false);
        run(handle,
            "INSERT INTO AuditEntry (EntryTime, Who, Kind, TimeRecordID, EmployeeID, "
            "ValueAfter, Hash) VALUES ('2003-01-15T08:00:00+00:00', 'clock station', "
            "'Clock in', (SELECT max(TimeRecordID) FROM TimeRecord), 40, "
            "'01/15/2003 08:00 AM to open', "
            "'0000000000000000000000000000000000000000000000000000000000000000')",
            false);
        run(handle, "COMMIT", false);
        sqlite3_close(handle);
        now = now.AddMinutes(1);
        // As in the click: the shift is closed by another connection outside
        // the measurement, which makes the next open read the changed pages.
        state.PauseTiming();
        db.Exec("UPDATE TimeRecord SET EndTime = StartTime + 0.0001 WHERE EndTime = 0");
        state.ResumeTiming();
    }
}

// The station's clock-in unit without its window (look-up, PIN option, open
// records, record, offset and audit entry): the click less the window's
// share.
void BM_ClockIn_Station(benchmark::State& state) {
    orvan::test::TestDatabase db;
    orvan::test::ScopedClock clock{DateTime::FromParts(2003, 1, 15, 8, 0)};
    db.AddEmployee(1007, "Ann", "Lee");
    auto jet = db.NewJetDB(orvan::CJetDB::Variant::Clock);
    auto factory = std::make_shared<orvan::CTimeRecordFactory>();
    factory->SetOrvanDatabase(jet);
    orvan::timeclock::ClockStation station(jet, factory, nullptr);
    for (auto _ : state) {
        clock.AdvanceSeconds(60);
        orvan::timeclock::EmployeeLookUp found;
        orvan::timeclock::PinGate gate;
        const auto result =
            station.RunForNumber("1007", orvan::timeclock::ClockAction::ClockIn, found, gate);
        if (result.outcome != orvan::timeclock::ClockResult::Outcome::Stored) {
            state.SkipWithError("the clock-in was not stored");
        }
        state.PauseTiming();
        db.Exec("UPDATE TimeRecord SET EndTime = StartTime + 0.0001 WHERE EndTime = 0");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ClockIn_Station)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

BENCHMARK(BM_ClockIn_FromClick)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(BM_ClockIn_RawFloor)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(BM_ClockIn_RawFloorSameRows)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
