#include "Carvex/Conversion/YAMLValueReader.h"

#include "kit/core/GraphemeCursor.h"
#include "kit/core/TextServices.h"
#include "kit/parsing/YAMLParser.h"
#include "kit/parsing/YAMLScalarResolver.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace Carvex {

namespace {

using VoziZazIreCore::GenericNode;
using VoziZazIreCore::GenericNodeKind;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isNumberCharacter(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '+' || c == '-' || c == '.';
}

// Doubles from 2^53 on no longer hold every integer.
constexpr double kExactIntegerLimit = 9007199254740992.0;

class Builder {
public:
    Builder(std::string_view text, PlainValueTree& tree) : text_(text), tree_(tree) {}

    PlainValueTree::Index add(const GenericNode& node) {
        switch (node.kind()) {
            case GenericNodeKind::object: {
                const auto members = *node.objectValue();
                const std::size_t base = pending_.size();
                for (const GenericNode::Member& member : members) {
                    const PlainValueTree::Index key = tree_.addText(member.key);
                    const PlainValueTree::Index value = add(*member.value);
                    pending_.push_back(key);
                    pending_.push_back(value);
                }
                const PlainValueTree::Index result = tree_.addDictionary(std::span(pending_).subspan(base));
                pending_.resize(base);
                return result;
            }
            case GenericNodeKind::array: {
                const auto elements = *node.arrayValue();
                const std::size_t base = pending_.size();
                for (const GenericNode* element : elements) {
                    const PlainValueTree::Index value = add(*element);
                    pending_.push_back(value);
                }
                const PlainValueTree::Index result = tree_.addList(std::span(pending_).subspan(base));
                pending_.resize(base);
                return result;
            }
            case GenericNodeKind::string:
                return tree_.addText(node.stringValue().value_or(std::string_view()));
            case GenericNodeKind::number:
                return addNumber(node);
            case GenericNodeKind::bool_:
                return tree_.addBoolean(node.boolValue().value_or(false));
            case GenericNodeKind::null:
                break;
        }
        return tree_.addNull();
    }

private:
    PlainValueTree::Index addNumber(const GenericNode& node) {
        const double d = node.numberValue().value_or(0);
        if (!std::isfinite(d)) {
            // "1e400" overflows a double but is a fine JSON number; inf and nan are not numbers of JSON.
            if (const auto literal = YAMLValueReader::jsonNumberLiteral(scalarText(node, d)))
                return tree_.addNumberText(*literal);
            const auto start = node.range().start;
            throw YAMLValueReader::NonFiniteNumber(start.line, start.column);
        }
        if (std::fabs(d) >= kExactIntegerLimit && d == std::floor(d)) {
            if (const auto exact = exactInteger(scalarText(node, d))) return *exact;
        }
        if (const auto integer = VoziZazIreCore::TextServices::exactInt64(d)) return tree_.addInteger(*integer);
        return tree_.addReal(d);
    }

    // The integer an integer literal (decimal or 0x hexadecimal, with a sign) stands for, digit for digit.
    std::optional<PlainValueTree::Index> exactInteger(std::string_view literal) {
        if (literal.empty()) return std::nullopt;
        const bool negative = literal[0] == '-';
        std::string_view body = literal;
        if (body[0] == '-' || body[0] == '+') body.remove_prefix(1);
        if (body.size() > 2 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X')) {
            body.remove_prefix(2);
            while (body.size() > 1 && body[0] == '0') body.remove_prefix(1);
            std::uint64_t magnitude = 0;
            const auto result = std::from_chars(body.data(), body.data() + body.size(), magnitude, 16);
            if (result.ec != std::errc() || result.ptr != body.data() + body.size()) return std::nullopt;
            return addMagnitude(negative, magnitude);
        }
        if (body.empty()) return std::nullopt;
        for (char c : body)
            if (!isDigit(c)) return std::nullopt;
        const auto json = YAMLValueReader::jsonNumberLiteral(literal);
        if (!json) return std::nullopt;
        std::int64_t value = 0;
        const auto result = std::from_chars(json->data(), json->data() + json->size(), value);
        if (result.ec == std::errc() && result.ptr == json->data() + json->size()) return tree_.addInteger(value);
        return tree_.addNumberText(*json);
    }

