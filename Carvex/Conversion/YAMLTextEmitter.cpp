#include "Carvex/Conversion/YAMLTextEmitter.h"

#include "Carvex/Conversion/ChunkedTextOutput.h"

#include "kit/core/TextServices.h"
#include "kit/parsing/YAMLScalarResolver.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <unordered_map>
#include <vector>

namespace Carvex {

namespace {

using Index = PlainValueTree::Index;
using Kind = PlainValueTree::Kind;

// Keys written first, in this order; a key that stands twice ranks by its first place.
constexpr std::array<std::string_view, 57> kKeyOrder = {
    "openapi", "info", "title", "version", "description", "summary", "termsOfService", "contact", "license",
    "name", "url", "email", "servers", "paths", "webhooks", "components", "security", "tags", "externalDocs",
    "schemas", "responses", "parameters", "examples", "requestBodies", "headers", "securitySchemes", "links",
    "callbacks", "get", "put", "post", "delete", "options", "head", "patch", "trace", "operationId", "tags",
    "requestBody", "responses", "type", "format", "enum", "default", "example", "properties", "required",
    "items", "allOf", "oneOf", "anyOf", "not", "$ref", "in", "schema", "content", "application/json"};

constexpr std::size_t kLongestOrderedKey = 16;

const std::unordered_map<std::string_view, int>& keyRanks() {
    static const std::unordered_map<std::string_view, int> ranks = [] {
        std::unordered_map<std::string_view, int> map;
        for (std::size_t i = 0; i < kKeyOrder.size(); ++i) map.try_emplace(kKeyOrder[i], static_cast<int>(i));
        return map;
    }();
    return ranks;
}

// Characters that a reader drops, folds or cannot take in a plain or block scalar: control characters
// (a tab and a line feed aside), DEL, the C1 controls with NEL, the line and paragraph separators, the
// byte order mark and the two non-characters at the end of the basic plane.
bool isUnprintable(char32_t c) {
    if (c < 0x20) return c != '\t' && c != '\n';
    if (c < 0x7F) return false;
    if (c <= 0x9F) return true;
    return c == 0x2028 || c == 0x2029 || c == 0xFEFF || c == 0xFFFE || c == 0xFFFF;
}

bool containsUnprintable(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            if (isUnprintable(b)) return true;
            ++i;
            continue;
        }
        if (isUnprintable(VoziZazIreCore::TextServices::decodeUtf8(text, i))) return true;
    }
    return false;
}

// What each byte asks of a text: quotes as a value, quotes as a key, a closer look (control characters
// and DEL, and bytes of characters beyond ASCII, some of which are unprintable).
enum ByteClass : std::uint8_t { kValueQuote = 1, kKeyQuote = 2, kControl = 4, kHigh = 8 };

constexpr std::array<std::uint8_t, 256> kByteClasses = [] {
    std::array<std::uint8_t, 256> table{};
    for (unsigned char c : std::string_view(":#\"'\t{}[],&*!|>%@`\n")) table[c] |= kValueQuote;
    for (unsigned char c : std::string_view(":{}[],&*#?|-<>=!%@`\"'\\")) table[c] |= kKeyQuote;
    for (unsigned c = 0; c < 0x20; ++c) table[c] |= kControl;
    table[0x7F] |= kControl;
    for (unsigned c = 0x80; c < 0x100; ++c) table[c] |= kHigh;
    return table;
}();

std::uint8_t classify(std::string_view text) {
    std::uint8_t classes = 0;
    for (const char c : text) classes |= kByteClasses[static_cast<unsigned char>(c)];
    return classes;
}

// True when the classes and the text tell of a character that must be escaped; a tab and a line feed
// are left to the caller.
bool unprintableIn(std::string_view text, std::uint8_t classes) {
    return (classes & (kControl | kHigh)) && containsUnprintable(text);
}

bool startsWithIndicator(std::string_view text) {
    if (text == "-" || text == "?" || text.starts_with("- ") || text.starts_with("? ")) return true;
    // Document markers.
    return text.starts_with("---") || text.starts_with("...");
}

