// The accountant's review of 200 employees over a year of records (about
// 100,000 records) generated from the reports page of the manager's program:
// from the Generate Report click until the report window is shown, on the
// installation of database_bench (200 employees, 1,000,000 time records;
// built under $TMPDIR/orvan-bench the same way when missing, and kept). The
// program is started and logged in once; each iteration selects every
// employee, clicks Generate Report and closes the window again (the closing
// is not timed).
//
//   QT_QPA_PLATFORM=offscreen reports_tab_bench [--benchmark_repetitions=15 ...]
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "admin/AdminMain.h"
#include "admin/CController.h"
#include "admin/FController.h"
#include "admin/FLogin.h"
#include "core/DateTime.h"
#include "reports/FReportWindow.h"
#include "storage/Installer.h"
#include "storage/ProgramFolder.h"
#include "ui/DateCombo.h"

namespace {

namespace fs = std::filesystem;
using orvan::DateTime;

constexpr int kEmployees = 200;
constexpr int kWeekdaysPerEmployee = 2500;
const DateTime kFirstDay = DateTime::FromParts(2003, 1, 6); // a Monday

fs::path Folder() {
    const char* tmp = std::getenv("TMPDIR");
    return fs::path(tmp != nullptr ? tmp : "/tmp") / "orvan-bench";
}

std::string DatabasePath() {
    return (Folder() / "system" / "orvan_11.mdb").string();
}

// The day of the n-th weekday from kFirstDay.
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
    if (!orvan::Installer::Install(Folder().string(), false, kFirstDay, created, message)) {
        std::cerr << message << "\n";
        std::exit(1);
    }
    sqlite3* db = nullptr;
    Check(sqlite3_open(DatabasePath().c_str(), &db), db, "open");
    Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
    sqlite3_stmt* employee = nullptr;
    Check(sqlite3_prepare_v2(db,
                             "INSERT INTO Employee (EmployeeNumber, FirstName, LastName, SSNumber, "
                             "PayRate, OvertimePayRate, Active, AutoDeduct, AutoDeductLunchLength, "
                             "AutoDeductBreakLength, CompanyID) VALUES (?1, 'First' || ?1, "
                             "'Last' || ?1, '000-00-' || ?1, 12.5, 18.75, 1, ?1 % 2, 30, 15, 1)",
                             -1, &employee, nullptr),
          db, "prepare employee");
    sqlite3_stmt* record = nullptr;
    Check(sqlite3_prepare_v2(db,
                             "INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) "
                             "VALUES (?1, ?2, ?3)",
                             -1, &record, nullptr),
          db, "prepare record");
    for (int e = 1; e <= kEmployees; ++e) {
        sqlite3_bind_int(employee, 1, 1000 + e);
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

// Starts the program and answers its login from inside the modal run.
orvan::admin::FController* StartLoggedIn() {
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&watch] {
        auto* login = qobject_cast<orvan::admin::FLogin*>(QApplication::activeModalWidget());
        if (login == nullptr || !login->isVisible()) {
            return;
        }
        watch.stop();
        login->findChild<QLineEdit*>(QStringLiteral("txtName"))
            ->setText(QStringLiteral("administrator"));
        login->findChild<QLineEdit*>(QStringLiteral("txtPassword"))
            ->setText(QStringLiteral("renby742"));
        login->findChild<QPushButton*>(QStringLiteral("cmdLogin"))->click();
    });
    watch.start();
    if (!orvan::admin::StartProgram() || orvan::admin::AppController() == nullptr) {
        return nullptr;
    }
    return orvan::admin::AppController()->ControllerWindow();
}

// The report windows shown now.
int ShownReportWindows() {
    int shown = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<orvan::FReportWindow*>(widget) != nullptr && widget->isVisible()) {
            ++shown;
        }
    }
    return shown;
}

void CloseReportWindows() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<orvan::FReportWindow*>(widget)) {
            window->close();
        }
    }
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void BM_ReviewOf200EmployeesForAYear(benchmark::State& state) {
    BuildInstallation();
    orvan::SetProgramFolder(Folder().string());
    auto* window = StartLoggedIn();
    if (window == nullptr) {
        state.SkipWithError("the program did not start");
        return;
    }
    auto* reports = window->findChild<QComboBox*>(QStringLiteral("cboReports"));
    auto* employees = window->findChild<QListWidget*>(QStringLiteral("lstEmployees"));
    auto* from = window->findChild<orvan::DateCombo*>(QStringLiteral("cboFromDate"));
    auto* to = window->findChild<orvan::DateCombo*>(QStringLiteral("cboToDate"));
    auto* generate = window->findChild<QPushButton*>(QStringLiteral("cmdGenerate"));
    reports->setCurrentIndex(reports->findText(QStringLiteral("Accountants Review")));
    // A year from the first Monday: 250 weekdays of two shifts each.
    from->SetValue(kFirstDay);
    to->SetValue(kFirstDay.AddDays(364));
    employees->selectAll();
    if (employees->selectedItems().size() != kEmployees) {
        state.SkipWithError("not every employee is listed");
        return;
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        generate->click();
        QApplication::processEvents();
        const auto shown = std::chrono::steady_clock::now();
        if (ShownReportWindows() != 1) {
            state.SkipWithError("the review window was not shown");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
        CloseReportWindows();
    }
    orvan::admin::ReleaseProgram();
}
BENCHMARK(BM_ReviewOf200EmployeesForAYear)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

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
