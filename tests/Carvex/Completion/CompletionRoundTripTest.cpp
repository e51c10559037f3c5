#include "Carvex/Completion/CompletionCoordinator.h"
#include "Carvex/Completion/CompletionInsertion.h"
#include "Carvex/Completion/ScalarNameText.h"
#include "Carvex/Conversion/YAMLTextEmitter.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Editor/RefLinkHandler.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"
#include "Carvex/ModelAdapters/RefLinkDetector.h"
#include "Carvex/ModelAdapters/RefLocationResolver.h"
#include "kit/facade/OpenApiParser.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace CarvexTest {
namespace {

using namespace Carvex;

// The labels of the rows offered, in their order.
QStringList labelsOf(const CompletionResult& result) {
    QStringList labels;
    for (const CompletionItem& item : result.items) {
        labels << item.label;
    }
    return labels;
}

// The library's parse of an edited text, as the facade reads a file of that format.
VoziZazIre::ParseResult parsedText(const QString& text, bool json) {
    const QByteArray utf8 = text.toUtf8();
    return VoziZazIre::OpenApiParser().parse(std::string_view(utf8.constData(), std::size_t(utf8.size())),
                                            json ? VoziZazIre::Format::json : VoziZazIre::Format::yaml);
}

// In each YAML description, a plain key the engine proposes as written, cut to its first two
// characters and completed with its own row, gives back the original text.
TEST(CompletionRoundTripTest, KeysCutShortAndCompletedReadAsWritten) {
    const QDir corpus(CARVEX_SHARED_DIR "/corpus/oai");
    if (!corpus.exists()) {
        GTEST_SKIP() << "no corpus";
    }
    const CompletionCoordinator::Engine engine = CompletionCoordinator::defaultEngine();
    const QRegularExpression keyLine(QStringLiteral("^[ ]*(?:- )?([A-Za-z_$][A-Za-z0-9_$-]{2,}):(?: |$)"),
                                     QRegularExpression::MultilineOption);
    int completed = 0;
    for (const char* version : {"v3.0", "v3.1"}) {
        const QDir folder(corpus.filePath(QString::fromLatin1(version)));
        for (const QString& name : folder.entryList({QStringLiteral("*.yaml")}, QDir::Files, QDir::Name)) {
            QFile file(folder.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QString original = QString::fromUtf8(file.readAll());
            int keys = 0;
            for (auto match = keyLine.globalMatch(original); match.hasNext() && keys < 120; ++keys) {
                const QRegularExpressionMatch found = match.next();
                const QString key = found.captured(1);
                const qsizetype start = found.capturedStart(1);
                QString text = original;
                text.remove(start + 2, key.size() - 2);
                const qsizetype caret = start + 2;
                const CompletionResult result = engine(text, caret, DocumentFormat::yaml, {});
                const auto row = std::find_if(result.items.begin(), result.items.end(), [&](const CompletionItem& item) {
                    return item.label == key && item.insertText == key && item.kind != CompletionItemKind::snippet;
                });
                if (row == result.items.end()) {
                    continue;
                }
                SCOPED_TRACE((name + u' ' + key).toStdString());
                const auto insertion =
                    CompletionInsertion::ordinaryInsertion(text, TextRange{caret, 0}, DocumentLanguage::yaml, *row);
                ASSERT_TRUE(insertion);
                text.replace(insertion->range.location, insertion->range.length, insertion->text);
                EXPECT_EQ(text, original);
                EXPECT_EQ(insertion->caret, start + key.size());
                ++completed;
            }
        }
    }
    EXPECT_GT(completed, 50);
}


// The `required` list of the schema "S" as the library reads the text; a message when it reads none.
std::variant<std::vector<std::string>, std::string> requiredNames(const QString& text, VoziZazIre::Format format) {
    const QByteArray utf8 = text.toUtf8();
    try {
        const VoziZazIre::ParseResult parsed =
            VoziZazIre::OpenApiParser().parse(std::string_view(utf8.constData(), std::size_t(utf8.size())), format);
        if (!parsed.errors().empty()) {
            return parsed.errors().front().description();
        }
        const VoziZazIreCore::GenericNode* schema = (*(*(*parsed.genericTree)["components"])["schemas"])["S"];
        const VoziZazIreCore::GenericNode* list = schema != nullptr ? (*schema)["required"] : nullptr;
        if (list == nullptr || !list->arrayValue()) {
            return std::string("no required list");
        }
        std::vector<std::string> names;
        for (const VoziZazIreCore::GenericNode* item : *list->arrayValue()) {
            names.push_back(std::string(item->stringValue().value_or("<not a string>")));
        }
        return names;
    } catch (const std::exception& error) {
        return std::string(error.what());
    }
}

// A schema declares one property whose name holds what a plain scalar or a JSON string cannot write
// as it is. On an item of the schema's `required` list the name is offered whole, and the item it
// writes (on an empty item, or inside a string the author opened) reads back as the name.
TEST(CompletionRoundTripTest, RequiredNamesAreOfferedWholeAndWrittenSoTheyReadBack) {
    struct Name {
        const char* name;
        const char* yaml;  // the key as the YAML file writes it
        const char* json;  // the key as the JSON file writes it
    };
    const Name names[] = {
        {"a:b", R"("a:b")", R"("a:b")"},
        {"a:b", "a:b", R"("a\u003ab")"},
        {"c: d", R"('c: d')", R"("c: d")"},
        {"x #y", R"("x #y")", R"("x #y")"},
        {R"(say "hi")", R"('say "hi"')", R"("say \"hi\"")"},
        {"it's", R"('it''s')", R"("it's")"},
        {R"(back\slash "q")", R"("back\\slash \"q\"")", R"("back\\slash \"q\"")"},
        {"- x", R"("- x")", R"("- x")"},
        {"-x", "-x", R"("-x")"},
        {"? q", R"("? q")", R"("? q")"},
        {"*star", R"("*star")", R"("*star")"},
        {"&anchor", R"('&anchor')", R"("&anchor")"},
        {"!bang", R"("!bang")", R"("!bang")"},
        {"@at", R"("@at")", R"("@at")"},
        {"[open", R"("[open")", R"("[open")"},
        {"{open", R"("{open")", R"("{open")"},
        {"%pc", R"('%pc')", R"("%pc")"},
        {" both ends ", R"(" both ends ")", R"(" both ends ")"},
        {"true", R"('true')", R"("true")"},
        {"12", R"("12")", R"("12")"},
        {"tab\there", R"("tab\there")", R"("tab\there")"},
        {"Größe 名前", "Größe 名前", R"("Größe 名前")"},
        {"Aé😀", R"("\x41\u00e9\U0001F600")", R"("A\u00e9\ud83d\ude00")"},
    };
    struct Shape {
        const char* name;
        DocumentFormat format;
        int indent;
        const char* item;  // the required item, the caret at ‸
        bool flow = false;  // a YAML item in a flow sequence on the key's line
    };
    const Shape shapes[] = {
        {"yaml, two spaces", DocumentFormat::yaml, 2, "- ‸"},
        {"yaml, four spaces", DocumentFormat::yaml, 4, "- ‸"},
        {"yaml, in double quotes", DocumentFormat::yaml, 2, "- \"‸\""},
        {"yaml, in single quotes", DocumentFormat::yaml, 4, "- '‸'"},
        {"yaml, in a flow sequence", DocumentFormat::yaml, 2, "[‸]", true},
        {"yaml, in single quotes in a flow sequence", DocumentFormat::yaml, 4, "[ '‸' ]", true},
        {"json", DocumentFormat::json, 2, "‸"},
        {"json, in a string", DocumentFormat::json, 2, "\"‸\""},
    };
    const CompletionCoordinator::Engine engine = CompletionCoordinator::defaultEngine();
    for (const Shape& shape : shapes) {
        for (const Name& row : names) {
            const QString name = QString::fromUtf8(row.name);
            SCOPED_TRACE(std::string(shape.name) + ": " + row.name);
            const bool json = shape.format == DocumentFormat::json;
            const QString u(shape.indent, u' ');
            QString text = json ? QStringLiteral("{\n\"openapi\": \"3.1.0\",\n\"info\": {\"title\": \"t\", \"version\": \"1\"},\n"
                                                 "\"paths\": {},\n\"components\": {\n\"schemas\": {\n\"S\": {\n"
                                                 "\"type\": \"object\",\n\"properties\": {\n%1: {\"type\": \"string\"}\n},\n"
                                                 "\"required\": [%2]\n}\n}\n}\n}\n")
                                : QStringLiteral("openapi: 3.1.0\ninfo:\n_title: t\n_version: '1'\npaths: {}\ncomponents:\n"
                                                 "_schemas:\n__S:\n___type: object\n___properties:\n____%1:\n"
                                                 "_____type: string\n___required:%2\n")
                                      .replace(u'_', u);
            const QString item = QString::fromUtf8(shape.item);
            text = text.arg(QString::fromUtf8(json ? row.json : row.yaml),
                            json ? item : (shape.flow ? QStringLiteral(" ") : u'\n' + u + u + u + u) + item);
            const qsizetype caret = text.indexOf(QChar(0x2038));
            text.remove(caret, 1);

            const CompletionResult result = engine(text, caret, shape.format, {});
            const QStringList labels = labelsOf(result);
            ASSERT_EQ(labels, QStringList{name}) << "offered as it is named";
            const auto insertion = CompletionInsertion::ordinaryInsertion(
                text, TextRange{caret, 0}, json ? DocumentLanguage::json : DocumentLanguage::yaml, result.items.front());
            ASSERT_TRUE(insertion);
            text.replace(insertion->range.location, insertion->range.length, insertion->text);
            const auto read = requiredNames(text, json ? VoziZazIre::Format::json : VoziZazIre::Format::yaml);
            ASSERT_TRUE(std::holds_alternative<std::vector<std::string>>(read))
                << std::get<std::string>(read) << "\n" << text.toStdString();
            EXPECT_EQ(std::get<std::vector<std::string>>(read), std::vector<std::string>{row.name}) << text.toStdString();

            // Listed already, however it is written, it is not offered again.
            const qsizetype marker = item.indexOf(QChar(0x2038));
            const bool closedByQuote = marker + 1 < item.size() && LineReading::isQuote(item[marker + 1]);
            const qsizetype end = caret + insertion->text.size() - insertion->range.length + (closedByQuote ? 1 : 0);
            const QString again =
                json || shape.flow ? QStringLiteral(", ") : QStringLiteral("\n") + QString(shape.indent * 4, u' ') + "- ";
            QString listed = text;
            listed.insert(end, again);
            const qsizetype next = end + again.size();
            EXPECT_TRUE(engine(listed, next, shape.format, {}).items.empty()) << listed.toStdString();
        }
    }
}

// A schema whose name a pointer must escape ("/" as "~1", "~" as "~0"), or that a JSON or YAML string
// must escape, is proposed with its escaped pointer, written so the text reads back as that pointer,
// and the pointer leads to the schema: the library finds no broken reference, and the editor's link
// (detected, read as its quoting reads, resolved) lands on the schema. YAML documents indented by
// two, three and four spaces, with plain and quoted keys.
TEST(CompletionRoundTripTest, ReferencePointersAreEscapedAndResolve) {
    struct Name {
        const char* name;
        const char* token;  // the name as a pointer token
        bool plain;         // a plain YAML key the index reads (no blank, no leading quote)
    };
    const Name names[] = {
        {"a/b", "a~1b", true},      {"x~y", "x~0y", true},   {"~1", "~01", true},
        {"a b", "a b", true},       {"Pet", "Pet", true},    {"é/ü", "é~1ü", true},
        {R"("q")", R"("q")", false}, {R"(b\s)", R"(b\s)", true}, {"it's", "it's", true},
        {"a:b", "a:b", true},       {"c: d", "c: d", false}, {"read:pets", "read:pets", true},
    };
    enum class Key { plain, doubleQuoted, singleQuoted };
    struct Shape {
        const char* name;
        DocumentFormat format;
        int indent;
        Key key;
        const char* ref;  // the $ref value: the caret at ‸, the first character of the token typed at ^
    };
    const Shape shapes[] = {
        {"yaml 2, plain keys", DocumentFormat::yaml, 2, Key::plain, "‸"},
        {"yaml 3, plain keys", DocumentFormat::yaml, 3, Key::plain, "‸"},
        {"yaml 4, plain keys", DocumentFormat::yaml, 4, Key::plain, "‸"},
        {"yaml 2, plain keys, name typed", DocumentFormat::yaml, 2, Key::plain, "^‸"},
        {"yaml 4, single-quoted keys, name typed", DocumentFormat::yaml, 4, Key::singleQuoted, "^‸"},
        {"yaml 2, double-quoted keys, in double quotes", DocumentFormat::yaml, 2, Key::doubleQuoted, "\"‸\""},
        {"yaml 4, single-quoted keys, in single quotes", DocumentFormat::yaml, 4, Key::singleQuoted, "'‸'"},
        {"yaml 3, double-quoted keys, name typed", DocumentFormat::yaml, 3, Key::doubleQuoted, "\"^‸\""},
        {"json", DocumentFormat::json, 2, Key::doubleQuoted, "‸"},
        {"json, in a string", DocumentFormat::json, 2, Key::doubleQuoted, "\"‸\""},
        {"json, pointer typed", DocumentFormat::json, 2, Key::doubleQuoted, "\"#/components/schemas/^‸\""},
    };
    const CompletionCoordinator::Engine engine = CompletionCoordinator::defaultEngine();
    for (const Shape& shape : shapes) {
        for (const Name& row : names) {
            const QString token = QString::fromUtf8(row.token);
            const bool typed = std::string_view(shape.ref).find('^') != std::string_view::npos;
            if ((shape.key == Key::plain && !row.plain) || (typed && (token[0] == u'"' || token[0] == u'\\'))) {
                continue;
            }
            SCOPED_TRACE(std::string(shape.name) + ": " + row.name);
            const bool json = shape.format == DocumentFormat::json;
            const QString name = QString::fromUtf8(row.name);
            const QString pointer = QStringLiteral("#/components/schemas/") + token;
            QString key = name;
            if (json) {
                key = ScalarNameText::jsonString(name);
            } else if (shape.key == Key::doubleQuoted) {
                key = QString::fromStdString(YAMLTextEmitter::quoted(row.name));
            } else if (shape.key == Key::singleQuoted) {
                key = u'\'' + ScalarNameText::yamlQuotedContent(name, u'\'') + u'\'';
            }
            QString text =
                json ? QStringLiteral("{\n\"openapi\": \"3.1.0\",\n\"info\": {\"title\": \"t\", \"version\": \"1\"},\n"
                                      "\"paths\": {},\n\"components\": {\n\"schemas\": {\n\"Holder\": {\"type\": \"object\",\n"
                                      "\"properties\": {\"p\": {\"$ref\": %2}}},\n%1: {\"description\": \"here\"}\n}\n}\n}\n")
                     : QStringLiteral("openapi: 3.1.0\ninfo:\n_title: t\n_version: '1'\npaths: {}\ncomponents:\n"
                                      "_schemas:\n__Holder:\n___type: object\n___properties:\n____p:\n"
                                      "_____$ref: %2\n__%1:\n___description: here\n")
                           .replace(u'_', QString(shape.indent, u' '));
            text = text.arg(key, QString::fromUtf8(shape.ref).replace(u'^', token.first(1)));
            const qsizetype caret = text.indexOf(QChar(0x2038));
            text.remove(caret, 1);

            const CompletionResult result = engine(text, caret, shape.format, {});
            const auto item = std::find_if(result.items.begin(), result.items.end(), [&](const CompletionItem& offer) {
                return offer.description == QStringLiteral("Schema: ") + name;
            });
            const QStringList offered = labelsOf(result);
            ASSERT_NE(item, result.items.end()) << offered.join(u' ').toStdString() << "\n" << text.toStdString();
            EXPECT_EQ(item->label, pointer);
            if (typed && token[0].isLetterOrNumber()) {
                // A typed word narrows the list by the names as they read.
                for (const CompletionItem& candidate : result.items) {
                    const QString offeredName = candidate.description.value_or(QString()).sliced(8);
                    EXPECT_TRUE(offeredName.startsWith(token.first(1), Qt::CaseInsensitive))
                        << offeredName.toStdString();
                }
            }
            const DocumentLanguage language = json ? DocumentLanguage::json : DocumentLanguage::yaml;
            const auto insertion = CompletionInsertion::ordinaryInsertion(text, TextRange{caret, 0}, language, *item);
            ASSERT_TRUE(insertion);
            text.replace(insertion->range.location, insertion->range.length, insertion->text);

            std::optional<VoziZazIre::ParseResult> parsed;
            ASSERT_NO_THROW(parsed.emplace(parsedText(text, json))) << text.toStdString();
            for (const VoziZazIreCore::Diagnostic& finding : parsed->diagnostics) {
                EXPECT_EQ(finding.message().find("REF-002"), std::string::npos)
                    << finding.message() << "\n" << text.toStdString();
            }
            const VoziZazIreCore::GenericNode* schemas = (*(*parsed->genericTree)["components"])["schemas"];
            ASSERT_NE((*schemas)[row.name], nullptr) << "the key reads as the name";
            const VoziZazIreCore::GenericNode* ref = (*(*(*(*schemas)["Holder"])["properties"])["p"])["$ref"];
            ASSERT_NE(ref, nullptr);
            EXPECT_EQ(ref->stringValue().value_or(""), pointer.toStdString()) << text.toStdString();

            // Ctrl-click: the link over the written value, read as its quoting reads, lands on the schema.
            const std::vector<RefLink> links = RefLinkDetector().detectLinks(text, language);
            const auto link = std::find_if(links.begin(), links.end(), [&](const RefLink& candidate) {
                return candidate.fullRange.location <= insertion->range.location
                    && insertion->range.location < candidate.fullRange.end();
            });
            ASSERT_NE(link, links.end()) << text.toStdString();
            const QString target =
                RefLinkHandler::targetPointer(text, link->valueRange.location, link->refPath, language);
            EXPECT_EQ(target, pointer);
            const ParsedOpenAPIModel model(parsed->document);
            const auto start = RefLocationResolver().resolveSourceLocation(target, model);
            ASSERT_TRUE(start) << "target not found";
            const auto position = RefLocationResolver::textPosition(*start, text);
            ASSERT_TRUE(position);
            const QString landing = json ? QStringLiteral("{\"description\"") : QStringLiteral("description: here");
            EXPECT_TRUE(text.sliced(*position).startsWith(landing)) << text.sliced(*position).left(30).toStdString();
        }
    }
}

// What completion writes for a value or a name typed after an opening quote (YAML single or double
// quotes, JSON) reads back as the row's value: a `$ref` pointer, a `required` entry, an enum value for
// `default`, a schema type. Nothing typed, the first character typed, or the closing quote already after
// the caret; YAML indented by two, three and four spaces, and JSON.
TEST(CompletionRoundTripTest, ValuesTypedAfterAnOpeningQuoteAreWrittenWholeAndReadBack) {
    struct Value {
        int slot;  // %1 $ref, %2 default, %3 type, %4 required
        const char* label;
    };
    const Value values[] = {{1, "#/components/schemas/c: d"}, {1, "#/components/schemas/it's"}, {2, "c: d"},
                            {2, "'q'"}, {2, "it's"}, {3, "string"}, {4, "c: d"}, {4, "'q'"}, {4, "it's"}};
    const char* const keys[] = {"$ref", "default", "type", ""};
    const CompletionCoordinator::Engine engine = CompletionCoordinator::defaultEngine();
    int written = 0;
    for (const int indent : {2, 3, 4, 0}) {  // 0: JSON
        const bool json = indent == 0;
        for (const QChar quote : {u'"', u'\''}) {
            if (json && quote == u'\'') {
                continue;
            }
            for (const Value& value : values) {
                const QString label = QString::fromUtf8(value.label);
                const qsizetype first = value.slot == 1 ? label.lastIndexOf(u'/') + 1 : 0;
                for (const int typed : {0, 1, 2}) {  // nothing, the first character, the closing quote after
                    if (typed == 1 && !label[first].isLetter()) {
                        continue;
                    }
                    const QString line = quote + (typed == 1 ? label.first(first + 1) : QString()) + QChar(0x2038) +
                                         (typed == 2 ? QString(quote) : QString());
                    QStringList lines;
                    for (int slot = 1; slot <= 4; ++slot) {
                        const QString key = QString::fromUtf8(keys[slot - 1]);
                        const QString lead = key.isEmpty() ? (json ? QString() : QStringLiteral("- "))
                                                           : (json ? u'"' + key + u'"' : key) + QStringLiteral(": ");
                        lines << (slot == value.slot ? lead + line
                                  : slot == 4        ? (json ? QStringLiteral("\"k\"") : QStringLiteral("- k"))
                                                     : (json ? QStringLiteral("\"type\": \"string\"") : QStringLiteral("type: string")));
                    }
                    QString text =
                        json ? QStringLiteral("{\n\"openapi\": \"3.1.0\",\n\"info\": {\"title\": \"t\", \"version\": \"1\"},\n"
                                              "\"paths\": {},\n\"components\": {\n\"schemas\": {\n\"S\": {\n"
                                              "\"properties\": {\n\"p\": {\n%1\n},\n\"k\": {\n\"enum\": [\"c: d\", \"'q'\", \"it's\"],\n"
                                              "%2\n},\n\"t\": {\n%3\n},\n\"c: d\": {},\n\"'q'\": {},\n\"it's\": {}\n},\n"
                                              "\"required\": [\n%4\n]\n},\n\"c: d\": {},\n\"it's\": {}\n}\n}\n}\n")
                             : QStringLiteral("openapi: 3.1.0\ninfo:\n_title: t\n_version: '1'\npaths: {}\ncomponents:\n"
                                              "_schemas:\n__S:\n___properties:\n____p:\n_____%1\n____k:\n_____enum:\n"
                                              "______- 'c: d'\n______- \"'q'\"\n______- \"it's\"\n_____%2\n____t:\n_____%3\n"
                                              "____'c: d': {}\n____\"'q'\": {}\n____it's: {}\n___required:\n____%4\n"
                                              "__'c: d': {}\n__\"it's\": {}\n")
                                   .replace(u'_', QString(indent, u' '));
                    text = text.arg(lines[0], lines[1], lines[2], lines[3]);
                    const qsizetype caret = text.indexOf(QChar(0x2038));
                    text.remove(caret, 1);
                    SCOPED_TRACE(std::to_string(indent) + " " + value.label + "\n" + text.toStdString());

                    const CompletionResult result = engine(text, caret, json ? DocumentFormat::json : DocumentFormat::yaml, {});
                    const auto item = std::find_if(result.items.begin(), result.items.end(),
                                                   [&](const CompletionItem& offer) { return offer.label == label; });
                    ASSERT_NE(item, result.items.end());
                    const auto insertion = CompletionInsertion::ordinaryInsertion(
                        text, TextRange{caret, 0}, json ? DocumentLanguage::json : DocumentLanguage::yaml, *item);
                    ASSERT_TRUE(insertion);
                    text.replace(insertion->range.location, insertion->range.length, insertion->text);
                    EXPECT_EQ(insertion->caret, insertion->range.location + insertion->text.size()) << "after the scalar";

                    std::optional<VoziZazIre::ParseResult> parsed;
                    ASSERT_NO_THROW(parsed.emplace(parsedText(text, json)))
                        << text.toStdString();
                    for (const VoziZazIreCore::Diagnostic& finding : parsed->diagnostics) {
                        EXPECT_EQ(finding.message().find("REF-"), std::string::npos) << finding.message();
                    }
                    const VoziZazIreCore::GenericNode* schema = (*(*(*parsed->genericTree)["components"])["schemas"])["S"];
                    const VoziZazIreCore::GenericNode* properties = (*schema)["properties"];
                    const VoziZazIreCore::GenericNode* node = value.slot == 1 ? (*(*properties)["p"])["$ref"]
                                                            : value.slot == 2 ? (*(*properties)["k"])["default"]
                                                            : value.slot == 3 ? (*(*properties)["t"])["type"]
                                                                              : (*(*schema)["required"])[0];
                    ASSERT_NE(node, nullptr) << text.toStdString();
                    EXPECT_EQ(node->stringValue().value_or("<not a string>"), value.label) << text.toStdString();
                    ++written;
                }
            }
        }
    }
    EXPECT_GT(written, 150);
}

// A schema lists enum values that a JSON string or a YAML scalar must escape. On its `default` each is
// offered as it reads, and the value written reads back as that value: in JSON with the list one value
// to a line or on the key's line, in YAML at two, three and four spaces, outside a string and inside
// a quote the author opened.
TEST(CompletionRoundTripTest, EnumValuesAreOfferedAsTheyReadAndWrittenSoTheyReadBack) {
    const char* values[] = {R"("dq")", "it's", R"(a\b)", "c: d", "x, y", "true", "plain"};
    struct Shape {
        const char* name;
        DocumentFormat format;
        int indent;
        bool inline_;       // JSON: the list on the key's line
        const char* value;  // the default's value, the caret at ‸
    };
    const Shape shapes[] = {
        {"json, one value to a line", DocumentFormat::json, 2, false, "‸"},
        {"json, inline", DocumentFormat::json, 2, true, "‸"},
        {"json, in a string", DocumentFormat::json, 2, false, "\"‸\""},
        {"yaml 2", DocumentFormat::yaml, 2, false, "‸"},
        {"yaml 3", DocumentFormat::yaml, 3, false, "‸"},
        {"yaml 4, in double quotes", DocumentFormat::yaml, 4, false, "\"‸\""},
        {"yaml 2, in single quotes", DocumentFormat::yaml, 2, false, "'‸'"},
    };
    const CompletionCoordinator::Engine engine = CompletionCoordinator::defaultEngine();
    for (const Shape& shape : shapes) {
        const bool json = shape.format == DocumentFormat::json;
        QStringList listed;
        QStringList expected;
        for (const char* value : values) {
            const QString name = QString::fromUtf8(value);
            expected << name;
            listed << (json ? ScalarNameText::jsonString(name) : ScalarNameText::yamlScalar(name));
        }
        for (const char* value : values) {
            SCOPED_TRACE(std::string(shape.name) + ": " + value);
            QString text;
            if (json) {
                const QString list = shape.inline_ ? listed.join(QStringLiteral(", "))
                                                   : u'\n' + listed.join(QStringLiteral(",\n")) + u'\n';
                text = QStringLiteral("{\n\"openapi\": \"3.1.0\",\n\"info\": {\"title\": \"t\", \"version\": \"1\"},\n"
                                      "\"paths\": {},\n\"components\": {\n\"schemas\": {\n\"S\": {\n"
                                      "\"type\": \"string\",\n\"enum\": [%1],\n\"default\": %2\n}\n}\n}\n}\n")
                           .arg(list, QString::fromUtf8(shape.value));
            } else {
                const QString u(shape.indent, u' ');
                text = QStringLiteral("openapi: 3.1.0\ninfo:\n_title: t\n_version: '1'\npaths: {}\ncomponents:\n"
                                      "_schemas:\n__S:\n___type: string\n___enum:\n%1___default: %2\n")
                           .replace(u'_', u);
                QString items;
                for (const QString& item : listed) {
                    items += QString(shape.indent * 4, u' ') + "- " + item + u'\n';
                }
                text = text.arg(items, QString::fromUtf8(shape.value));
            }
            const qsizetype caret = text.indexOf(QChar(0x2038));
            text.remove(caret, 1);

            const CompletionResult result = engine(text, caret, shape.format, {});
            QStringList labels = labelsOf(result);
            labels.sort();
            expected.sort();
            ASSERT_EQ(labels, expected) << text.toStdString();
            const QString wanted = QString::fromUtf8(value);
            const auto row = std::find_if(result.items.begin(), result.items.end(),
                                          [&](const CompletionItem& item) { return item.label == wanted; });
            const auto insertion = CompletionInsertion::ordinaryInsertion(
                text, TextRange{caret, 0}, json ? DocumentLanguage::json : DocumentLanguage::yaml, *row);
            ASSERT_TRUE(insertion);
            text.replace(insertion->range.location, insertion->range.length, insertion->text);

            std::optional<VoziZazIre::ParseResult> parsed;
            ASSERT_NO_THROW(parsed.emplace(parsedText(text, json)))
                << text.toStdString();
            const VoziZazIreCore::GenericNode* schema = (*(*(*parsed->genericTree)["components"])["schemas"])["S"];
            ASSERT_NE(schema, nullptr);
            const VoziZazIreCore::GenericNode* written = (*schema)["default"];
            ASSERT_NE(written, nullptr) << text.toStdString();
            EXPECT_EQ(written->stringValue().value_or("<not a string>"), std::string(value)) << text.toStdString();
        }
    }
}

// A plain `$ref` value typed whole, a name holding a blank or a colon, narrows the list as one name and
// is replaced whole by the pointer chosen, which reads back with no REF finding; in a list item too.
TEST(CompletionRoundTripTest, PlainReferenceValueIsNarrowedAndReplacedWhole) {
    struct Row {
        const char* typed;  // the $ref value, the caret at ‸
        const char* name;   // the one schema offered
        const char* written;
        const char* lead = "$ref: ";  // what stands before the value, "_" an indentation step
    };
    const Row rows[] = {
        {"a b‸", "a b", "\"#/components/schemas/a b\""},
        {"a:‸", "a:b", "\"#/components/schemas/a:b\""},
        {"P‸ # note", "Pet", "\"#/components/schemas/Pet\" # note"},
        {"My P‸", "My Pet", "\"#/components/schemas/My Pet\"", "allOf:\n______- $ref: "},
    };
    const CompletionCoordinator::Engine engine = CompletionCoordinator::defaultEngine();
    for (const int indent : {2, 4}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::to_string(indent) + ": " + row.typed);
            const QString lead = QStringLiteral("_____") + QString::fromUtf8(row.lead);
            QString text = QStringLiteral("openapi: 3.1.0\ninfo:\n_title: t\n_version: '1'\npaths: {}\ncomponents:\n"
                                          "_schemas:\n__Holder:\n___properties:\n____p:\n%1%2\n"
                                          "__a b: {}\n__a:b: {}\n__Pet: {}\n__My Pet: {}\n")
                               .arg(lead, QString::fromUtf8(row.typed))
                               .replace(u'_', QString(indent, u' '));
            const qsizetype caret = text.indexOf(QChar(0x2038));
            text.remove(caret, 1);
            const CompletionResult result = engine(text, caret, DocumentFormat::yaml, {});
            const QStringList labels = labelsOf(result);
            const QString pointer = QStringLiteral("#/components/schemas/") + QString::fromUtf8(row.name);
            ASSERT_EQ(labels, QStringList{pointer});
            const auto insertion =
                CompletionInsertion::ordinaryInsertion(text, TextRange{caret, 0}, DocumentLanguage::yaml, result.items[0]);
            ASSERT_TRUE(insertion);
            text.replace(insertion->range.location, insertion->range.length, insertion->text);
            const QString line = lead.sliced(lead.lastIndexOf(u'\n') + 1).replace(u'_', QString(indent, u' '))
                + QString::fromUtf8(row.written);
            EXPECT_TRUE(text.contains(line + u'\n')) << text.toStdString();

            const VoziZazIre::ParseResult parsed = parsedText(text, false);
            for (const VoziZazIreCore::Diagnostic& finding : parsed.diagnostics) {
                EXPECT_EQ(finding.message().find("REF-"), std::string::npos) << finding.message();
            }
        }
    }
}

}  // namespace
}  // namespace CarvexTest
