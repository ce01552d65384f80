// Start-up of the manager's program on a large installation (1,000
// employees, 1,000,000 time records): from the start of the controller's
// construction (configuration, database, options, company and employee
// lists, time record factory) until the login window is shown. The login is
// then cancelled, which ends that run of the program.
//
//   QT_QPA_PLATFORM=offscreen admin_startup_bench [--benchmark_repetitions=15 ...]
//
// The installation is built once under $TMPDIR/orvan-admin-bench (kept
// between runs; delete it to rebuild).

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "admin/AdminMain.h"
#include "admin/CController.h"
#include "admin/FLogin.h"
#include "core/DateTime.h"
#include "storage/CFile.h"
#include "storage/ErrorLog.h"
#include "storage/Installer.h"
#include "storage/ProgramFolder.h"

namespace {

namespace fs = std::filesystem;
using orvan::DateTime;
using Clock = std::chrono::steady_clock;

constexpr int kEmployees = 1000;
constexpr int kWeekdaysPerEmployee = 500;                   // two shifts each: 1,000 records
const DateTime kFirstDay = DateTime::FromParts(2003, 1, 6); // a Monday

fs::path Folder() {
    const char* tmp = std::getenv("TMPDIR");
    return fs::path(tmp != nullptr ? tmp : "/tmp") / "orvan-admin-bench";
}

std::string DatabasePath() {
    return (Folder() / "system" / "orvan_11.mdb").string();
}

DateTime Weekday(int n) {
    return kFirstDay.AddDays((n / 5) * 7 + n % 5);
}

void Check(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::cerr << what << ": " << sqlite3_errmsg(db) << "\n";
        std::exit(1);
    }
}

void BuildInstallation() {
    if (fs::exists(DatabasePath())) {
        return;
    }
    std::cerr << "building " << DatabasePath() << " ...\n";
    std::vector<std::string> created;
    std::string message;
    if (!orvan::Installer::Install(Folder().string(), true, kFirstDay, created, message)) {
        std::cerr << message << "\n";
        std::exit(1);
    }
    sqlite3* db = nullptr;
    Check(sqlite3_open(DatabasePath().c_str(), &db), db, "open");
    Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
    sqlite3_stmt* employee = nullptr;
    Check(sqlite3_prepare_v2(
              db,
              "INSERT INTO Employee (EmployeeNumber, FirstName, LastName, SSNumber, Address, "
              "City, State, ZipCode, Phone, PayRate, OvertimePayRate, Active, AutoDeduct, "
              "AutoDeductLunchLength, AutoDeductBreakLength, CompanyID) VALUES (?1, "
              "'First' || ?1, 'Last' || ?1, '000-00-' || ?1, ?1 || ' Main St.', 'Springfield', "
              "'IL', '62701', '555-' || ?1, 12.5, 18.75, ?1 % 10 <> 0, ?1 % 2, 30, 15, 1)",
              -1, &employee, nullptr),
          db, "prepare employee");
    sqlite3_stmt* record = nullptr;
    Check(sqlite3_prepare_v2(db,
                             "INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) "
                             "VALUES (?1, ?2, ?3)",
                             -1, &record, nullptr),
          db, "prepare record");
    for (int e = 1; e <= kEmployees; ++e) {
        sqlite3_bind_int(employee, 1, 10000 + e);
        Check(sqlite3_step(employee), db, "employee");
        sqlite3_reset(employee);
        const auto id = static_cast<int>(sqlite3_last_insert_rowid(db));
        for (int d = 0; d < kWeekdaysPerEmployee; ++d) {
            const DateTime day = Weekday(d);
            const int shifts[2][4] = {{8, 0, 12, 0}, {12, 30, 17, 15}};
            for (const auto& s : shifts) {
                sqlite3_bind_int(record, 1, id);
                sqlite3_bind_double(record, 2, day.AddMinutes(s[0] * 60 + s[1]).Days());
                sqlite3_bind_double(record, 3, day.AddMinutes(s[2] * 60 + s[3]).Days());
                Check(sqlite3_step(record), db, "record");
                sqlite3_reset(record);
            }
        }
    }
    sqlite3_finalize(employee);
    sqlite3_finalize(record);
    Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
}

void BM_StartUpToLogin(benchmark::State& state) {
    BuildInstallation();
    orvan::SetProgramFolder(Folder().string());
    for (auto _ : state) {
        Clock::time_point start;
        Clock::time_point shown;
        bool seen = false;
        // The login window runs modally inside the construction: this timer
        // fires from its event loop once it is there.
        QTimer watch;
        watch.setInterval(0);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* login = qobject_cast<orvan::admin::FLogin*>(QApplication::activeModalWidget());
            if (login == nullptr || !login->isVisible()) {
                return;
            }
            shown = Clock::now();
            seen = true;
            watch.stop();
            login->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
        });
        watch.start();
        // As the start routine does, the log first; the time counts from the
        // controller's construction.
        orvan::OpenErrorLog(orvan::admin::ErrorLogFile(), orvan::ErrorLogPath());
        start = Clock::now();
        orvan::admin::AppController() = std::make_shared<orvan::admin::CController>();
        watch.stop();
        orvan::admin::ReleaseProgram();
        orvan::admin::ErrorLogFile().CloseFile();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!seen) {
            state.SkipWithError("the login window was not shown");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
    }
}

BENCHMARK(BM_StartUpToLogin)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
