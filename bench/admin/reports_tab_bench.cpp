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

#include <chrono>

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

#include "admin/AdminMain.h"
#include "admin/CController.h"
#include "admin/FController.h"
#include "bench/admin/support/StartLoggedIn.h"
#include "bench/support/BenchDatabase.h"
#include "core/DateTime.h"
#include "reports/FReportWindow.h"
#include "storage/ProgramFolder.h"
#include "ui/DateCombo.h"

namespace {

using orvan::DateTime;

constexpr orvan::bench::Installation kInstallation = orvan::bench::kLargeInstallation;
const DateTime kFirstDay = orvan::bench::FirstDay();

using orvan::bench::StartLoggedIn;

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
    orvan::bench::BuildInstallation(kInstallation);
    orvan::SetProgramFolder(orvan::bench::Folder(kInstallation).string());
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
    if (employees->selectedItems().size() != kInstallation.employees) {
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