// Forms that a YAML 1.2 reader of the core schema types but the editor's reader keeps as text.
bool isCoreSchemaScalar(std::string_view text) {
    if (text.size() > 2 && text.starts_with("0o")) {
        return std::all_of(text.begin() + 2, text.end(), [](char c) { return c >= '0' && c <= '7'; });
    }
    std::string_view body = text;
    if (!body.empty() && (body[0] == '+' || body[0] == '-')) body.remove_prefix(1);
    if (body == ".inf" || body == ".Inf" || body == ".INF") return true;
    return text == ".nan" || text == ".NaN" || text == ".NAN";
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (lower(text[i]) != word[i]) return false;
    return true;
}

// What the C library's decimal conversion reads as a whole: the numbers the editor's reader types, and
// the words for infinity and not-a-number in any letter case, with a sign.
bool readsAsDouble(std::string_view text) {
    if (VoziZazIreParsing::YAMLScalarResolver::number(text)) return true;
    std::string_view body = text;
    if (!body.empty() && (body[0] == '+' || body[0] == '-')) body.remove_prefix(1);
    if (equalsIgnoringCase(body, "inf") || equalsIgnoringCase(body, "infinity") || equalsIgnoringCase(body, "nan"))
        return true;
    if (body.size() < 5 || !equalsIgnoringCase(body.substr(0, 4), "nan(") || body.back() != ')') return false;
    return std::all_of(body.begin() + 4, body.end() - 1, [](char c) {
        return (c >= '0' && c <= '9') || (lower(c) >= 'a' && lower(c) <= 'z') || c == '_';
    });
}

bool isKeyWord(std::string_view key) {
    if (key.size() > 5) return false;
    static constexpr std::array<std::string_view, 8> kWords = {"true", "false", "null", "~", "yes", "no", "on", "off"};
    return std::any_of(kWords.begin(), kWords.end(), [&](std::string_view word) { return equalsIgnoringCase(key, word); });
}

std::string integerText(std::int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// True when a text may read as a number: numbers, infinities and not-a-number start with a digit, a
// sign, a point or the first letter of "inf" or "nan".
bool mayReadAsNumber(std::string_view text) {
    switch (text.front()) {
        case '0': case '1': case '2': case '3': case '4': case '5': case '6': case '7': case '8': case '9':
        case '+': case '-': case '.': case 'i': case 'I': case 'n': case 'N': return true;
        default: return false;
    }
}

bool keyNeedsQuotes(std::string_view key) {
    if (key.empty() || key.front() == ' ' || key.back() == ' ' || isKeyWord(key)) return true;
    const std::uint8_t classes = classify(key);
    // Any control character, a tab and a line feed included.
    if ((classes & (kKeyQuote | kControl)) || unprintableIn(key, classes)) return true;
    // A bare key that reads as a number would come back as that number's text ("+1" as 1, "1e3" as
    // 1000): keys are quoted by the same number test as texts.
    return mayReadAsNumber(key) && (isCoreSchemaScalar(key) || readsAsDouble(key));
}

// `text` in double quotes: a backslash, a double quote, a line feed, a tab and a carriage return
// escaped as such, other unprintable characters by their names or code points.
void appendQuoted(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out.push_back('"');
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        const std::size_t start = i;
        const char32_t c = b < 0x80 ? (++i, b) : VoziZazIreCore::TextServices::decodeUtf8(text, i);
        switch (c) {
            case '\\': out.append("\\\\"); continue;
            case '"': out.append("\\\""); continue;
            case '\n': out.append("\\n"); continue;
            case '\t': out.append("\\t"); continue;
            case '\r': out.append("\\r"); continue;
            case 0: out.append("\\0"); continue;
            case 0x07: out.append("\\a"); continue;
            case 0x08: out.append("\\b"); continue;
            case 0x0B: out.append("\\v"); continue;
            case 0x0C: out.append("\\f"); continue;
            case 0x1B: out.append("\\e"); continue;
            default: break;
        }
        if (!isUnprintable(c)) {
            out.append(text.substr(start, i - start));
        } else if (c <= 0xFF) {
            out.append("\\x");
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        } else {
            out.append("\\u");
            for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(c >> shift) & 15]);
        }
    }
    out.push_back('"');
}

class Emitter {
public:
    Emitter(const PlainValueTree& tree, ChunkedTextOutput& output) : tree_(tree), output_(output), out_(output.buffer()) {}

