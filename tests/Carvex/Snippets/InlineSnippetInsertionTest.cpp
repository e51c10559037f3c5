#include "BuiltInTemplateHosts.h"

#include "Carvex/Snippets/InlineSnippetInsertion.h"
#include "Carvex/Snippets/MatchContextBuilder.h"
#include "Carvex/Snippets/SnippetPlaceholders.h"
#include "Carvex/Snippets/TemplateCatalog.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace Carvex;
using namespace BuiltInTemplateHosts;

namespace {

// The suggestion the controller would make at `point`: the template rendered as written.
SnippetSuggestion suggestionAt(const QString& text, qsizetype point, const SnippetTemplate& snippet,
                               const IndentationStyle& unit, FileFormat format) {
    const QString base = MatchContextBuilder::baseIndent(text, point);
    return SnippetSuggestion{snippet, SnippetSuggestion::render(snippet.content, base, unit, format), point,
                             MatchContextBuilder::lastKeyword(text, point, format), base};
}

SnippetTemplate templateWith(const QString& content) {
    SnippetTemplate snippet;
    snippet.id = QStringLiteral("t");
    snippet.content = content;
    return snippet;
}

// The text after acceptance, checking on the way that the ghost is exactly what then follows the
// caret: the text before the point, the ghost, the text after the point.
std::optional<QString> accepted(const QString& text, qsizetype point, const SnippetTemplate& snippet,
                                const IndentationStyle& unit, FileFormat format) {
    const auto insertion = InlineSnippetInsertion::make(text, suggestionAt(text, point, snippet, unit, format), unit,
                                                        format);
    if (!insertion) return std::nullopt;
    EXPECT_EQ(insertion->replaceEnd, point);
    EXPECT_LE(insertion->replaceStart, point);
    QString result = text;
    result.replace(insertion->replaceStart, insertion->replaceEnd - insertion->replaceStart,
                   parseSnippetPlaceholders(insertion->snippetText, insertion->replaceStart).displayText);
    EXPECT_EQ(result, text.first(point) + insertion->ghostText + text.sliced(point)) << result.toStdString();
    return result;
}

TEST(InlineSnippetInsertionTest, FourSpacedKeepsListItemsTogether) {
    EXPECT_EQ(fourSpaced("a:\n  b:\n    - c: 1\n      d: 2\n      e:\n        f: 3\n    - g\n  h: 4"),
              "a:\n    b:\n        - c: 1\n          d: 2\n          e:\n              f: 3\n        - g\n    h: 4");
}

// The caret's line in `text` holding `point`.
QString lineAt(const QString& text, qsizetype point) {
    const qsizetype start = text.lastIndexOf(u'\n', point - 1) + 1;
    qsizetype end = text.indexOf(u'\n', point);
    if (end < 0) end = text.size();
    return text.sliced(start, end - start);
}

// Every built-in body accepted under its trigger reads back, with the trigger's key standing once on
// its line, in two- and four-space YAML.
TEST(InlineSnippetInsertionTest, EveryYamlBodyAcceptedUnderItsTriggerReadsBackWithItsKeyOnce) {
    const std::vector<SnippetTemplate> rows = TemplateCatalog::builtInTemplates("3.0", FileFormat::yaml);
    ASSERT_EQ(rows.size(), 38u);
    for (const int width : {2, 4}) {
        for (const SnippetTemplate& row : rows) {
            SCOPED_TRACE(row.id.toStdString() + " width " + std::to_string(width));
            ASSERT_TRUE(yamlHosts().count(row.id));
            const Host& host = yamlHosts().at(row.id);
            const QString before = QString::fromUtf8(host.before);
            QString prefix = (before.startsWith(u"openapi:") ? QString() : QString::fromUtf8(kYamlHead)) + before +
                             host.indent + host.trigger;
            if (width == 4) prefix = fourSpaced(prefix);
            const QString text = prefix + host.after;
            ASSERT_EQ(parseErrorOf(text, VoziZazIre::Format::yaml), "") << "host\n" << text.toStdString();

            const auto result = accepted(text, prefix.size(), row, IndentationStyle::spaces(width), FileFormat::yaml);
            ASSERT_TRUE(result.has_value());
            EXPECT_EQ(parseErrorOf(*result, VoziZazIre::Format::yaml), "") << result->toStdString();
            const QString trigger = QString::fromUtf8(host.trigger);
            EXPECT_EQ(lineAt(*result, prefix.size()).count(trigger), 1) << result->toStdString();
        }
    }
}

// JSON hosts of the bodies that bring their own key, and of the one that closes its trigger's brace.
const std::map<QString, Host>& ownKeyJsonHosts() {
    static const std::map<QString, Host> hosts = {
        {"info", {"", "  ", "\"info\":", ",\n  \"paths\": {}\n}\n"}},
        {"parameter",
         {"  \"paths\": {\n    \"/items\": {\n      \"get\": {\n        \"parameters\": [\n", "          ", "{",
          "\n        ]\n      }\n    }\n  }\n}\n"}},
        {"parameter-full",
         {"  \"paths\": {\n    \"/items\": {\n      \"get\": {\n        \"parameters\": [\n          {\n", "            ",
          "\"name\":", "\n          }\n        ]\n      }\n    }\n  }\n}\n"}},
        {"schema-object-type", {kJsonSchemas, "        ", "\"type\":", "\n      }\n    }\n  }\n}\n"}},
        {"schema-array-type", {kJsonSchemas, "        ", "\"type\":", "\n      }\n    }\n  }\n}\n"}},
        {"schema-string-enum", {kJsonSchemas, "        ", "\"type\":", "\n      }\n    }\n  }\n}\n"}},
        {"schema-allof-composition", {kJsonSchemas, "        ", "\"allOf\":", "\n      }\n    }\n  }\n}\n"}},
        {"schema-properties-block", {kJsonSchemas, "        ", "\"properties\":", "\n      }\n    }\n  }\n}\n"}},
    };
    return hosts;
}

TEST(InlineSnippetInsertionTest, JsonBodiesAcceptedUnderTheirTriggerReadBackWithTheirKeyOnce) {
    int read = 0;
    for (const int width : {2, 4}) {
        for (const SnippetTemplate& row : TemplateCatalog::builtInTemplates("3.0", FileFormat::json)) {
            SCOPED_TRACE(row.id.toStdString() + " width " + std::to_string(width));
            const bool own = ownKeyJsonHosts().count(row.id) == 1;
            if (!own && !jsonHosts().count(row.id)) continue;
            const Host& host = own ? ownKeyJsonHosts().at(row.id) : jsonHosts().at(row.id);
            QString prefix = QString::fromUtf8(row.id == "info" ? "{\n  \"openapi\": \"3.0.3\",\n" : kJsonHead) +
                             host.before + host.indent;
            // The schema hosts open the schema the body goes into.
            if (own && QByteArray(host.before) == kJsonSchemas) prefix += "\"Pet\": {\n" + QString(host.indent);
            prefix += host.trigger;
            const QString text = prefix + host.after;

            const auto result = accepted(text, prefix.size(), row, IndentationStyle::spaces(width), FileFormat::json);
            ASSERT_TRUE(result.has_value());
            EXPECT_EQ(parseErrorOf(*result, VoziZazIre::Format::json), "") << result->toStdString();
            if (*host.trigger) {
                EXPECT_EQ(lineAt(*result, prefix.size()).count(QString::fromUtf8(host.trigger)), 1)
                    << result->toStdString();
            }
            ++read;
        }
    }
    EXPECT_EQ(read, 2 * 28);
}

struct LayoutRow {
    const char* name;
    QString text;  // the caret at its end
    QString content;
    int width;
    FileFormat format;
    qsizetype replaceStart;
    QString snippet;
    QString ghost;
};

TEST(InlineSnippetInsertionTest, LaysOutBodiesUnderTheirKeyAndListItem) {
    const LayoutRow rows[] = {
        {"own key replaces the typed one; siblings at its column, children a unit in", "    type:",
         "type: object\nproperties:\n  ${1:id}:\n    type: integer", 4, FileFormat::yaml, 4,
         "type: object\n    properties:\n        ${1:id}:\n            type: integer",
         " object\n    properties:\n        id:\n            type: integer"},
        {"own key whose lines are all children", "  info:", "info:\n  title: ${1:T}", 4, FileFormat::yaml, 2,
         "info:\n      title: ${1:T}", "\n      title: T"},
        {"blanks typed after the key stay", "    type:  ", "type: object\nformat: x", 2, FileFormat::yaml, 4,
         "type:  object\n    format: x", "object\n    format: x"},
        {"own key after a dash: siblings at the item's first key", "  - name:", "name: ${1:p}\nin: query", 4,
         FileFormat::yaml, 4, "name: ${1:p}\n    in: query", " p\n    in: query"},
        {"own key after other text on the line", "  x-type:", "type: object\nformat: x", 2, FileFormat::yaml, 4,
         "type: object\n  format: x", " object\n  format: x"},
        {"own JSON key keeps its quotes and column", "  {\"type\":", "\"type\": \"object\",\n\"format\": \"x\"", 2,
         FileFormat::json, 3, "\"type\": \"object\",\n   \"format\": \"x\"", " \"object\",\n   \"format\": \"x\""},
        {"a key the line does not end with is inserted after it", "    kind:", "type: object\nformat: x", 2,
         FileFormat::yaml, 9, "type: object\n      format: x", "type: object\n      format: x"},
        {"a key that is a field cannot have been typed", "    ${1:k}:", "${1:k}: v\nw: 1", 2, FileFormat::yaml, 11,
         "${1:k}: v\n      w: 1", "k: v\n      w: 1"},
        {"item continued by the body: later keys at its first key", "    -", " name: ${1:p}\nin: q\nschema:\n  type: s",
         4, FileFormat::yaml, 5, " name: ${1:p}\n      in: q\n      schema:\n          type: s",
         " name: p\n      in: q\n      schema:\n          type: s"},
        {"item value after its dash: siblings at its first key", "  - url:", " ${1:u}\n    description: d", 4,
         FileFormat::yaml, 8, " ${1:u}\n    description: d", " u\n    description: d"},
        {"value under an item's key goes a unit past that key", "  - get:", "\n  summary: s", 2, FileFormat::yaml, 8,
         "\n      summary: s", "\n      summary: s"},
        {"items inside the body keep their keys together", "  get:", "\n  parameters:\n    - name: p\n      in: q", 4,
         FileFormat::yaml, 6, "\n      parameters:\n          - name: p\n            in: q",
         "\n      parameters:\n          - name: p\n            in: q"},
        {"nested dashes anchor at the innermost key", "a:", "\n  - - k: 1\n      j: 2", 4, FileFormat::yaml, 2,
         "\n    - - k: 1\n        j: 2", "\n    - - k: 1\n        j: 2"},
        {"a bare dash keeps the body as written", "  -", "\n  name: n", 4, FileFormat::yaml, 3, "\n      name: n",
         "\n      name: n"},
        {"one line is kept", "  name:", " ${1:v}", 2, FileFormat::yaml, 7, " ${1:v}", " v"},
        {"own quoted key holding a colon is one key", "  'a: b':", "'a: b': 1\nc: 2", 2, FileFormat::yaml, 2,
         "'a: b': 1\n  c: 2", " 1\n  c: 2"},
    };
    for (const LayoutRow& row : rows) {
        SCOPED_TRACE(row.name);
        const SnippetTemplate snippet = templateWith(row.content);
        const IndentationStyle unit = IndentationStyle::spaces(row.width);
        const auto insertion = InlineSnippetInsertion::make(
            row.text, suggestionAt(row.text, row.text.size(), snippet, unit, row.format), unit, row.format);
        ASSERT_TRUE(insertion.has_value());
        EXPECT_EQ(insertion->replaceStart, row.replaceStart);
        EXPECT_EQ(insertion->replaceEnd, row.text.size());
        EXPECT_EQ(insertion->snippetText, row.snippet);
        EXPECT_EQ(insertion->ghostText, row.ghost);
    }
}

// Where nothing needs mending the snippet is the body as rendered.
TEST(InlineSnippetInsertionTest, UnmendedBodiesAreRenderedAsWritten) {
    int same = 0;
    for (const FileFormat format : {FileFormat::yaml, FileFormat::json}) {
        for (const SnippetTemplate& row : TemplateCatalog::builtInTemplates("3.0", format)) {
            const QString text = QStringLiteral("    key");
            for (const IndentationStyle& unit :
                 {IndentationStyle::spaces(2), IndentationStyle::spaces(4), IndentationStyle::tabs()}) {
                const auto insertion = InlineSnippetInsertion::make(
                    text, suggestionAt(text, text.size(), row, unit, format), unit, format);
                ASSERT_TRUE(insertion.has_value());
                const bool listItems = format == FileFormat::yaml && row.content.contains(u"- ") &&
                                       row.content.indexOf(u"- ") < row.content.lastIndexOf(u'\n') &&
                                       unit != IndentationStyle::spaces(2);
                if (listItems) continue;
                EXPECT_EQ(insertion->snippetText, SnippetSuggestion::render(row.content, u"    ", unit, format))
                    << row.id.toStdString();
                ++same;
            }
        }
    }
    EXPECT_GT(same, 150);
}

struct EdgeRow {
    const char* name;
    QString text;
    qsizetype point;
    QString content;
    bool offered;
};

TEST(InlineSnippetInsertionTest, PointsOutsideTheTextOrInsideACharacterOfferNothing) {
    const QString pair = QString::fromUtf16(u"a: \U0001F600");
    const EdgeRow rows[] = {
        {"point past the end", "a:", 3, "\n  b: 1", false},
        {"negative point", "a:", -1, "\n  b: 1", false},
        {"inside a surrogate pair", pair, pair.size() - 1, "\n  b: 1", false},
        {"after a surrogate pair", pair, pair.size(), "\n  b: 1", true},
        {"before a surrogate pair", pair, pair.size() - 2, "\n  b: 1", true},
        {"a lone high surrogate at the end", QString::fromUtf16(u"a: ") + QChar(0xD83D), 4, " x", true},
        {"empty template", "a:", 2, "", false},
        {"the typed key is the whole body", "  type:", 7, "type:", false},
        {"empty text", "", 0, "\n  b: 1", true},
        {"empty defaults stand as written", "a:", 2, "\n  b: ${1:}\n  c: ${2:}", true},
    };
    for (const EdgeRow& row : rows) {
        SCOPED_TRACE(row.name);
        const SnippetTemplate snippet = templateWith(row.content);
        SnippetSuggestion suggestion{snippet, row.content, row.point, {}, {}};
        const auto insertion =
            InlineSnippetInsertion::make(row.text, suggestion, IndentationStyle::spaces(2), FileFormat::yaml);
        EXPECT_EQ(insertion.has_value(), row.offered);
        if (insertion && row.point >= 0 && row.point <= row.text.size()) {
            EXPECT_EQ(accepted(row.text, row.point, snippet, IndentationStyle::spaces(2), FileFormat::yaml).has_value(),
                      true);
        }
    }
}

TEST(InlineSnippetInsertionTest, TriggerAtTheEndOfATenMegabyteLine) {
    const qsizetype tenMegabytes = 10 * 1024 * 1024;
    const SnippetTemplate objectType = TemplateCatalog::builtInTemplates("3.0", FileFormat::yaml)[26];
    ASSERT_EQ(objectType.id, "schema-object-type");

    // A long word before the key: the key is replaced, its siblings stand under the word.
    const QString words = "schemas:\n  Pet:\n    " + QString(tenMegabytes, u'x') + " type:";
    const auto afterWord = InlineSnippetInsertion::make(
        words, suggestionAt(words, words.size(), objectType, IndentationStyle::spaces(2), FileFormat::yaml),
        IndentationStyle::spaces(2), FileFormat::yaml);
    ASSERT_TRUE(afterWord.has_value());
    EXPECT_EQ(afterWord->replaceStart, words.size() - 5);
    EXPECT_TRUE(afterWord->snippetText.startsWith(u"type: object\n    description: "));

    // Ten megabytes of dashes and blanks: the item's key is far out, but the line is read once.
    const QString dashes = QString(tenMegabytes / 2, u' ') + "- " + "name:";
    const SnippetTemplate parameterFull = TemplateCatalog::builtInTemplates("3.0", FileFormat::yaml)[6];
    ASSERT_EQ(parameterFull.id, "parameter-full");
    EXPECT_FALSE(InlineSnippetInsertion::make(
                     dashes,
                     suggestionAt(dashes, dashes.size(), parameterFull, IndentationStyle::spaces(2), FileFormat::yaml),
                     IndentationStyle::spaces(2), FileFormat::yaml)
                     .has_value());

    // Indentation of ten megabytes would stand before every later line: not offered.
    const QString blanks = QString(tenMegabytes, u' ') + "get:";
    const SnippetTemplate get = TemplateCatalog::builtInTemplates("3.0", FileFormat::yaml)[1];
    EXPECT_FALSE(InlineSnippetInsertion::make(
                     blanks, suggestionAt(blanks, blanks.size(), get, IndentationStyle::spaces(2), FileFormat::yaml),
                     IndentationStyle::spaces(2), FileFormat::yaml)
                     .has_value());
    // A deep but sane indentation is still offered.
    const QString deep = QString(400, u' ') + "get:";
    EXPECT_TRUE(InlineSnippetInsertion::make(
                    deep, suggestionAt(deep, deep.size(), get, IndentationStyle::spaces(2), FileFormat::yaml),
                    IndentationStyle::spaces(2), FileFormat::yaml)
                    .has_value());
}

}  // namespace
