// JSON to YAML: the emitter's layout, key order, key text and text rules, each checked against the
// exact text and by reading the result back with the editor's own YAML reader.

#include "Carvex/Conversion/ConversionError.h"
#include "Carvex/Conversion/DocumentConversionService.h"
#include "Carvex/Conversion/JSONTextWriter.h"
#include "Carvex/Conversion/YAMLTextEmitter.h"

#include "tests/Carvex/Conversion/ConversionTestSupport.h"

#include "kit/parsing/YAMLScalarResolver.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>

#include <filesystem>
#include <random>
#include <regex>
#include <set>

using namespace Carvex;
using namespace ConversionTestSupport;

namespace {

QString toYAML(const QString& json) { return DocumentConversionService().convertToYAML(json); }

// The JSON text of one string value.
QString jsonString(std::string_view text) {
    std::string out;
    JSONTextWriter::appendString(out, text);
    return QString::fromStdString(out);
}

// Converts `json` to YAML and expects the YAML to read back as the JSON's value.
void expectReadsBack(const QString& json, const std::string& label) {
    const QString yaml = toYAML(json);
    const PlainValueTree source = readJSON(json);
    PlainValueTree back;
    try {
        back = readYAML(yaml);
    } catch (const std::exception& e) {
        ADD_FAILURE() << label << ": YAML does not read back: " << e.what() << "\n" << yaml.toStdString();
        return;
    }
    std::string where;
    EXPECT_TRUE(sameValue(source, back, where)) << label << ": differs at " << where << "\n" << yaml.toStdString();
}

struct LayoutRow {
    const char* name;
    const char* json;
    const char* yaml;
};

void PrintTo(const LayoutRow& row, std::ostream* os) { *os << row.name; }

class EmitterLayoutTest : public testing::TestWithParam<LayoutRow> {};

TEST_P(EmitterLayoutTest, WritesTheExactText) {
    const LayoutRow& row = GetParam();
    EXPECT_EQ(toYAML(QString::fromUtf8(row.json)).toStdString(), row.yaml);
    expectReadsBack(QString::fromUtf8(row.json), row.name);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, EmitterLayoutTest,
    testing::Values(
        LayoutRow{"empty_object", "{}", "{}"},
        LayoutRow{"empty_array", "[]", "[]"},
        LayoutRow{"table_keys_first_then_sorted", R"({"b":1,"a":2,"openapi":"3.0.3"})", "openapi: 3.0.3\na: 2\nb: 1"},
        LayoutRow{"number_like_text_quoted", R"({"version":"1.0","n":1.0})", "version: \"1.0\"\nn: 1"},
        LayoutRow{"null_and_empty_text", R"({"a":null,"b":""})", "a: null\nb: \"\""},
        LayoutRow{"key_yes_quoted_value_yes_bare", R"({"yes":"yes"})", "\"yes\": yes"},
        LayoutRow{"value_with_colon_quoted", R"({"a":"x: y"})", "a: \"x: y\""},
        LayoutRow{"hyphen_quoted_in_key_only", R"({"x-y":"x-y"})", "\"x-y\": x-y"},
        LayoutRow{"list_of_numbers", R"({"a":[1,2]})", "a:\n  - 1\n  - 2"},
        LayoutRow{"list_of_mappings", R"({"p":[{"in":"query","name":"id"}]})", "p:\n  - name: id\n    in: query"},
        LayoutRow{"nested_list", "[[1,2]]", "-\n  - 1\n  - 2"},
        LayoutRow{"list_with_empty_object", "[{}]", "- {}"},
        LayoutRow{"empty_collections_as_values", R"({"a":{},"b":[]})", "a: {}\nb: []"},
        LayoutRow{"literal_block", R"({"description":"a\nb"})", "description: |-\n  a\n  b"},
        LayoutRow{"literal_block_final_line_feed", R"({"description":"a\nb\n"})", "description: |\n  a\n  b\n  "},
        LayoutRow{"literal_block_kept_line_feeds", R"({"d":"a\n\n","e":1})", "d: |+\n  a\n  \ne: 1"},
        LayoutRow{"literal_block_leading_space", R"({"d":" a\nb"})", "d: |2-\n   a\n  b"},
        LayoutRow{"literal_block_in_item_mapping", R"([{"a":"x\ny","b":"z\n"}])",
                  "- a: |-\n    x\n    y\n  b: |\n    z\n    "},
        LayoutRow{"literal_block_as_item", R"([["x\ny"]])", "-\n  - |-\n    x\n    y"},
        LayoutRow{"carriage_return_quoted", R"({"d":"a\r\nb"})", "d: \"a\\r\\nb\""},
        LayoutRow{"only_line_feeds_quoted", R"({"d":"\n\n"})", "d: \"\\n\\n\""},
        LayoutRow{"mapping_in_item_mapping", R"([{"a":{"b":1},"c":[2]}])", "- a:\n    b: 1\n  c:\n    - 2"},
        LayoutRow{"top_level_text", R"("hello")", "hello"},
        LayoutRow{"top_level_number_text", R"("12")", "\"12\""},
        LayoutRow{"top_level_multiline", R"("a\nb")", "|-\n  a\n  b"},
        LayoutRow{"top_level_scalars", "[true,null,-0.0,2.5,1e300]", "- true\n- null\n- 0\n- 2.5\n- 1e+300"}),
    [](const testing::TestParamInfo<LayoutRow>& info) { return std::string(info.param.name); });

TEST(EmitterKeyOrderTest, RanksByFirstPlaceInTheTable) {
    const struct {
        const char* key;
        int rank;
    } rows[] = {{"openapi", 0}, {"info", 1}, {"tags", 17}, {"responses", 20}, {"operationId", 36},
                {"requestBody", 38}, {"type", 40}, {"$ref", 52}, {"application/json", 56}, {"x-extra", -1},
                {"Tags", -1}, {"", -1}};
    for (const auto& row : rows) EXPECT_EQ(YAMLTextEmitter::keyRank(row.key), row.rank) << row.key;

    const QString yaml = toYAML(R"({"zeta":1,"content":2,"tags":3,"Alpha":4,"responses":5,"get":6,"alpha":7,"$ref":8})");
    EXPECT_EQ(yaml.toStdString(), "tags: 3\nresponses: 5\nget: 6\n$ref: 8\ncontent: 2\nAlpha: 4\nalpha: 7\nzeta: 1");
}

struct TextRow {
    const char* text;
    bool quoted;
};

TEST(EmitterTextTest, QuotesWhatWouldReadBackAsSomethingElse) {
    const TextRow rows[] = {
        // Read by the editor's reader as numbers, booleans or null.
        {"1.0", true}, {"0x1p3", true}, {"inf", true}, {"-Infinity", true}, {"NaN", true}, {"1e5", true},
        {"+1", true}, {"true", true}, {"True", true}, {"TRUE", true}, {"false", true}, {"null", true},
        {"Null", true}, {"NULL", true}, {"~", true},
        // Typed by a YAML 1.2 reader.
        {".inf", true}, {"-.Inf", true}, {".nan", true}, {"0o17", true},
        // Indicators and characters.
        {"- x", true}, {"-", true}, {"? x", true}, {"?", true}, {"*x", true}, {"&x", true}, {"!x", true},
        {"%", true}, {"@", true}, {"`", true}, {"---", true}, {"... x", true}, {"a #b", true}, {"a: b", true},
        {"'a'", true}, {" a", true}, {"a ", true}, {"a\tb", true}, {"{a}", true}, {"a|b", true},
        // Control and invisible characters.
        {"a\x01" "b", true}, {"a\x7f", true}, {"\xc2\x85x", true}, {"a\xe2\x80\xa8", true}, {"\xef\xbb\xbfx", true},
        {"a\rb", true},
        // Bare.
        {"1_000", false}, {"yes", false}, {"no", false}, {"on", false}, {"off", false}, {"-x", false},
        {"a=b", false}, {"3.0.3", false}, {"?x", false}, {"a-b", false}, {"<<", false}, {"x.y", false},
        {"caf\xc3\xa9", false}, {"2023-01-01", false}, {"a?b", false}};
    for (const TextRow& row : rows) {
        const std::string_view text = row.text;
        EXPECT_EQ(YAMLTextEmitter::textNeedsQuotes(text), row.quoted) << text;
        const QString json = QStringLiteral("{\"v\":") + jsonString(text) + QStringLiteral("}");
        expectReadsBack(json, std::string(text));
    }
    // A NUL travels escaped.
    expectReadsBack(QStringLiteral(R"({"v":"a\u0000b","w":"\u001b\u0007"})"), "nul");
}

TEST(EmitterTextTest, KeysAreQuotedByTheirOwnRules) {
    const TextRow rows[] = {
        {"", true}, {"yes", true}, {"No", true}, {"ON", true}, {"off", true}, {"~", true}, {"Null", true},
        {"x-foo", true}, {"a=b", true}, {"<<", true}, {"a:b", true}, {"#", true}, {"a\\b", true}, {" a", true},
        {"a\nb", true}, {"a\tb", true}, {"a\x01", true}, {"/pets/{id}", true}, {"application/json", false},
        {"200", true}, {"1.0", true}, {"True1", false}, {"a b", false}, {"x_y", false}, {"$ref", false}};
    for (const TextRow& row : rows) {
        const std::string_view key = row.text;
        const std::string text = YAMLTextEmitter::keyText(key);
        EXPECT_EQ(text.front() == '"', row.quoted) << key;
        const QString json = QStringLiteral("{") + jsonString(key) + QStringLiteral(":1}");
        expectReadsBack(json, "key " + std::string(key));
    }
}

// What a YAML 1.2 reader of the core schema makes of a plain scalar other than a text: null, a boolean,
// an integer (decimal, octal, hexadecimal) or a floating-point number (infinities and not-a-number
// included).
bool coreSchemaTypes(const std::string& plain) {
    static const std::regex typed(
        "|~|null|Null|NULL|true|True|TRUE|false|False|FALSE"
        "|[-+]?[0-9]+|0o[0-7]+|0x[0-9a-fA-F]+"
        "|[-+]?(\\.[0-9]+|[0-9]+(\\.[0-9]*)?)([eE][-+]?[0-9]+)?"
        "|[-+]?\\.(inf|Inf|INF)|\\.nan|\\.NaN|\\.NAN");
    return std::regex_match(plain, typed);
}

// A key written bare reads as a text both to the library and to a YAML 1.2 reader, and the whole
// member reads back through the library under the same key.
void expectKeyKeepsItsText(const std::string& key) {
    const std::string written = YAMLTextEmitter::keyText(key);
    if (written.empty() || written.front() != '"') {
        EXPECT_EQ(written, key);
        EXPECT_EQ(VoziZazIreParsing::YAMLScalarResolver::resolve(written).kind,
                  VoziZazIreParsing::YAMLScalarResolver::Kind::string)
            << "bare key reads as another type in the library: " << key;
        EXPECT_FALSE(coreSchemaTypes(written)) << "bare key reads as another type in YAML 1.2: " << key;
    }
    const QString json = QStringLiteral("{") + jsonString(key) + QStringLiteral(":{\"k\":1}}");
    const QString yaml = toYAML(json);
    PlainValueTree back;
    try {
        back = readYAML(yaml);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "key " << key << ": YAML does not read back: " << e.what() << "\n" << yaml.toStdString();
        return;
    }
    ASSERT_EQ(back.kind(back.root()), PlainValueTree::Kind::dictionary) << key;
    ASSERT_EQ(back.count(back.root()), 1u) << key;
    EXPECT_EQ(back.key(back.root(), 0), key) << yaml.toStdString();
}

// Keys that read as numbers when bare: a sign, an exponent, a hexadecimal form, infinity and
// not-a-number are quoted as they are in values (a "+1" key was written bare and read back as 1).
TEST(EmitterKeyTextTest, number_like_keys_are_quoted_and_read_back_as_the_same_text) {
    const TextRow rows[] = {
        // Read as numbers by the library's reader and by the C library's conversion.
        {"+1", true}, {"-1", true}, {"1", true}, {"200", true}, {"007", true}, {"1.0", true}, {".5", true},
        {"5.", true}, {"1e3", true}, {"1E-3", true}, {"+2.5e+10", true}, {"0x1F", true}, {"0X1f", true},
        {"0x1p3", true}, {"inf", true}, {"-inf", true}, {"+Infinity", true}, {"INF", true}, {"NaN", true},
        {"nan", true}, {"-nan", true}, {"nan(123)", true},
        // Typed by a YAML 1.2 reader only.
        {".inf", true}, {"-.Inf", true}, {"+.INF", true}, {".nan", true}, {".NaN", true}, {"0o17", true},
        // Texts to every reader.
        {"1_000", false}, {"v1", false}, {"1a", false}, {"2XX", false}, {"1.2.3", false}, {"info", false},
        {"in", false}, {"name", false}, {"nano", false}, {"Infinite", false}, {"+", false}, {".", false},
        {"0o8", false}, {"0x", false}, {"e5", false}, {"1e", false}, {".infinity", false}};
    for (const TextRow& row : rows) {
        const std::string key = row.text;
        EXPECT_EQ(YAMLTextEmitter::keyText(key).front() == '"', row.quoted) << key;
        expectKeyKeepsItsText(key);
    }
    // Other rules and the order stay: the number-like keys sort among the others by their text.
    EXPECT_EQ(toYAML(R"({"+1":{"a":1},"-1":2,"openapi":"3.1.0","x":"+1"})").toStdString(),
              "openapi: 3.1.0\n\"+1\":\n  a: 1\n\"-1\": 2\nx: \"+1\"");
}

// Every key of the sample descriptions keeps its text through JSON to YAML.
TEST(EmitterKeyTextTest, every_key_of_the_sample_descriptions_reads_back_as_the_same_text) {
    const std::filesystem::path root = std::filesystem::path(CARVEX_SHARED_DIR) / "corpus" / "oai";
    std::error_code error;
    if (!std::filesystem::is_directory(root, error)) GTEST_SKIP() << "no sample descriptions at " << root;
    std::set<std::string> keys;
    int files = 0;
    QDirIterator it(QString::fromStdString(root.string()), {QStringLiteral("*.json"), QStringLiteral("*.yaml")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString text = QString::fromUtf8(file.readAll());
        const PlainValueTree tree = path.endsWith(QStringLiteral(".json")) ? readJSON(text) : readYAML(text);
        ++files;
        std::vector<PlainValueTree::Index> stack{tree.root()};
        while (!stack.empty()) {
            const PlainValueTree::Index v = stack.back();
            stack.pop_back();
            if (tree.kind(v) == PlainValueTree::Kind::dictionary) {
                for (std::size_t i = 0; i < tree.count(v); ++i) {
                    keys.insert(std::string(tree.key(v, i)));
                    stack.push_back(tree.value(v, i));
                }
            } else if (tree.kind(v) == PlainValueTree::Kind::list) {
                for (std::size_t i = 0; i < tree.count(v); ++i) stack.push_back(tree.element(v, i));
            }
        }
    }
    ASSERT_GT(files, 0);
    EXPECT_TRUE(keys.contains("200"));
    for (const std::string& key : keys) expectKeyKeepsItsText(key);
}

TEST(EmitterTextTest, QuotingEscapesInTheStatedOrder) {
    EXPECT_EQ(YAMLTextEmitter::quoted("a\\\"b\n\t\r"), "\"a\\\\\\\"b\\n\\t\\r\"");
    EXPECT_EQ(YAMLTextEmitter::quoted("\x01\xc2\x9f\xef\xbf\xbe"), "\"\\x01\\x9F\\uFFFE\"");
}

// Multi-line texts at every depth a literal block can stand at read back unchanged.
TEST(EmitterLiteralBlockTest, ReadsBackAtEveryDepthAndEnding) {
    const char* texts[] = {"a\nb", "a\nb\n", "a\n\n", "a\n\n\n", " a\nb", "\n a", "\n\na", "a\n b\n",
                           "   \nb", "a\n\tb", "a\n  \n", "a\r\nb", "\n\n", "a\n\x01", "- x\n# y\n", "x\n...\n---"};
    const char* shapes[] = {"{\"k\":%1}", "{\"o\":{\"k\":%1,\"z\":1}}", "[%1]", "[[%1],1]", "[{\"k\":%1,\"j\":%1}]",
                            "{\"l\":[{\"a\":{\"k\":%1}},%1]}", "%1", "{\"z\":%1}"};
    for (const char* text : texts) {
        for (const char* shape : shapes) {
            const QString json = QString::fromUtf8(shape).arg(jsonString(text));
            expectReadsBack(json, json.toStdString());
        }
    }
}

struct NumberRow {
    const char* json;
    const char* yaml;
};

TEST(EmitterNumberTest, KeepsEveryDigit) {
    const NumberRow rows[] = {
        {"9223372036854775807", "9223372036854775807"},
        {"-9223372036854775808", "-9223372036854775808"},
        {"123456789012345678901234567890", "123456789012345678901234567890"},
        {"9007199254740993", "9007199254740993"},
        {"1.0", "1"},
        {"-0.0", "0"},
        {"-0", "0"},
        {"2.5", "2.5"},
        {"0.1", "0.1"},
        {"1e18", "1000000000000000000"},
        {"1E400", "1E400"},
        {"1e-400", "0"},
        {"-1.5e-7", "-1.5e-07"}};
    for (const NumberRow& row : rows) {
        const QString json = QStringLiteral("{\"n\":") + QString::fromUtf8(row.json) + QStringLiteral("}");
        EXPECT_EQ(toYAML(json).toStdString(), std::string("n: ") + row.yaml) << row.json;
        expectReadsBack(json, row.json);
    }
}

// Random documents with awkward texts, keys and numbers: every one reads back as itself.
TEST(EmitterRandomDocumentTest, EveryDocumentReadsBack) {
    const std::vector<std::string> pieces = {"a", "b c", " ", "\n", "-", "?", ":", "#", "'", "\"", "\\", "\t", "\r",
                                             "1", "0x1", "true", "~", "yes", "*", "&", "!", "%", "|", ">", "{", "]",
                                             ",", "\xc3\xa9", "\xe2\x80\xa8", "\x01", "...", "---", "null", "."};
    std::mt19937 random(20241206);
    auto randomText = [&] {
        std::string text;
        const int n = static_cast<int>(random() % 5);
        for (int i = 0; i < n; ++i) text += pieces[random() % pieces.size()];
        return text;
    };
    std::function<void(std::string&, int)> value = [&](std::string& out, int depth) {
        const unsigned pick = depth > 5 ? random() % 5 : random() % 8;
        switch (pick) {
            case 0: out += "null"; break;
            case 1: out += (random() % 2) ? "true" : "false"; break;
            case 2: out += std::to_string(static_cast<long long>(random()) - 2147483648LL); break;
            case 3: out += std::to_string(random() % 1000) + ".25e" + std::to_string(random() % 40); break;
            case 4: JSONTextWriter::appendString(out, randomText()); break;
            case 5:
            case 6: {
                out += '{';
                const int n = static_cast<int>(random() % 4);
                for (int i = 0; i < n; ++i) {
                    if (i) out += ',';
                    JSONTextWriter::appendString(out, randomText() + std::to_string(i));
                    out += ':';
                    value(out, depth + 1);
                }
                out += '}';
                break;
            }
            default: {
                out += '[';
                const int n = static_cast<int>(random() % 4);
                for (int i = 0; i < n; ++i) {
                    if (i) out += ',';
                    value(out, depth + 1);
                }
                out += ']';
            }
        }
    };
    for (int i = 0; i < 400; ++i) {
        std::string json;
        value(json, 0);
        expectReadsBack(QString::fromStdString(json), "document " + std::to_string(i) + ": " + json);
    }
}

TEST(EmitterDepthTest, DeepestAcceptedNestingReadsBack) {
    for (const char* open : {"[", "{\"k\":", "[{\"k\":"}) {
        const std::string o = open;
        const std::size_t levels = o.size() == 1 ? 1000 : o.size() == 5 ? 999 : 500;
        std::string json;
        for (std::size_t i = 0; i < levels; ++i) json += o;
        json += "1";
        for (std::size_t i = 0; i < levels; ++i) json += o == "[" ? "]" : o.size() == 5 ? "}" : "}]";
        expectReadsBack(QString::fromStdString(json), "depth via " + o);
    }
}

}  // namespace