    void document() {
        const Index root = tree_.root();
        if (tree_.kind(root) == Kind::dictionary && tree_.count(root) > 0) {
            mapping(root, 0);
        } else if (tree_.kind(root) == Kind::list && tree_.count(root) > 0) {
            sequence(root, 0);
        } else {
            scalar(root, 0, 2);
        }
    }

private:
    void line(std::size_t indent) {
        output_.lineBoundary();
        if (!output_.empty()) out_.push_back('\n');
        out_.append(indent, ' ');
    }

    // The members of a dictionary in key order, pushed onto order_ from `base` on.
    void orderMembers(Index m, std::size_t base) {
        const std::size_t n = tree_.count(m);
        for (std::size_t i = 0; i < n; ++i) {
            order_.push_back(Ranked{YAMLTextEmitter::keyRank(tree_.key(m, i)), static_cast<std::uint32_t>(i)});
        }
        std::sort(order_.begin() + static_cast<std::ptrdiff_t>(base), order_.end(), [&](const Ranked& a, const Ranked& b) {
            const bool aRanked = a.rank >= 0;
            const bool bRanked = b.rank >= 0;
            if (aRanked != bRanked) return aRanked;
            if (aRanked) return a.rank < b.rank;
            return tree_.key(m, a.member) < tree_.key(m, b.member);
        });
    }

    void member(std::string_view key, Index v, std::size_t column, std::size_t level) {
        appendKey(key);
        if (tree_.isNonEmptyCollection(v)) {
            out_.push_back(':');
            collection(v, level);
        } else {
            out_.append(": ");
            scalar(v, column, column + 2);
        }
    }

    void collection(Index v, std::size_t level) {
        if (tree_.kind(v) == Kind::dictionary) {
            mapping(v, level);
        } else {
            sequence(v, level);
        }
    }

    void mapping(Index m, std::size_t level) {
        const std::size_t base = order_.size();
        orderMembers(m, base);
        for (std::size_t k = base; k < order_.size(); ++k) {
            const std::uint32_t i = order_[k].member;
            line(2 * level);
            member(tree_.key(m, i), tree_.value(m, i), 2 * level, level + 1);
        }
        order_.resize(base);
    }

    void sequence(Index a, std::size_t level) {
        const std::size_t n = tree_.count(a);
        for (std::size_t i = 0; i < n; ++i) {
            const Index e = tree_.element(a, i);
            line(2 * level);
            if (tree_.kind(e) == Kind::dictionary && tree_.count(e) > 0) {
                // A mapping in the item: its first member on the dash's line, the others below it.
                const std::size_t base = order_.size();
                orderMembers(e, base);
                for (std::size_t k = base; k < order_.size(); ++k) {
                    const std::uint32_t j = order_[k].member;
                    if (k == base) {
                        out_.append("- ");
                    } else {
                        line(2 * level + 2);
                    }
                    member(tree_.key(e, j), tree_.value(e, j), 2 * level + 2, level + 2);
                }
                order_.resize(base);
            } else if (tree_.kind(e) == Kind::list && tree_.count(e) > 0) {
                out_.push_back('-');
                sequence(e, level + 1);
            } else {
                out_.append("- ");
                scalar(e, 2 * level, 2 * level + 2);
            }
        }
    }

    void appendKey(std::string_view key) {
        if (keyNeedsQuotes(key)) {
            appendQuoted(out_, key);
        } else {
            out_.append(key);
        }
    }

    // A value that is not a non-empty collection. A literal block's lines go `blockIndent` columns in,
    // deeper than its parent's column `parentColumn`.
    void scalar(Index v, std::size_t parentColumn, std::size_t blockIndent) {
        switch (tree_.kind(v)) {
            case Kind::null: out_.append("null"); return;
            case Kind::boolean: out_.append(tree_.boolean(v) ? "true" : "false"); return;
            case Kind::integer: out_.append(integerText(tree_.integer(v))); return;
            case Kind::real: {
                const double d = tree_.real(v);
                if (d == std::floor(d) && std::fabs(d) < 9223372036854775808.0) {
                    out_.append(integerText(static_cast<std::int64_t>(d)));
                } else {
                    out_.append(VoziZazIreCore::TextServices::shortestDouble(d));
                }
                return;
            }
            case Kind::numberText: out_.append(tree_.text(v)); return;
            case Kind::list: out_.append("[]"); return;
            case Kind::dictionary: out_.append("{}"); return;
            case Kind::text: text(tree_.text(v), parentColumn, blockIndent); return;
        }
    }

