#include "Carvex/Conversion/JSONTextWriter.h"

#include "Carvex/Conversion/ChunkedTextOutput.h"

#include "kit/core/TextServices.h"

#include <charconv>

namespace Carvex {

namespace {

class Writer {
public:
    Writer(const PlainValueTree& tree, ChunkedTextOutput& output) : tree_(tree), output_(output), out_(output.buffer()) {}

    void value(PlainValueTree::Index v, std::size_t level) {
        switch (tree_.kind(v)) {
            case PlainValueTree::Kind::null: out_.append("null"); return;
            case PlainValueTree::Kind::boolean: out_.append(tree_.boolean(v) ? "true" : "false"); return;
            case PlainValueTree::Kind::integer: {
                char buffer[24];
                const auto result = std::to_chars(buffer, buffer + sizeof buffer, tree_.integer(v));
                out_.append(buffer, result.ptr);
                return;
            }
            case PlainValueTree::Kind::real:
                out_.append(VoziZazIreCore::TextServices::shortestDouble(tree_.real(v)));
                return;
            case PlainValueTree::Kind::numberText: out_.append(tree_.text(v)); return;
            case PlainValueTree::Kind::text: JSONTextWriter::appendString(out_, tree_.text(v)); return;
            case PlainValueTree::Kind::list: {
                const std::size_t n = tree_.count(v);
                if (n == 0) {
                    out_.append("[]");
                    return;
                }
                out_.push_back('[');
                for (std::size_t i = 0; i < n; ++i) {
                    if (i) out_.push_back(',');
                    newLine(level + 1);
                    value(tree_.element(v, i), level + 1);
                }
                newLine(level);
                out_.push_back(']');
                return;
            }
            case PlainValueTree::Kind::dictionary: {
                const std::size_t n = tree_.count(v);
                if (n == 0) {
                    out_.append("{}");
                    return;
                }
                out_.push_back('{');
                for (std::size_t i = 0; i < n; ++i) {
                    if (i) out_.push_back(',');
                    newLine(level + 1);
                    JSONTextWriter::appendString(out_, tree_.key(v, i));
                    out_.append(": ");
                    value(tree_.value(v, i), level + 1);
                }
                newLine(level);
                out_.push_back('}');
                return;
            }
        }
    }

private:
    void newLine(std::size_t level) {
        output_.lineBoundary();
        out_.push_back('\n');
        out_.append(2 * level, ' ');
    }

    const PlainValueTree& tree_;
    ChunkedTextOutput& output_;
    std::string& out_;
};

}  // namespace

void JSONTextWriter::appendString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out.push_back('"');
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\') continue;
        out.append(text.substr(run, i - run));
        run = i + 1;
        switch (c) {
            case '"': out.append("\\\""); break;
            case '\\': out.append("\\\\"); break;
            case '\n': out.append("\\n"); break;
            case '\r': out.append("\\r"); break;
            case '\t': out.append("\\t"); break;
            case '\b': out.append("\\b"); break;
            case '\f': out.append("\\f"); break;
            default:
                out.append("\\u00");
                out.push_back(kHex[c >> 4]);
                out.push_back(kHex[c & 15]);
                break;
        }
    }
    out.append(text.substr(run));
    out.push_back('"');
}

std::string JSONTextWriter::write(const PlainValueTree& tree) {
    ChunkedTextOutput output;
    if (!tree.empty()) Writer(tree, output).value(tree.root(), 0);
    return output.finish();
}

void JSONTextWriter::write(const PlainValueTree& tree, QString& out) {
    if (tree.empty()) return;
    qsizetype length = 0;
    {
        ChunkedTextOutput counter(length);
        Writer(tree, counter).value(tree.root(), 0);
        counter.finish();
    }
    out.reserve(out.size() + length);
    ChunkedTextOutput output(out);
    Writer(tree, output).value(tree.root(), 0);
    output.finish();
}

}  // namespace Carvex
