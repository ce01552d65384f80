// Generating a time card for a year of records (about 500) on the timecards
// page and showing it in the grid, on the installation of database_bench
// (200 employees, 1,000,000 time records; built under $TMPDIR/orvan-bench
// the same way when missing, and kept). The manager's program is started
// and logged in once; each iteration is one Generate Timecard.
//
//   QT_QPA_PLATFORM=offscreen timecards_bench [--benchmark_repetitions=15 ...]
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>

#include "admin/AdminMain.h"
#include "admin/CController.h"
#include "admin/FController.h"
#include "admin/TimecardsTab.h"
#include "bench/admin/support/StartLoggedIn.h"
#include "bench/support/BenchDatabase.h"
#include "core/DateTime.h"
#include "storage/ProgramFolder.h"
#include "ui/DateCombo.h"

namespace {

using orvan::DateTime;

constexpr orvan::bench::Installation kInstallation = orvan::bench::kLargeInstallation;
const DateTime kFirstDay = orvan::bench::FirstDay();

using orvan::bench::StartLoggedIn;

void BM_GenerateYearCardIntoGrid(benchmark::State& state) {
    orvan::bench::BuildInstallation(kInstallation);
    orvan::SetProgramFolder(orvan::bench::Folder(kInstallation).string());
    auto* window = StartLoggedIn();
    if (window == nullptr) {
        state.SkipWithError("the program did not start");
        return;
    }
    auto* tab = window->findChild<orvan::admin::TimecardsTab*>(QStringLiteral("TimecardsTab"));
    auto* from = window->findChild<orvan::DateCombo*>(QStringLiteral("tptbTCFrom"));
    auto* to = window->findChild<orvan::DateCombo*>(QStringLiteral("tptbTCTo"));
    auto* names = window->findChild<QComboBox*>(QStringLiteral("cboTCEmployeeName"));
    auto* grid = window->findChild<QTableWidget*>(QStringLiteral("grdTimeRecs"));
    names->setCurrentIndex(names->findText(QStringLiteral("First1007 Last1007")));
    // A year from the first Monday: 250 weekdays of two shifts.
    from->SetValue(kFirstDay);
    to->SetValue(kFirstDay.AddDays(364));
    int rows = 0;
    for (auto _ : state) {
        tab->RefreshTimeCard();
        rows = grid->rowCount();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["records"] = rows;
    orvan::admin::ReleaseProgram();
}
BENCHMARK(BM_GenerateYearCardIntoGrid)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // Without a display the benchmark draws offscreen, as the others do.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