    void text(std::string_view value, std::size_t parentColumn, std::size_t blockIndent) {
        if (value.empty()) {
            out_.append("\"\"");
        } else if (value.find('\n') != std::string_view::npos) {
            if (YAMLTextEmitter::literalBlockCanHold(value)) {
                literalBlock(value, blockIndent - parentColumn, blockIndent);
            } else {
                appendQuoted(out_, value);
            }
        } else if (YAMLTextEmitter::textNeedsQuotes(value)) {
            appendQuoted(out_, value);
        } else {
            out_.append(value);
        }
    }

    void literalBlock(std::string_view value, std::size_t indicator, std::size_t indent) {
        std::size_t trailing = 0;
        while (trailing < value.size() && value[value.size() - 1 - trailing] == '\n') ++trailing;
        const std::string_view body = value.substr(0, value.size() - trailing);
        // The reader takes the indentation from the first line with content; a line that itself starts
        // with a space needs the indentation given in the header.
        const std::size_t firstContent = body.find_first_not_of('\n');
        const bool needsIndicator = firstContent != std::string_view::npos && body[firstContent] == ' ';
        out_.push_back('|');
        if (needsIndicator) out_.append(std::to_string(indicator));
        if (trailing == 0) out_.push_back('-');
        if (trailing >= 2) out_.push_back('+');
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = body.find('\n', start);
            line(indent);
            out_.append(body.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
            if (end == std::string_view::npos) break;
            start = end + 1;
        }
        // The line break after the last line stands for the first trailing line feed and each line of
        // indentation alone for one more. A single one is kept by the header whatever follows, but the
        // end of the text gives the last line no break: one line of indentation supplies it.
        const std::size_t blankLines = trailing == 1 ? 1 : trailing == 0 ? 0 : trailing - 1;
        for (std::size_t i = 0; i < blankLines; ++i) line(indent);
    }

    struct Ranked {
        int rank;
        std::uint32_t member;
    };

    const PlainValueTree& tree_;
    ChunkedTextOutput& output_;
    std::string& out_;
    std::vector<Ranked> order_;
};

}  // namespace

int YAMLTextEmitter::keyRank(std::string_view key) {
    if (key.size() > kLongestOrderedKey || key.size() < 2) return -1;
    const auto& ranks = keyRanks();
    const auto it = ranks.find(key);
    return it == ranks.end() ? -1 : it->second;
}

std::string YAMLTextEmitter::keyText(std::string_view key) {
    if (!keyNeedsQuotes(key)) return std::string(key);
    std::string out;
    appendQuoted(out, key);
    return out;
}

bool YAMLTextEmitter::textNeedsQuotes(std::string_view text) {
    if (text.empty()) return true;
    if (text.front() == ' ' || text.back() == ' ') return true;
    const std::uint8_t classes = classify(text);
    if (classes & kValueQuote) return true;
    if (startsWithIndicator(text) || isCoreSchemaScalar(text) || readsAsDouble(text)) return true;
    if (VoziZazIreParsing::YAMLScalarResolver::resolve(text).kind != VoziZazIreParsing::YAMLScalarResolver::Kind::string)
        return true;
    return unprintableIn(text, classes);
}

bool YAMLTextEmitter::literalBlockCanHold(std::string_view text) {
    return text.find_first_not_of('\n') != std::string_view::npos && !unprintableIn(text, classify(text));
}

std::string YAMLTextEmitter::quoted(std::string_view text) {
    std::string out;
    appendQuoted(out, text);
    return out;
}

}  // namespace Carvex

namespace Carvex {

std::string YAMLTextEmitter::write(const PlainValueTree& tree) {
    ChunkedTextOutput output;
    if (!tree.empty()) Emitter(tree, output).document();
    return output.finish();
}

void YAMLTextEmitter::write(const PlainValueTree& tree, QString& out) {
    if (tree.empty()) return;
    qsizetype length = 0;
    {
        ChunkedTextOutput counter(length);
        Emitter(tree, counter).document();
        counter.finish();
    }
    out.reserve(out.size() + length);
    ChunkedTextOutput output(out);
    Emitter(tree, output).document();
    output.finish();
}

}  // namespace Carvex
