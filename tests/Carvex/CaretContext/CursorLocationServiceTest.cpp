#include "Carvex/CaretContext/CursorLocationService.h"

#include "CaretTestSupport.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>

#include <random>

using CaretTest::caretIn;
using CaretTest::describe;
using Carvex::CompletionContext;
using Carvex::CursorLocationService;
using Carvex::CursorRole;
using Carvex::DocumentFormat;

namespace {

const CursorLocationService service;

TEST(CursorLocationService, formatDetectionAndDispatch)
{
    struct Row {
        const char* name;
        const char* text;
        DocumentFormat detected;
        DocumentFormat scanned; // with format unknown
    };
    const Row rows[] = {
        {"json_object", "{\"a\": 1}", DocumentFormat::json, DocumentFormat::json},
        {"json_after_blank_lines", "\n\n  [1]", DocumentFormat::json, DocumentFormat::json},
        {"openapi_key", "openapi: 3.1.0\ninfo:", DocumentFormat::yaml, DocumentFormat::yaml},
        {"document_marker", "---\nx", DocumentFormat::yaml, DocumentFormat::yaml},
        {"colon_on_first_line", "key: {", DocumentFormat::yaml, DocumentFormat::yaml},
        {"no_colon_no_bracket", "hello", DocumentFormat::unknown, DocumentFormat::json},
        {"colon_only_on_second_line", "hello\na: b", DocumentFormat::unknown, DocumentFormat::json},
        {"empty", "", DocumentFormat::unknown, DocumentFormat::json},
        {"whitespace_only", " \n\t\n", DocumentFormat::unknown, DocumentFormat::json},
    };
    for (const Row& row : rows) {
        const QString text = QString::fromUtf8(row.text);
        EXPECT_EQ(CursorLocationService::detectFormat(text), row.detected) << row.name;
        EXPECT_EQ(service.extractContext(text, 0, DocumentFormat::unknown).format, row.scanned) << row.name;
    }
    // An explicit format is obeyed whatever the text looks like.
    EXPECT_EQ(service.extractContext(u"{\"a\": 1}", 1, DocumentFormat::yaml).format, DocumentFormat::yaml);
}

TEST(CursorLocationService, recordIsAssembledByRole)
{
    struct Row {
        const char* name;
        DocumentFormat format;
        const char* marked;
        CursorRole role;
        const char* prefix;
        const char* path;
        const char* currentKey;
        const char* existingKeys;
        const char* currentLine;
    };
    const Row rows[] = {
        {"yaml_key_line_gives_no_current_key", DocumentFormat::yaml, "info:\n  title: x\n  ver|", CursorRole::mappingKey,
         "ver", "key(info)", "none", "title", "  ver"},
        {"yaml_value_gives_no_existing_keys", DocumentFormat::yaml, "info:\n  title: x\n  version: 1|",
         CursorRole::mappingValue, "1", "key(info)", "\"version\"", "", "  version: 1"},
        {"yaml_item_prefix_loses_dash", DocumentFormat::yaml, "required:\n  -na|", CursorRole::sequenceItem, "na",
         "key(required) idx(0)", "\"required\"", "", "  -na"},
        {"json_value", DocumentFormat::json, "{\"info\": {\"title\": \"Pe|\"}}", CursorRole::mappingValue, "Pe",
         "key(info)", "\"title\"", "", "{\"info\": {\"title\": \"Pe\"}}"},
        {"json_key", DocumentFormat::json, "{\n  \"a\": 1,\n  \"b|\": 2\n}", CursorRole::mappingKey, "b", "", "none",
         "a,b", "  \"b\": 2"},
        {"json_key_begun_with_its_quote", DocumentFormat::json, "{\n  \"a\": 1,\n  \"de|\n  \"description\": \"x\"\n}",
         CursorRole::mappingKey, "de", "", "none", "a,description", "  \"de"},
        {"json_item", DocumentFormat::json, "{\"tags\": [\"x\", |]}", CursorRole::sequenceItem, "", "key(tags)", "none",
         "", "{\"tags\": [\"x\", ]}"},
    };
    for (const Row& row : rows) {
        const auto [text, caret] = caretIn(row.marked);
        const CompletionContext context = service.extractContext(text, caret, row.format);
        EXPECT_EQ(context.format, row.format) << row.name;
        EXPECT_EQ(context.caretLocation, caret) << row.name;
        EXPECT_STREQ(describe(context.role), describe(row.role)) << row.name;
        EXPECT_EQ(context.prefix.toStdString(), row.prefix) << row.name;
        EXPECT_EQ(describe(context.path), row.path) << row.name;
        EXPECT_EQ(describe(context.currentKey), row.currentKey) << row.name;
        EXPECT_EQ(describe(context.existingKeys), row.existingKeys) << row.name;
        EXPECT_EQ(context.currentLine.toStdString(), row.currentLine) << row.name;
        EXPECT_FALSE(context.hints.isRefValueContext || context.hints.expectedReferenceKind) << row.name;
    }
}

TEST(CursorLocationService, caretOutsideTheTextGivesTheEmptyRecord)
{
    for (DocumentFormat format : {DocumentFormat::yaml, DocumentFormat::json}) {
        for (const char* source : {"info:\n  title: x\n", "{\"a\": [1, 2]}", ""}) {
            const QString text = QString::fromUtf8(source);
            for (qsizetype caret : {text.size() + 1, text.size() + 100, qsizetype(-1), qsizetype(-50)}) {
                const CompletionContext context = service.extractContext(text, caret, format);
                const CompletionContext expected{format, caret, CursorRole::unknown, {}, {},
                                                 Carvex::CompletionHints::default_(), {}, std::nullopt, {}};
                EXPECT_EQ(context, expected) << source << " at " << caret;
            }
        }
    }
}

// The record as the scanners' own operations give it, one question after the other.
template<class Scanner>
CompletionContext askOneByOne(const Scanner& scanner, const QString& text, qsizetype caret, DocumentFormat format)
{
    CompletionContext context{format, caret, scanner.detectRole(text, caret), scanner.extractPrefix(text, caret),
                              scanner.extractPath(text, caret), scanner.extractHints(text, caret),
                              scanner.getCurrentLine(text, caret), std::nullopt, {}};
    if (format == DocumentFormat::yaml && context.role == CursorRole::sequenceItem && context.prefix.startsWith(u'-'))
        context.prefix.remove(0, 1);
    if (context.role == CursorRole::mappingValue || context.role == CursorRole::sequenceItem)
        context.currentKey = scanner.extractCurrentKey(text, caret);
    if (context.role == CursorRole::mappingKey)
        context.existingKeys = scanner.extractExistingKeys(text, caret);
    return context;
}

// Everything a caller may rely on, whatever the text and caret.
void expectSound(const QString& text, qsizetype caret, DocumentFormat format, const std::string& where)
{
    const CompletionContext context = service.extractContext(text, caret, format);
    // The service shares one scan between its questions; the answers must not change by it.
    const CompletionContext reference = context.format == DocumentFormat::json
                                            ? askOneByOne(service.jsonScanner, text, caret, DocumentFormat::json)
                                            : askOneByOne(service.yamlScanner, text, caret, DocumentFormat::yaml);
    ASSERT_EQ(context, reference) << where;
    // The path alone, as the breadcrumbs ask for it, is the record's path.
    ASSERT_EQ(service.extractPath(text, caret, format), context.path) << where;
    ASSERT_NE(context.format, DocumentFormat::unknown) << where;
    const bool inside = caret >= 0 && caret <= text.size();
    for (const Carvex::PathComponent& component : context.path)
        ASSERT_GE(component.position(), 0) << where;
    if (!inside) {
        ASSERT_EQ(context.role, CursorRole::unknown) << where;
        return;
    }
    ASSERT_NE(context.role, CursorRole::unknown) << where;
    const QStringView before = QStringView(text).first(caret);
    ASSERT_TRUE(before.endsWith(context.prefix) || context.prefix.isEmpty()) << where;
    ASSERT_TRUE(text.contains(context.currentLine)) << where;
    ASSERT_GE(context.hints.indentationDepth, 0) << where;
    ASSERT_TRUE(context.currentLine.startsWith(context.hints.currentIndentation)) << where;
}

QStringList corpusFiles()
{
    QStringList files;
    QDirIterator it(QStringLiteral(CARVEX_SHARED_DIR "/corpus/oai"), {"*.yaml", "*.json"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

TEST(CursorLocationService, cutsOfRealDescriptionsAtRandomCaretsStaySound)
{
    const QStringList files = corpusFiles();
    if (files.isEmpty())
        GTEST_SKIP() << "corpus not found under " CARVEX_SHARED_DIR;
    std::mt19937 random(2024);
    for (const QString& path : files) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString whole = QString::fromUtf8(file.readAll());
        const DocumentFormat format = path.endsWith(".json") ? DocumentFormat::json : DocumentFormat::yaml;
        for (int cut = 0; cut < 12; ++cut) {
            const QString text = whole.first(std::uniform_int_distribution<qsizetype>(0, whole.size())(random));
            for (int probe = 0; probe < 20; ++probe) {
                const qsizetype caret = std::uniform_int_distribution<qsizetype>(-2, text.size() + 2)(random);
                const std::string where = path.toStdString() + " cut " + std::to_string(text.size()) + " caret " +
                                          std::to_string(caret);
                expectSound(text, caret, format, where);
                expectSound(text, caret, DocumentFormat::unknown, where);
            }
        }
    }
}

TEST(CursorLocationService, randomUnitsWithSurrogatesAndOddTerminatorsStaySound)
{
    const char16_t alphabet[] = {u'{', u'}', u'[', u']', u'"', u'\'', u'\\', u':', u',', u'-', u'#', u' ',
                                 u' ', u'\t', u'\n', u'\r', 0x2028, 0x2029, 0x0085, 0xD83D, 0xDE00, u'a', u'$', u'_'};
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(alphabet) - 1);
    for (int round = 0; round < 400; ++round) {
        QString text;
        const int length = std::uniform_int_distribution<int>(0, 160)(random);
        for (int i = 0; i < length; ++i)
            text += QChar(alphabet[pick(random)]);
        for (qsizetype caret = -1; caret <= text.size() + 1; caret += 1 + (caret > 0 ? caret / 30 : 0)) {
            for (DocumentFormat format : Carvex::allDocumentFormats)
                expectSound(text, caret, format, "round " + std::to_string(round) + " caret " + std::to_string(caret) + " text " + text.toStdString());
        }
    }
}

TEST(CursorLocationService, randomBytesReadAsUtf8StaySound)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes;
        const int length = std::uniform_int_distribution<int>(0, 120)(random);
        for (int i = 0; i < length; ++i)
            bytes += char(byte(random));
        const QString text = QString::fromUtf8(bytes);
        for (qsizetype caret = -1; caret <= text.size() + 1; ++caret) {
            for (DocumentFormat format : Carvex::allDocumentFormats)
                expectSound(text, caret, format, "round " + std::to_string(round) + " caret " + std::to_string(caret));
        }
    }
}

