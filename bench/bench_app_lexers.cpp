// Throughput of the JSON and YAML syntax lexers over a generated multi-megabyte description, and
// their cost on pathological inputs, which must grow linearly with the text's length.
//
//   build-*/bench/bench_app_lexers --benchmark_counters_tabular=true

#include "Carvex/Syntax/JSONLexer.h"
#include "Carvex/Syntax/YAMLLexer.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <malloc.h>

#include <string>

namespace {

using Carvex::SyntaxToken;
using Carvex::SyntaxTokenType;

// A generated description in one format, with the number of mapping keys written into it so that
// a run can check its answer.
struct Description {
    QString text;
    std::size_t utf8Bytes = 0;
    std::size_t keys = 0;
};

// Writes an OpenAPI-shaped document of `pathCount` paths, each with two operations, parameters,
// responses and a schema, in YAML or JSON. Descriptions carry non-ASCII text and YAML carries
// comments, block scalars and quoted values, as real descriptions do.
class DescriptionWriter {
public:
    explicit DescriptionWriter(bool json) : json_(json) {}

    Description write(int pathCount)
    {
        out_.clear();
        keys_ = 0;
        if (json_)
            writeJSON(pathCount);
        else
            writeYAML(pathCount);
        return Description{QString::fromStdString(out_), out_.size(), keys_};
    }

private:
    void line(int indent, const std::string& text)
    {
        out_.append(std::size_t(indent), ' ');
        out_ += text;
        out_ += '\n';
    }
    // A YAML "key: value" line (value may be empty).
    void yamlKey(int indent, const std::string& key, const std::string& value = {})
    {
        ++keys_;
        line(indent, value.empty() ? key + ":" : key + ": " + value);
    }

    void writeYAML(int pathCount)
    {
        line(0, "# Generated description for benchmarking");
        yamlKey(0, "openapi", "3.1.0");
        yamlKey(0, "info");
        yamlKey(2, "title", "\"Bench Store — größer\"");
        yamlKey(2, "version", "1.0.0");
        yamlKey(0, "paths");
        for (int i = 0; i < pathCount; ++i) {
            const std::string n = std::to_string(i);
            yamlKey(2, "/items" + n + "/{itemId}");
            for (const char* method : {"get", "put"}) {
                yamlKey(4, method);
                yamlKey(6, "operationId", std::string(method) + "Item" + n);
                yamlKey(6, "summary", "Returns item " + n + " — with ünïcödé 😀 # trailing comment");
                yamlKey(6, "description", "|");
                line(8, "A longer text over two lines that mentions item " + n + ".");
                line(8, "Its second line has a colon: like this one.");
                ++keys_; // block-scalar lines are lexed as ordinary lines
                yamlKey(6, "deprecated", i % 3 == 0 ? "true" : "no");
                yamlKey(6, "parameters");
                line(8, "- name: itemId");
                ++keys_;
                yamlKey(10, "in", "path");
                yamlKey(10, "required", "true");
                yamlKey(10, "schema");
                yamlKey(12, "type", "integer");
                yamlKey(12, "minimum", "0");
                yamlKey(12, "maximum", "1.5e3");
                yamlKey(6, "responses");
                yamlKey(8, "'200'");
                --keys_; // a quoted key is a string token, not a key token
                yamlKey(10, "description", "OK");
                yamlKey(10, "content");
                yamlKey(12, "application/json");
                yamlKey(14, "schema");
                yamlKey(16, "$ref", "'#/components/schemas/Item" + n + "'");
                yamlKey(8, "default");
                yamlKey(10, "description", "~");
            }
        }
        yamlKey(0, "components");
        yamlKey(2, "schemas");
        for (int i = 0; i < pathCount; ++i) {
            yamlKey(4, "Item" + std::to_string(i));
            yamlKey(6, "type", "object");
            yamlKey(6, "required", "[id, name]");
            yamlKey(6, "properties");
            yamlKey(8, "id");
            yamlKey(10, "type", "integer");
            yamlKey(10, "example", std::to_string(i * 7919));
            yamlKey(8, "tags");
            yamlKey(10, "type", "array");
            yamlKey(10, "items");
            yamlKey(12, "type", "string");
            line(10, "example:");
            ++keys_;
            line(12, "- alpha");
            line(12, "- \"beta\"");
            line(12, "- null");
        }
    }

    // JSON: `key` opens an object member; members are separated by the caller.
    void jsonKey(const std::string& key)
    {
        ++keys_;
        out_ += '"';
        out_ += key;
        out_ += "\": ";
    }