    PlainValueTree::Index addMagnitude(bool negative, std::uint64_t magnitude) {
        constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int64_t>::max();
        if (!negative && magnitude <= kMaxPositive) return tree_.addInteger(static_cast<std::int64_t>(magnitude));
        if (negative && magnitude <= kMaxPositive + 1) return tree_.addInteger(static_cast<std::int64_t>(0 - magnitude));
        std::string digits = std::to_string(magnitude);
        if (negative) digits.insert(digits.begin(), '-');
        return tree_.addNumberText(digits);
    }

    // The plain scalar a number node was read from, when it can be found and reads as `d`.
    std::string_view scalarText(const GenericNode& node, double d) {
        const auto start = node.range().start;
        if (start.column < 1 || start.offset < start.column - 1) return {};
        const auto clusters = static_cast<std::size_t>(start.column - 1);
        const auto lineStart = static_cast<std::size_t>(start.offset) - clusters;
        if (lineStart > text_.size()) return {};
        std::size_t p = lineStart;
        std::size_t k = 0;
        while (k < clusters && p < text_.size() && static_cast<unsigned char>(text_[p]) < 0x80) ++p, ++k;
        if (k < clusters) {
            // Characters beyond ASCII before the scalar: walk them by clusters.
            VoziZazIreCore::GraphemeCursor cursor(text_);
            for (; k < clusters && p < text_.size(); ++k) p = cursor.boundaryAfter(p);
            if (k < clusters) return {};
        }
        std::size_t e = p;
        while (e < text_.size() && isNumberCharacter(text_[e])) ++e;
        const std::string_view literal = text_.substr(p, e - p);
        const auto value = VoziZazIreParsing::YAMLScalarResolver::number(literal);
        if (!value || std::bit_cast<std::uint64_t>(*value) != std::bit_cast<std::uint64_t>(d)) return {};
        return literal;
    }

    std::string_view text_;
    PlainValueTree& tree_;
    std::vector<PlainValueTree::Index> pending_;
};

}  // namespace

YAMLValueReader::NonFiniteNumber::NonFiniteNumber(std::int64_t line, std::int64_t column)
    : line_(line), column_(column) {
    what_ = "Number at line " + std::to_string(line) + ", column " + std::to_string(column) +
            " is not finite; JSON has no such number";
}

PlainValueTree YAMLValueReader::read(std::string_view text) {
    PlainValueTree tree;
    {
        const VoziZazIreCore::NodePtr root = VoziZazIreParsing::YAMLParser().parse(
            VoziZazIreParsing::DocumentParser::bytesOf(text));
        // Room for a node per eight bytes: pages never touched cost nothing, and the arrays never move.
        tree.reserve(text.size() / 8 + 16, text.size() / 2);
        Builder builder(text, tree);
        tree.setRoot(builder.add(*root));
    }
#if defined(__GLIBC__)
    // The node tree was made of many small blocks; hand their pages back before the output is written
    // rather than keep them for later allocations of the same size.
    malloc_trim(0);
#endif
    return tree;
}

std::optional<std::string> YAMLValueReader::jsonNumberLiteral(std::string_view text) {
    std::size_t i = 0;
    std::string out;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') out.push_back('-');
        ++i;
    }
    const std::size_t intStart = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    std::string_view integer = text.substr(intStart, i - intStart);
    std::string_view fraction;
    if (i < text.size() && text[i] == '.') {
        const std::size_t f = ++i;
        while (i < text.size() && isDigit(text[i])) ++i;
        fraction = text.substr(f, i - f);
    }
    if (integer.empty() && fraction.empty()) return std::nullopt;
    std::string_view exponent;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        const std::size_t e = i++;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        const std::size_t digits = i;
        while (i < text.size() && isDigit(text[i])) ++i;
        if (i == digits) return std::nullopt;
        exponent = text.substr(e, i - e);
    }
    if (i != text.size()) return std::nullopt;
    while (integer.size() > 1 && integer[0] == '0') integer.remove_prefix(1);
    out.append(integer.empty() ? "0" : integer);
    if (!fraction.empty()) {
        out.push_back('.');
        out.append(fraction);
    }
    out.append(exponent);
    return out;
}

}  // namespace Carvex
