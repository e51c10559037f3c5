// Validation in the application, on a 4 MB description:
//   - main-thread time of one validation run: starting it and taking its result (target: no turn
//     over 50 ms; the library works on a background thread),
//   - placing 5,000 findings as marks in the editor's text (target 30 ms),
//   - moving 5,000 marks after one edit (target 1 ms),
//   - one repaint of the screen with 5,000 marks in the text (only the marks on screen are drawn).
#include "AppBenchmarkMain.h"
#include "SyntheticDescription.h"

#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Validation/OpenAPIValidationService.h"
#include "Carvex/Validation/ValidationDecorationController.h"
#include "platform/BackgroundTask.h"
#include "platform/FakeMainScheduler.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <memory>

namespace {

using namespace Carvex;

const QString& description() {
    static const QString text = QString::fromStdString(
        SyntheticDescription::generate(4u * 1024u * 1024u, SyntheticDescription::Syntax::yaml));
    return text;
}

double millisecondsOf(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void BM_ValidateFourMegabytesMainThread(benchmark::State& state) {
    const QString& text = description();
    auto scheduler = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    OpenAPIValidationService service(scheduler);
    double worstTurn = 0;
    double background = 0;
    for (auto _ : state) {
        std::optional<CarvexValidationResult> result;
        QElapsedTimer timer;
        timer.start();
        service.validate(text, [&](CarvexValidationResult r) { result = std::move(r); });
        const double start = millisecondsOf(timer);
        CarvexPlatform::BackgroundTask::waitForIdle();
        background = millisecondsOf(timer);
        timer.restart();
        scheduler->runPending();
        const double delivery = millisecondsOf(timer);
        worstTurn = std::max({worstTurn, start, delivery});
        state.SetIterationTime(std::max(start, delivery) / 1e3);
        if (!result || result->kind() == CarvexValidationResult::Kind::parsingError) {
            state.SkipWithError("the description did not validate");
            break;
        }
        state.counters["findings"] = static_cast<double>(result->findings().size());
    }
    state.counters["MB"] = static_cast<double>(text.size()) / (1024.0 * 1024.0);
    state.counters["worst_turn_ms"] = worstTurn;
    state.counters["background_ms"] = background;
}
BENCHMARK(BM_ValidateFourMegabytesMainThread)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// A shown view holding the description, and 5,000 findings spread over its lines, each a few
// columns long.
struct MarkedDocument {
    EditorTextView view;
    std::unique_ptr<ValidationDecorationController> controller;
    std::vector<CarvexValidationError> findings;

    MarkedDocument() {
        view.resize(1000, 800);
        view.show();
        view.loadText(description());
        view.finishLoading();
        QApplication::processEvents();
        controller = std::make_unique<ValidationDecorationController>(&view);
        const int lines = view.lineCount();
        for (int i = 0; i < 5000; ++i) {
            CarvexValidationError error;
            error.id = QUuid::createUuid();
            error.message = QStringLiteral("[SCH-011] finding");
            const std::int64_t line = 2 + static_cast<std::int64_t>(i) * (lines - 3) / 5000;
            error.sourceLocation = SourceLocation{QString(), line, 3, std::nullopt};
            error.endLocation = SourceLocation{QString(), line, 12, std::nullopt};
            error.severity = i % 3 == 0 ? CarvexValidationSeverity::warning : CarvexValidationSeverity::error;
            findings.push_back(std::move(error));
        }
    }
};

MarkedDocument& markedDocument() {
    static MarkedDocument* const document = new MarkedDocument;  // kept for the program
    return *document;
}

void BM_PlaceFiveThousandFindings(benchmark::State& state) {
    MarkedDocument& document = markedDocument();
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        document.controller->apply(document.findings);
        state.SetIterationTime(millisecondsOf(timer) / 1e3);
    }
    if (document.controller->decorationCount() != 5000) {
        state.SkipWithError("not every finding was placed");
    }
}
BENCHMARK(BM_PlaceFiveThousandFindings)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// The findings the library really reports on the description, placed as they come.
void BM_PlaceTheLibrarysFindings(benchmark::State& state) {
    MarkedDocument& document = markedDocument();
    const std::vector<CarvexValidationError> findings =
        OpenAPIValidationService().validateNow(description()).findings();
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        document.controller->apply(findings);
        state.SetIterationTime(millisecondsOf(timer) / 1e3);
    }
    state.counters["findings"] = static_cast<double>(findings.size());
    state.counters["placed"] = document.controller->decorationCount();
}
BENCHMARK(BM_PlaceTheLibrarysFindings)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// A minified description is one line of 4 MB: the library's findings on it, all on line 1.
void BM_PlaceFindingsOnAMinifiedDescription(benchmark::State& state) {
    std::string json = SyntheticDescription::generate(4u * 1024u * 1024u, SyntheticDescription::Syntax::json);
    std::string minified;
    minified.reserve(json.size());
    for (std::size_t i = 0; i < json.size(); ++i) {
        if (json[i] == '\n') {  // JSON strings hold no raw line break: what follows is indentation
            while (i + 1 < json.size() && json[i + 1] == ' ') {
                ++i;
            }
            continue;
        }
        minified.push_back(json[i]);
    }
    const QString text = QString::fromStdString(minified);
    const std::vector<CarvexValidationError> findings = OpenAPIValidationService().validateNow(text).findings();
    EditorTextView view;
    view.resize(1000, 800);
    view.show();
    view.loadText(text);
    view.finishLoading();
    ValidationDecorationController controller(&view);
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        controller.apply(findings);
        state.SetIterationTime(millisecondsOf(timer) / 1e3);
    }
    state.counters["lines"] = view.lineCount();
    state.counters["findings"] = static_cast<double>(findings.size());
    state.counters["placed"] = controller.decorationCount();
}
BENCHMARK(BM_PlaceFindingsOnAMinifiedDescription)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_UpdateFiveThousandMarksForAnEdit(benchmark::State& state) {
    MarkedDocument& document = markedDocument();
    document.controller->apply(document.findings);
    bool insert = true;
    for (auto _ : state) {
        // One unit typed at the text's start, then taken away again: every mark moves.
        if (insert) {
            document.controller->updateForEdit(TextRange{0, 0}, 1);
        } else {
            document.controller->updateForEdit(TextRange{0, 1}, -1);
        }
        insert = !insert;
    }
    if (document.controller->decorationCount() != 5000) {
        state.SkipWithError("marks were lost");
    }
}
BENCHMARK(BM_UpdateFiveThousandMarksForAnEdit)->Unit(benchmark::kMicrosecond);

void BM_RepaintWithFiveThousandMarks(benchmark::State& state) {
    MarkedDocument& document = markedDocument();
    document.controller->apply(document.findings);
    for (auto _ : state) {
        document.view.viewport()->repaint();
    }
    state.counters["marks_drawn"] = document.controller->renderer()->paintedMarkCount();
}
BENCHMARK(BM_RepaintWithFiveThousandMarks)->Unit(benchmark::kMillisecond);

}  // namespace

CARVEX_APP_BENCHMARK_MAIN()