    void writeJSON(int pathCount)
    {
        out_ += "{\n  ";
        jsonKey("openapi");
        out_ += "\"3.1.0\",\n  ";
        jsonKey("info");
        out_ += "{";
        jsonKey("title");
        out_ += "\"Bench Store — größer\", ";
        jsonKey("version");
        out_ += "\"1.0.0\"},\n  ";
        jsonKey("paths");
        out_ += "{\n";
        for (int i = 0; i < pathCount; ++i) {
            const std::string n = std::to_string(i);
            out_ += "    ";
            jsonKey("/items" + n + "/{itemId}");
            out_ += "{\n";
            bool firstMethod = true;
            for (const char* method : {"get", "put"}) {
                out_ += firstMethod ? "      " : ",\n      ";
                firstMethod = false;
                jsonKey(method);
                out_ += "{\n        ";
                jsonKey("operationId");
                out_.append("\"").append(method).append("Item").append(n).append("\",\n        ");
                jsonKey("summary");
                out_ += "\"Returns item " + n + " \\u2014 with \\\"ünïcödé\\\" 😀\",\n        ";
                jsonKey("deprecated");
                out_ += i % 3 == 0 ? "true" : "false";
                out_ += ",\n        ";
                jsonKey("parameters");
                out_ += "[{";
                jsonKey("name");
                out_ += "\"itemId\", ";
                jsonKey("in");
                out_ += "\"path\", ";
                jsonKey("required");
                out_ += "true, ";
                jsonKey("schema");
                out_ += "{";
                jsonKey("type");
                out_ += "\"integer\", ";
                jsonKey("minimum");
                out_ += "0, ";
                jsonKey("maximum");
                out_ += "1.5e3}}],\n        ";
                jsonKey("responses");
                out_ += "{\n          ";
                jsonKey("200");
                out_ += "{";
                jsonKey("description");
                out_ += "\"OK\", ";
                jsonKey("content");
                out_ += "{";
                jsonKey("application/json");
                out_ += "{";
                jsonKey("schema");
                out_ += "{";
                jsonKey("$ref");
                out_ += "\"#/components/schemas/Item" + n + "\"}}}},\n          ";
                jsonKey("default");
                out_ += "{";
                jsonKey("description");
                out_ += "null}\n        }\n      }";
            }
            out_ += i + 1 < pathCount ? "\n    },\n" : "\n    }\n";
        }
        out_ += "  },\n  ";
        jsonKey("components");
        out_ += "{";
        jsonKey("schemas");
        out_ += "{\n";
        for (int i = 0; i < pathCount; ++i) {
            out_ += "    ";
            jsonKey("Item" + std::to_string(i));
            out_ += "{";
            jsonKey("type");
            out_ += "\"object\", ";
            jsonKey("required");
            out_ += "[\"id\", \"name\"], ";
            jsonKey("properties");
            out_ += "{";
            jsonKey("id");
            out_ += "{";
            jsonKey("type");
            out_ += "\"integer\", ";
            jsonKey("example");
            out_ += std::to_string(i * 7919) + "}, ";
            jsonKey("tags");
            out_ += "{";
            jsonKey("type");
            out_ += "\"array\", ";
            jsonKey("items");
            out_ += "{";
            jsonKey("type");
            out_ += "\"string\"}, ";
            jsonKey("example");
            out_ += "[\"alpha\", \"beta\", null]}}}";
            out_ += i + 1 < pathCount ? ",\n" : "\n";
        }
        out_ += "  }}\n}\n";
    }

