// Saving a 10 MB document: the main thread's share (taking the data, the checks before the write and
// the completion afterwards; the file itself is written on a background thread) against the target
// of 50 ms, and the whole save until the completion has run. Each save is checked: the file must
// hold exactly the document's UTF-8 afterwards.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_app_documents

#include "Carvex/Documents/Document.h"
#include "Carvex/Documents/DocumentTypes.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "SyntheticDescription.h"
#include "platform/BackgroundTask.h"
#include "platform/FakeMainScheduler.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>

namespace {

using namespace Carvex;

const QString& description() {
    static const QString text = QString::fromStdString(
        SyntheticDescription::generate(10u * 1024u * 1024u, SyntheticDescription::Syntax::yaml));
    return text;
}

void BM_SaveTenMegabytes(benchmark::State& state) {
    CarvexPlatform::TestApplication::ensure();
    auto fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    CarvexPlatform::ScopedMainScheduler scope(fake);
    EditorPreferencesStore preferences(CarvexPlatform::Settings::isolated());
    QTemporaryDir folder;
    const QString path = folder.filePath("large.yaml");
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("openapi: 3.1.0\n");
    }
    Document document(&preferences);
    if (document.readFromFile(path, DocumentTypes::yamlDocument)) {
        state.SkipWithError("could not read the file");
        return;
    }
    const QString& text = description();
    const qint64 expectedSize = text.toUtf8().size();
    double longestMainThread = 0;
    double totalWhole = 0;
    for (auto _ : state) {
        document.setContent(text);
        document.updateChangeCount(CarvexPlatform::ChangeType::done);
        bool done = false;
        QElapsedTimer whole;
        whole.start();
        QElapsedTimer main;
        main.start();
        document.saveDocument([&](std::optional<CarvexPlatform::Error> error) {
            if (error) {
                state.SkipWithError(error->localizedDescription.toStdString().c_str());
            }
            done = true;
        });
        double mainThread = main.nsecsElapsed() / 1e6;
        CarvexPlatform::BackgroundTask::waitForIdle();
        main.restart();
        fake->runPending();
        mainThread += main.nsecsElapsed() / 1e6;
        totalWhole += whole.nsecsElapsed() / 1e6;
        longestMainThread = std::max(longestMainThread, mainThread);
        state.SetIterationTime(mainThread / 1e3);
        if (!done || QFileInfo(path).size() != expectedSize || document.isDocumentEdited()) {
            state.SkipWithError("the save did not write the document");
            break;
        }
    }
    state.counters["main_thread_longest_ms"] = longestMainThread;
    state.counters["whole_save_ms"] = totalWhole / std::max<double>(1, static_cast<double>(state.iterations()));
    state.counters["megabytes"] = static_cast<double>(expectedSize) / (1024.0 * 1024.0);
}

BENCHMARK(BM_SaveTenMegabytes)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
