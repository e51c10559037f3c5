#include "Carvex/Completion/DefaultCompletionEngine.h"

#include "CompletionEngineSupport.h"

#include <gtest/gtest.h>

#include <QtGlobal>

#include <random>
#include <string>

using namespace Carvex;
using CompletionEngineSupport::corpusFiles;

namespace {

// What every answer must be, whatever the text and caret: sorted, no empty label, at most one place.
void expectWellFormed(const CompletionResult& result, const std::string& where)
{
    ASSERT_TRUE(CompletionEngineSupport::isSorted(result.items)) << where;
    for (const CompletionItem& item : result.items)
        ASSERT_FALSE(item.label.isEmpty()) << where;
    ASSERT_LE(result.grammarContexts.size(), 1u) << where;
    ASSERT_FALSE(result.isIncomplete) << where;
}

// A few templates that the full and body-only snippet paths can pick up anywhere.
const std::vector<SnippetTemplate>& anyTemplates()
{
    static const std::vector<SnippetTemplate> templates = {
        {"get", "Operation", {"get:"}, std::nullopt, "get:\n  ${1:summary}", "3.0", 10},
        {"responses", "Responses", {"responses:"}, std::nullopt, "'200':\n  description: ${1:ok}", "3.0", 0},
        {"schema", "Schema", {"- type:", "schema:"}, std::nullopt, "type: ${1:object}", "3.0", 120},
    };
    return templates;
}

TEST(CompletionEngineCorpus, caretAtTheEndOfEveryLine)
{
    const std::vector<CompletionEngineSupport::CorpusFile> files = corpusFiles();
    if (files.empty())
        GTEST_SKIP() << "no corpus";
    const DefaultCompletionEngine engine;
    int withItems = 0;
    int requests = 0;
    for (const auto& file : files) {
        for (qsizetype at = file.text.indexOf(u'\n'); at >= 0; at = file.text.indexOf(u'\n', at + 1)) {
            const std::string where = file.name.toStdString() + " at " + std::to_string(at);
            const CompletionResult result = engine.completions(file.text, at, file.format, anyTemplates());
            expectWellFormed(result, where);
            if (testing::Test::HasFatalFailure())
                return;
            withItems += !result.items.empty();
            ++requests;
        }
    }
    // Ends of lines are mostly places where something can be written.
    EXPECT_GT(withItems, requests / 4);
}

// Seeds for when the shared corpus is missing: the randomised test then still runs.
std::vector<CompletionEngineSupport::CorpusFile> seedTexts()
{
    std::vector<CompletionEngineSupport::CorpusFile> files = corpusFiles();
    if (!files.empty())
        return files;
    files.push_back({"seed.yaml",
                     "openapi: 3.0.3\ninfo:\n  title: Pets\n  version: '1'\npaths:\n  /pets:\n    get:\n"
                     "      parameters:\n        - in: query\n          name: limit\n          schema:\n"
                     "            type: integer\n      responses:\n        '200':\n          content:\n"
                     "            application/json:\n              schema:\n                $ref: '#/components/schemas/Pet'\n"
                     "components:\n  schemas:\n    Pet:\n      type: object\n      required:\n        - id\n"
                     "      properties:\n        id:\n          type: integer\n          enum: [1, 2]\n"
                     "          default: 1 # one\n",
                     DocumentFormat::yaml});
    files.push_back({"seed.json",
                     "{\"openapi\": \"3.1.0\", \"paths\": {\"/pets\": {\"get\": {\"responses\": {\"200\": {\"content\": "
                     "{\"application/json\": {\"schema\": {\"$ref\": \"#/components/schemas/Pet\"}}}}}}}},\n"
                     "\"components\": {\"schemas\": {\"Pet\": {\"type\": [\"object\", \"null\"], \"required\": [\"id\"],\n"
                     "\"properties\": {\"id\": {\"type\": \"integer\", \"enum\": [1, 2], \"default\": 1}}}}}}\n",
                     DocumentFormat::json});
    return files;
}

// 100,000 requests in an optimised build, a tenth of that in debug and sanitizer builds;
// CARVEX_RANDOM_CASES sets another number.
int randomCaseCount()
{
    bool set = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("CARVEX_RANDOM_CASES", &set);
    if (set && fromEnvironment > 0)
        return fromEnvironment;
#if defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__)
    return 100'000;
#else
    return 10'000;
#endif
}

TEST(CompletionEngineRandom, mutatedTextsAndRandomCarets)
{
    const std::vector<CompletionEngineSupport::CorpusFile> seeds = seedTexts();
    const char16_t noise[] = {u'{', u'}', u'[', u']', u'"', u'\'', u':', u'-', u'\n', u' ', u'\t', u'\r', u'#',
                              u'$', u',', u'\\', u'\u2028', u'\u00A0', u'\xD83D', u'\xDE00', u'é', u'0'};
    const QString words[] = {"$ref: ", "required:\n  - ", "type:\n  - ", "enum: [a, b]\n", "default: ",
                             "openapi: 3.0.0\n", "\"openapi\": \"3.1.0\"", "description: \"", "# ", "properties:\n    "};
    const DocumentFormat formats[] = {DocumentFormat::yaml, DocumentFormat::json, DocumentFormat::unknown};
    std::mt19937 random(33'102);
    const DefaultCompletionEngine engine;
    const int cases = randomCaseCount();
    constexpr int caretsPerText = 20;
    int answered = 0;
    for (int done = 0; done < cases;) {
        const auto& seed = seeds[random() % seeds.size()];
        // A window of the text, so that each request stays small and many texts are tried.
        const auto start = qsizetype(random() % std::max<qsizetype>(1, seed.text.size()));
        QString text = seed.text.mid(random() % 2 ? 0 : start, qsizetype(256 + random() % 8192));
        for (int edits = int(random() % 16); edits > 0; --edits) {
            const auto at = qsizetype(random() % (text.size() + 1));
            switch (random() % 4) {
            case 0: text.remove(at, qsizetype(1 + random() % 8)); break;
            case 1: text.insert(at, QChar(noise[random() % std::size(noise)])); break;
            case 2: text.insert(at, words[random() % std::size(words)]); break;
            default: text.insert(at, text.mid(at, qsizetype(1 + random() % 40))); break;
            }
        }
        const DocumentFormat format = random() % 4 == 0 ? formats[random() % 3] : seed.format;
        const bool withTemplates = random() % 2 == 0;
        for (int probe = 0; probe < caretsPerText && done < cases; ++probe, ++done) {
            const auto caret = qsizetype(random() % (text.size() + 5)) - 2;
            const CompletionResult result = withTemplates ? engine.completions(text, caret, format, anyTemplates())
                                                          : engine.complete(text, caret, format);
            expectWellFormed(result, seed.name.toStdString() + " case " + std::to_string(done) + " caret "
                                         + std::to_string(caret) + "\n" + text.toStdString());
            if (testing::Test::HasFatalFailure())
                return;
            answered += !result.items.empty();
        }
    }
    // The mutations leave enough of the documents for many carets to get proposals.
    EXPECT_GT(answered, cases / 10);
}

QString repeated(const QString& piece, int times)
{
    QString text;
    text.reserve(piece.size() * times);
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

QString blockNesting(int depth)
{
    QString text;
    for (int level = 0; level < depth; ++level)
        text += QString(level, u' ') + "k" + QString::number(level) + ":\n";
    return text;
}

TEST(CompletionEngineBadInput, anyTextAndCaretGiveACompleteResult)
{
    struct Row {
        const char* name;
        QString text;
    };
    const QString line = QStringLiteral("openapi: 3.1.0\ninfo:\n  description: ");
    const QString highAlone(QChar(0xD83D));
    const QString lowAlone(QChar(0xDE00));
    const Row rows[] = {
        {"empty text", QString()},
        {"unterminated YAML string", "openapi: 3.1.0\ninfo:\n  title: \"never closed\n  version: '1"},
        {"unterminated JSON string", "{\"openapi\": \"3.1.0\", \"info\": {\"title\": \"never closed"},
        {"unterminated comment", "openapi: 3.1.0\n# a comment that runs to the end"},
        {"lone surrogates", "openapi: 3.1.0\ninfo:\n  title: " + highAlone + " x" + lowAlone + "\n  " + highAlone + ": 1\n" + highAlone},
        {"surrogate pairs", QStringLiteral("openapi: 3.1.0\ninfo:\n  title: \U0001F600\U0001F600\n  \U0001F600: 1\n\U0001F600")},
        {"one line of a megabyte", line + repeated("word ", 200'000)},
        {"one JSON line of a megabyte", "{\"a\": [" + repeated("\"x\", ", 160'000) + "\"y\"]}"},
        {"10,000 flow mappings", repeated("{a: ", 10'000) + repeated("}", 10'000)},
        {"10,000 JSON arrays", repeated("[", 10'000) + repeated("]", 10'000)},
        {"10,000 JSON objects unclosed", repeated("{\"k\": ", 10'000)},
        {"10,000 nested YAML sequences", repeated("- ", 10'000) + "x\n"},
        {"1,000 block levels", blockNesting(1'000)},
        {"only line breaks of every kind", "\n\r\n\r\u0085\u2028\u2029\n"},
    };
    const DocumentFormat formats[] = {DocumentFormat::yaml, DocumentFormat::json, DocumentFormat::unknown};
    const DefaultCompletionEngine engine;
    for (const Row& row : rows) {
        const qsizetype size = row.text.size();
        const qsizetype carets[] = {-5, -1, 0, 1, size / 2, size / 2 + 1, size - 1, size, size + 1, size + 100};
        for (DocumentFormat format : formats) {
            for (qsizetype caret : carets) {
                const std::string where = std::string(row.name) + " as " + std::string(rawValue(format)) + " caret "
                    + std::to_string(caret);
                const CompletionResult result = engine.completions(row.text, caret, format, anyTemplates());
                expectWellFormed(result, where);
                EXPECT_EQ(result.context.caretLocation, caret) << where;
            }
        }
    }
}

} // namespace
