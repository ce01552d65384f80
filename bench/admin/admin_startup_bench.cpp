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

#include <chrono>
#include <memory>

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "admin/AdminMain.h"
#include "admin/CController.h"
#include "admin/FLogin.h"
#include "bench/support/BenchDatabase.h"
#include "storage/CFile.h"
#include "storage/ErrorLog.h"
#include "storage/ProgramFolder.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr orvan::bench::Installation kInstallation = orvan::bench::kManyEmployeesInstallation;

void BM_StartUpToLogin(benchmark::State& state) {
    orvan::bench::BuildInstallation(kInstallation);
    orvan::SetProgramFolder(orvan::bench::Folder(kInstallation).string());
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
