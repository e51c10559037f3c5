// Start-up against the target of 300 ms from process start to the welcome window:
// - the real program started as a process until its launch sequence has run (the line it writes
//   when the updater is made, one turn before the welcome window is shown);
// - in one process, cold: making the application object, launching and showing the welcome window
//   (the first iteration pays for every first use; the web engine is not started).
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_app_startup

#include "Carvex/App/AppDelegate.h"
#include "Carvex/App/Application.h"
#include "Carvex/Windows/WelcomeWindowController.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMainWindow>
#include <QProcess>
#include <QUuid>

namespace {

void BM_ProcessStartToLaunchSequence(benchmark::State& state) {
    const QString program =
        QFileInfo(QStringLiteral(CARVEX_BENCH_DIR "/../Carvex/carvex")).absoluteFilePath();
    if (!QFileInfo(program).isExecutable()) {
        state.SkipWithError("build/Carvex/carvex is missing");
        return;
    }
    for (auto _ : state) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        QElapsedTimer timer;
        timer.start();
        process.start(program, {});
        QByteArray seen;
        QDeadlineTimer limit(10000);
        while (!seen.contains("Creating SPUStandardUpdaterController") && !limit.hasExpired() &&
               process.state() != QProcess::NotRunning) {
            process.waitForReadyRead(100);
            seen += process.readAllStandardError();
        }
        const double seconds = timer.nsecsElapsed() / 1e9;
        const bool launched = seen.contains("Creating SPUStandardUpdaterController");
        process.kill();
        process.waitForFinished(5000);
        if (!launched) {
            state.SkipWithError("the program did not launch (another Carvex may be running)");
            return;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_ProcessStartToLaunchSequence)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ColdLaunchToWelcomeWindow(benchmark::State& state) {
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        CarvexPlatform::TestApplication::ensure();
        Carvex::Application application(QStringLiteral("carvex-bench-") + QUuid::createUuid().toString(QUuid::Id128),
                                        Carvex::AppDelegate::standardWindows(), CarvexPlatform::Settings::isolated());
        application.start({});
        QDeadlineTimer limit(10000);
        while (!(Carvex::WelcomeWindowController::isLoaded() &&
                 Carvex::WelcomeWindowController::shared().window()->isVisible()) &&
               !limit.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        if (limit.hasExpired()) {
            state.SkipWithError("the welcome window did not show");
            return;
        }
    }
}
BENCHMARK(BM_ColdLaunchToWelcomeWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
