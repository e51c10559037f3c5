// The manual's scheme answers and the preferences window, offscreen: serving a page or its style
// sheet (read whole from the compiled-in resources), re-colouring both Syntax Colors previews after
// one colour change, and switching the preferences window between its two panes. Each should stay
// well under a frame (16 ms) so that dragging in the colour dialog and clicking the toolbar feel
// immediate.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_app_preferences

#include "Carvex/Manual/ManualSchemeHandler.h"
#include "Carvex/Preferences/CompletionPreferencesStore.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Preferences/GeneralPreferencesPane.h"
#include "Carvex/Preferences/PreferencesWindowController.h"
#include "Carvex/Preferences/SyntaxColorsPreferencesPane.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "platform/ColorWell.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

namespace {

using namespace Carvex;

void BM_ManualAnswer(benchmark::State& state, const char* url) {
    CarvexPlatform::TestApplication::ensure();
    const ManualSchemeHandler handler(ManualResourceLocator::main());
    const QUrl address(url);
    for (auto _ : state) {
        const auto answer = handler.answer(address);
        if (!answer.succeeded()) {
            state.SkipWithError("the manual did not answer");
            break;
        }
        benchmark::DoNotOptimize(answer.data.size());
    }
}
BENCHMARK_CAPTURE(BM_ManualAnswer, index_html, "manual://host/index.html")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ManualAnswer, site_css, "manual://host/css/site.css")->Unit(benchmark::kMicrosecond);

void BM_ColorChangeRecoloursPreviews(benchmark::State& state) {
    CarvexPlatform::TestApplication::ensure();
    const auto settings = CarvexPlatform::Settings::isolated();
    SyntaxThemePreferencesStore store(settings);
    SyntaxColorsPreferencesPane pane(store, true);
    CarvexPlatform::ColorWell* well = pane.colorWell(SyntaxThemePreferenceKey::stringColor);
    int shade = 0;
    for (auto _ : state) {
        well->pickColor(QColor(shade, 128, 255 - shade));
        shade = (shade + 1) % 256;
    }
}
BENCHMARK(BM_ColorChangeRecoloursPreviews)->Unit(benchmark::kMicrosecond);

void BM_SwitchPanes(benchmark::State& state) {
    CarvexPlatform::TestApplication::ensure();
    const auto settings = CarvexPlatform::Settings::isolated();
    EditorPreferencesStore editor(settings);
    CompletionPreferencesStore completion(settings);
    SyntaxThemePreferencesStore colors(settings);
    auto configs = PreferencesWindowController::standardPaneConfigs();
    configs[0].makeView = [&] {
        return new GeneralPreferencesPane(editor, completion, IndentationPreferencesStore(settings));
    };
    configs[1].makeView = [&] { return new SyntaxColorsPreferencesPane(colors, true); };
    PreferencesWindowController controller(configs);
    controller.showWindow();
    bool general = false;
    for (auto _ : state) {
        controller.showPane(general ? PreferencesWindowController::generalPaneIdentifier
                                    : PreferencesWindowController::syntaxColorsPaneIdentifier,
                            false);
        QCoreApplication::processEvents();
        general = !general;
    }
}
BENCHMARK(BM_SwitchPanes)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