TEST(CursorLocationService, hugeAndDeepInputsAnswer)
{
    // One line of a megabyte, with the caret at its end and in its middle.
    const QString longLine = "a: " + QString(1 << 20, u'x');
    for (DocumentFormat format : {DocumentFormat::yaml, DocumentFormat::json}) {
        EXPECT_EQ(service.extractContext(longLine, longLine.size(), format).prefix.size(), 1 << 20);
        EXPECT_EQ(service.extractContext(longLine, 4, format).currentLine.size(), longLine.size());
    }

    // A hundred thousand unclosed brackets: every one an array element of the one before.
    const QString brackets = "{\"a\": " + QString(100000, u'[');
    const CompletionContext deep = service.extractContext(brackets, brackets.size(), DocumentFormat::json);
    ASSERT_EQ(deep.path.size(), 100000u);
    EXPECT_EQ(deep.path.front(), Carvex::PathComponent::key("a"));
    EXPECT_EQ(deep.path.back(), Carvex::PathComponent::index(0));
    EXPECT_EQ(deep.role, CursorRole::sequenceItem);

    // An unterminated string of a megabyte.
    const QString open = "{\"a\": \"" + QString(1 << 20, u'y');
    EXPECT_TRUE(service.extractContext(open, open.size(), DocumentFormat::json).hints.isInString);

    // Two thousand nested YAML mappings and sequences.
    QString yaml;
    for (int level = 0; level < 2000; ++level)
        yaml += QString(2 * level, u' ') + (level % 2 ? "- k" : "k") + QString::number(level) + ":\n";
    yaml += QString(4000, u' ') + "x: 1";
    const CompletionContext nested = service.extractContext(yaml, yaml.size(), DocumentFormat::yaml);
    ASSERT_FALSE(nested.path.empty());
    EXPECT_EQ(nested.path.front(), Carvex::PathComponent::key("k0"));
}

} // namespace