    bool json_;
    std::string out_;
    std::size_t keys_ = 0;
};

constexpr int kPathCount = 6000; // about 8 MB of YAML and 7 MB of JSON

const Description& yamlDescription()
{
    static const Description description = DescriptionWriter(false).write(kPathCount);
    return description;
}

const Description& jsonDescription()
{
    static const Description description = DescriptionWriter(true).write(kPathCount);
    return description;
}

// Checks the answer of a run: tokens in order, inside the text, and one key token per key written.
bool checkTokens(benchmark::State& state, const std::vector<SyntaxToken>& tokens, const Description& description,
                 SyntaxTokenType keyType)
{
    std::size_t keys = 0;
    qsizetype previousEnd = 0;
    for (const SyntaxToken& token : tokens) {
        if (token.range.length < 1 || token.range.location < previousEnd || token.range.end() > description.text.size()) {
            state.SkipWithError("tokens out of order or out of the text");
            return false;
        }
        previousEnd = token.range.end();
        keys += token.type == keyType ? 1 : 0;
    }
    if (keys != description.keys) {
        const std::string message =
            "expected " + std::to_string(description.keys) + " key tokens, got " + std::to_string(keys);
        state.SkipWithError(message.c_str());
        return false;
    }
    return true;
}

template<class Lexer>
void runDescription(benchmark::State& state, const Description& description, SyntaxTokenType keyType)
{
    const Lexer lexer;
    if (!checkTokens(state, lexer.tokenize(description.text), description, keyType))
        return;
    std::size_t tokenCount = 0;
    for (auto _ : state) {
        std::vector<SyntaxToken> tokens = lexer.tokenize(description.text);
        tokenCount = tokens.size();
        benchmark::DoNotOptimize(tokens.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(description.utf8Bytes));
    state.counters["MB"] = double(description.utf8Bytes) / 1e6;
    state.counters["tokens"] = double(tokenCount);
}

void BM_JSONLexer_Description(benchmark::State& state)
{
    runDescription<Carvex::JSONLexer>(state, jsonDescription(), SyntaxTokenType::jsonKey);
}
BENCHMARK(BM_JSONLexer_Description)->Unit(benchmark::kMillisecond);

void BM_YAMLLexer_Description(benchmark::State& state)
{
    runDescription<Carvex::YAMLLexer>(state, yamlDescription(), SyntaxTokenType::key);
}
BENCHMARK(BM_YAMLLexer_Description)->Unit(benchmark::kMillisecond);

// Pathological inputs: the time per unit must stay flat as the length grows (reported as the
// fitted complexity, which should read O(N)).
template<class Lexer>
void runPathological(benchmark::State& state, const QString& text)
{
    const Lexer lexer;
    for (auto _ : state) {
        std::vector<SyntaxToken> tokens = lexer.tokenize(text);
        benchmark::DoNotOptimize(tokens.data());
    }
    state.SetComplexityN(text.size());
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}

QString repeated(const QString& piece, qsizetype count)
{
    return piece.repeated(count);
}

void BM_JSONLexer_OpenBrackets(benchmark::State& state)
{
    runPathological<Carvex::JSONLexer>(state, QString(state.range(0), u'['));
}
BENCHMARK(BM_JSONLexer_OpenBrackets)->RangeMultiplier(2)->Range(125'000, 4'000'000)->Complexity(benchmark::oN);

void BM_YAMLLexer_OpenBrackets(benchmark::State& state)
{
    runPathological<Carvex::YAMLLexer>(state, QStringLiteral("k: ") + QString(state.range(0), u'['));
}
BENCHMARK(BM_YAMLLexer_OpenBrackets)->RangeMultiplier(2)->Range(125'000, 4'000'000)->Complexity(benchmark::oN);

// Quotes that never close: one line of them, then one unclosed quote per line.
void BM_JSONLexer_UnclosedQuotes(benchmark::State& state)
{
    runPathological<Carvex::JSONLexer>(state, repeated(QStringLiteral("\"a\\\" "), state.range(0)));
}
BENCHMARK(BM_JSONLexer_UnclosedQuotes)->RangeMultiplier(2)->Range(25'000, 800'000)->Complexity(benchmark::oN);

void BM_YAMLLexer_UnclosedQuotesOneLine(benchmark::State& state)
{
    runPathological<Carvex::YAMLLexer>(state, repeated(QStringLiteral("'a: \""), state.range(0)));
}
BENCHMARK(BM_YAMLLexer_UnclosedQuotesOneLine)->RangeMultiplier(2)->Range(25'000, 800'000)->Complexity(benchmark::oN);

void BM_YAMLLexer_UnclosedQuotesPerLine(benchmark::State& state)
{
    runPathological<Carvex::YAMLLexer>(state, repeated(QStringLiteral("- key: \"x: y\n"), state.range(0)));
}
BENCHMARK(BM_YAMLLexer_UnclosedQuotesPerLine)->RangeMultiplier(2)->Range(25'000, 800'000)->Complexity(benchmark::oN);

// Blanks before a key's colon are looked ahead over once per string.
void BM_JSONLexer_KeysWithLongGaps(benchmark::State& state)
{
    runPathological<Carvex::JSONLexer>(state, repeated(QStringLiteral("\"k\"") + QString(1000, u' '), state.range(0)));
}
BENCHMARK(BM_JSONLexer_KeysWithLongGaps)->RangeMultiplier(2)->Range(1'250, 10'000)->Complexity(benchmark::oN);

// One line of ten megabytes: a plain scalar of digits that the number test must read once.
void BM_YAMLLexer_LongNumberLine(benchmark::State& state)
{
    runPathological<Carvex::YAMLLexer>(state, QStringLiteral("n: ") + QString(state.range(0), u'7'));
}
BENCHMARK(BM_YAMLLexer_LongNumberLine)->RangeMultiplier(2)->Range(1'250'000, 10'000'000)->Complexity(benchmark::oN);

} // namespace

// The token vectors of large inputs are tens of megabytes. glibc raises its mmap threshold as
// such blocks are freed, so some sizes would reuse warm heap pages and others would fault in fresh
// ones; fixing the threshold makes every size pay the same, honest price per token.
int main(int argc, char** argv)
{
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
