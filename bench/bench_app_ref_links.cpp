// `$ref` link detection on the editor's text.
//
//   build/bench/bench_app_ref_links [--benchmark_filter=...]
//
// - Detect/json, Detect/yaml: a full detection of a synthetic description of about 10 MB. Target: under
//   30 ms each.
// - Redetect/<format>/<edit>: bringing the links of the same text up to date after a one-character edit
//   (typing into a `$ref` value, deleting a value's closing quote, typing into a description), the
//   iterations alternating between the edit and its undo. Target: under 1 ms.
// - Unterminated/<format>/<keys>: keys whose values lose their closing quote, one per line, up to about
//   a million; the complexity line shows the growth. Target: linear, under 150 ms.
// - OneLine/<case>: 50 MB without a line break: a minified description, links packed side by side
//   (over a million), or one value left open before the rest. Target: under 150 ms.
// Before timing, every re-detection is checked against a full detection of the same text, and the
// full detections against the number of links the text was written with where it is known.

#include <benchmark/benchmark.h>

#include "Carvex/ModelAdapters/RefLinkDetector.h"
#include "Carvex/ModelAdapters/RefLinkRedetector.h"
#include "SyntheticDescription.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

namespace {

using Carvex::DocumentLanguage;
using Carvex::RefLink;
using Carvex::RefLinkDetector;
using Carvex::RefLinkRedetector;
using Carvex::TextChange;
using SyntheticDescription::Syntax;

constexpr std::size_t kBytes = 10u << 20;
constexpr qsizetype kSingleLineUnits = 50 << 20;

void fail(const char* what)
{
    std::fprintf(stderr, "bench_app_ref_links: %s\n", what);
    std::exit(1);
}

DocumentLanguage languageOf(Syntax syntax)
{
    return syntax == Syntax::json ? DocumentLanguage::json : DocumentLanguage::yaml;
}

const QString& description(Syntax syntax)
{
    static std::map<Syntax, QString> texts;
    QString& text = texts[syntax];
    if (text.isEmpty())
        text = QString::fromStdString(SyntheticDescription::generate(kBytes, syntax));
    return text;
}

void Detect(benchmark::State& state, Syntax syntax)
{
    const QString& text = description(syntax);
    const RefLinkDetector detector;
    std::size_t links = 0;
    for (auto _ : state) {
        const std::vector<RefLink> found = detector.detectLinks(text, languageOf(syntax));
        links = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    if (links < 1000)
        fail("too few links in the synthetic description");
    state.counters["links"] = double(links);
    state.counters["MB"] = double(text.size() * 2) / (1 << 20);
}

enum class Edit { typeInValue, deleteClosingQuote, typeInDescription };

// The text with one edit and the change that leads to it, found near the middle of the text.
struct EditedText {
    QString text;
    qsizetype at = 0;
    qsizetype inserted = 0;
    qsizetype removed = 0;
};

EditedText edited(const QString& text, Syntax syntax, Edit edit)
{
    const qsizetype middle = text.size() / 2;
    EditedText result{text, 0, 0, 0};
    switch (edit) {
    case Edit::typeInValue: {
        result.at = text.indexOf(QStringLiteral("#/components/schemas/"), middle) + 3;
        result.inserted = 1;
        result.text.insert(result.at, u'x');
        break;
    }
    case Edit::deleteClosingQuote: {
        const qsizetype value = text.indexOf(QStringLiteral("#/components/schemas/"), middle);
        const QChar quote = text.at(value - 1);
        result.at = text.indexOf(quote, value);
        result.removed = 1;
        result.text.remove(result.at, 1);
        break;
    }
    case Edit::typeInDescription: {
        result.at = text.indexOf(syntax == Syntax::json ? QStringLiteral("\"description\": \"")
                                                        : QStringLiteral("description: "),
                                 middle)
                    + 5;
        result.inserted = 1;
        result.text.insert(result.at, u'y');
        break;
    }
    }
    return result;
}

void Redetect(benchmark::State& state, Syntax syntax, Edit edit)
{
    const DocumentLanguage language = languageOf(syntax);
    const QString& original = description(syntax);
    const EditedText changed = edited(original, syntax, edit);
    const TextChange forward{{changed.at, changed.inserted}, changed.inserted - changed.removed};
    const TextChange back{{changed.at, changed.removed}, changed.removed - changed.inserted};
    const RefLinkDetector detector;
    const std::vector<RefLink> originalLinks = detector.detectLinks(original, language);
    const std::vector<RefLink> changedLinks = detector.detectLinks(changed.text, language);

    std::vector<RefLink> links = originalLinks;
    RefLinkRedetector::update(links, changed.text, forward, language);
    if (links != changedLinks)
        fail("re-detection after the edit differs from a full detection");
    RefLinkRedetector::update(links, original, back, language);
    if (links != originalLinks)
        fail("re-detection after the undo differs from a full detection");

    bool atChanged = false;
    for (auto _ : state) {
        atChanged = !atChanged;
        RefLinkRedetector::update(links, atChanged ? changed.text : original, atChanged ? forward : back, language);
        benchmark::DoNotOptimize(links.data());
    }
    state.counters["links"] = double(links.size());
}

// `count` keys, one per line, whose values have no closing quote.
QString unterminatedKeys(Syntax syntax, int count)
{
    const QString line = syntax == Syntax::json ? QStringLiteral("\"$ref\": \"#/components/schemas/Pet,\n")
                                                : QStringLiteral("- $ref: '#/components/schemas/Pet\n");
    QString text;
    text.reserve(line.size() * count);
    for (int i = 0; i < count; ++i)
        text += line;
    return text;
}

void Unterminated(benchmark::State& state, Syntax syntax)
{
    const int count = int(state.range(0));
    const QString text = unterminatedKeys(syntax, count);
    const RefLinkDetector detector;
    std::size_t links = 0;
    for (auto _ : state) {
        const std::vector<RefLink> found = detector.detectLinks(text, languageOf(syntax));
        links = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    // JSON: each open value ends at the next key's opening quote, which hides that key; YAML: each ends
    // at its line feed.
    const std::size_t expected = syntax == Syntax::json ? std::size_t(count) / 2 : std::size_t(count);
    if (links != expected)
        fail("unexpected number of links for unterminated values");
    state.SetComplexityN(count);
    state.counters["links"] = double(links);
}

enum class SingleLine { jsonMinified, jsonLinks, jsonOpenValue, yamlLinks, yamlOpenValue };

const QString& singleLine(SingleLine kind)
{
    static std::map<SingleLine, std::unique_ptr<QString>> texts;
    std::unique_ptr<QString>& text = texts[kind];
    if (text)
        return *text;
    text = std::make_unique<QString>();
    text->reserve(kSingleLineUnits + 64);
    switch (kind) {
    case SingleLine::jsonMinified: {
        // The synthetic description without its line breaks and indentation (no string holds a line
        // break).
        const std::string pretty = SyntheticDescription::generate(std::size_t(kSingleLineUnits), Syntax::json);
        std::string compact;
        compact.reserve(pretty.size());
        for (std::size_t i = 0; i < pretty.size(); ++i) {
            if (pretty[i] != '\n') {
                compact += pretty[i];
                continue;
            }
            while (i + 1 < pretty.size() && pretty[i + 1] == ' ')
                ++i;
        }
        *text = QString::fromStdString(compact);
        break;
    }
    case SingleLine::jsonLinks:
        text->append(u'[');
        while (text->size() < kSingleLineUnits)
            text->append(QStringLiteral("{\"$ref\": \"#/components/schemas/Pet\"}, "));
        text->append(u']');
        break;
    case SingleLine::yamlLinks:
        while (text->size() < kSingleLineUnits)
            text->append(QStringLiteral(" $ref: '#/components/schemas/Pet'"));
        break;
    case SingleLine::jsonOpenValue:
        text->append(QStringLiteral("{\"$ref\": \"#/components/schemas/"));
        text->append(QString(kSingleLineUnits, u'a'));
        break;
    case SingleLine::yamlOpenValue:
        text->append(QStringLiteral("$ref: '#/components/schemas/"));
        text->append(QString(kSingleLineUnits, u'a'));
        break;
    }
    return *text;
}

void OneLine(benchmark::State& state, SingleLine kind)
{
    const QString& text = singleLine(kind);
    const bool json = kind != SingleLine::yamlLinks && kind != SingleLine::yamlOpenValue;
    if (text.contains(u'\n'))
        fail("the single line holds a line break");
    const RefLinkDetector detector;
    std::size_t links = 0;
    for (auto _ : state) {
        const std::vector<RefLink> found = detector.detectLinks(text, json ? DocumentLanguage::json
                                                                           : DocumentLanguage::yaml);
        links = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    const bool open = kind == SingleLine::jsonOpenValue || kind == SingleLine::yamlOpenValue;
    // An open JSON value gives no link; an open YAML value runs to the end of the text.
    const std::size_t fewest = kind == SingleLine::jsonMinified ? 10000u : 1000000u;
    if (open ? links != (json ? 0u : 1u) : links < fewest)
        fail("unexpected number of links on the single line");
    state.counters["links"] = double(links);
}

BENCHMARK_CAPTURE(Detect, json, Syntax::json)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Detect, yaml, Syntax::yaml)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redetect, json/typeInValue, Syntax::json, Edit::typeInValue)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Redetect, json/deleteClosingQuote, Syntax::json, Edit::deleteClosingQuote)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Redetect, json/typeInDescription, Syntax::json, Edit::typeInDescription)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Redetect, yaml/typeInValue, Syntax::yaml, Edit::typeInValue)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Redetect, yaml/deleteClosingQuote, Syntax::yaml, Edit::deleteClosingQuote)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Redetect, yaml/typeInDescription, Syntax::yaml, Edit::typeInDescription)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Unterminated, json, Syntax::json)
    ->RangeMultiplier(2)
    ->Range(250000, 1000000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Unterminated, yaml, Syntax::yaml)
    ->RangeMultiplier(2)
    ->Range(250000, 1000000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OneLine, json/minified, SingleLine::jsonMinified)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OneLine, json/packedLinks, SingleLine::jsonLinks)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OneLine, json/openValue, SingleLine::jsonOpenValue)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OneLine, yaml/packedLinks, SingleLine::yamlLinks)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OneLine, yaml/openValue, SingleLine::yamlOpenValue)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
