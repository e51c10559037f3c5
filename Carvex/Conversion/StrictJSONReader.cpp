#include "Carvex/Conversion/StrictJSONReader.h"

#include "kit/core/Limits.h"
#include "kit/core/TextServices.h"

#include <charconv>
#include <cmath>
#include <unordered_map>

namespace Carvex {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

StrictJSONReader::SyntaxError::SyntaxError(std::string message, std::size_t offset)
    : message_(std::move(message)), offset_(offset) {
    what_ = message_ + " at byte " + std::to_string(offset_);
}

void StrictJSONReader::fail(const std::string& message, std::size_t at) const { throw SyntaxError(message, at); }

void StrictJSONReader::failHere(const std::string& message) const {
    fail(atEnd() ? "Unexpected end of text" : message, pos_);
}

void StrictJSONReader::skipWhiteSpace() noexcept {
    while (pos_ < text_.size()) {
        const char c = text_[pos_];
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t') return;
        ++pos_;
    }
}

void StrictJSONReader::expect(char c, const char* what) {
    if (peek() != c || atEnd()) failHere(std::string("Expected ") + what);
    ++pos_;
}

PlainValueTree StrictJSONReader::read() {
    std::size_t bad = 0;
    if (!VoziZazIreCore::TextServices::isValidUtf8(text_, &bad)) fail("Invalid UTF-8", bad);
    if (text_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
    // Room for a node per eight bytes: pages never touched cost nothing, and the arrays never move.
    tree_.reserve(text_.size() / 8 + 16, text_.size() / 2);

    for (;;) {
        // A value starts here.
        skipWhiteSpace();
        PlainValueTree::Index value = 0;
        switch (peek()) {
            case '{':
            case '[': {
                if (frames_.size() >= VoziZazIreCore::kMaxNestingDepth)
                    fail("Nesting deeper than " + std::to_string(VoziZazIreCore::kMaxNestingDepth) + " levels", pos_);
                const bool dictionary = text_[pos_] == '{';
                ++pos_;
                frames_.push_back(Frame{dictionary ? Container::dictionary : Container::list, pending_.size()});
                skipWhiteSpace();
                if (peek() == (dictionary ? '}' : ']') && !atEnd()) {
                    ++pos_;
                    value = close(frames_.back());
                    frames_.pop_back();
                    break;
                }
                if (dictionary) readKey();
                continue;
            }
            case '"':
                value = tree_.addText(readString());
                break;
            case 't':
            case 'f':
            case 'n':
                value = readWord();
                break;
            default:
                if (atEnd() || !(peek() == '-' || isDigit(peek()))) failHere("Expected a value");
                value = readNumber();
                break;
        }

        // A value is complete: hand it to its container, closing those that end here.
        for (;;) {
            if (frames_.empty()) {
                skipWhiteSpace();
                if (!atEnd()) fail("Unexpected text after the value", pos_);
                tree_.setRoot(value);
                return std::move(tree_);
            }
            pending_.push_back(value);
            skipWhiteSpace();
            const Frame frame = frames_.back();
            const bool dictionary = frame.container == Container::dictionary;
            if (peek() == ',' && !atEnd()) {
                ++pos_;
                if (dictionary) {
                    skipWhiteSpace();
                    readKey();
                }
                break;
            }
            if (peek() != (dictionary ? '}' : ']') || atEnd())
                failHere(dictionary ? "Expected ',' or '}'" : "Expected ',' or ']'");
            ++pos_;
            value = close(frame);
            frames_.pop_back();
        }
    }
}

void StrictJSONReader::readKey() {
    if (peek() != '"' || atEnd()) failHere("Expected a member name");
    pending_.push_back(tree_.addText(readString()));
    skipWhiteSpace();
    expect(':', "':'");
}

std::string_view StrictJSONReader::readString() {
    const std::size_t open = pos_;
    ++pos_;
    const std::size_t start = pos_;
    // Fast path: a run without escapes is taken as it stands.
    while (pos_ < text_.size()) {
        const unsigned char c = static_cast<unsigned char>(text_[pos_]);
        if (c == '"') {
            return text_.substr(start, pos_++ - start);
        }
        if (c == '\\') break;
        if (c < 0x20) fail("Control character in a string", pos_);
        ++pos_;
    }
    scratch_.assign(text_.substr(start, pos_ - start));
    while (pos_ < text_.size()) {
        const unsigned char c = static_cast<unsigned char>(text_[pos_]);
        if (c == '"') {
            ++pos_;
            return scratch_;
        }
        if (c == '\\') {
            appendEscape();
            continue;
        }
        if (c < 0x20) fail("Control character in a string", pos_);
        scratch_.push_back(static_cast<char>(c));
        ++pos_;
    }
    fail("Unterminated string", open);
}

unsigned StrictJSONReader::readHex4() {
    unsigned value = 0;
    for (int i = 0; i < 4; ++i) {
        const int v = pos_ < text_.size() ? hexValue(text_[pos_]) : -1;
        if (v < 0) failHere("Expected four hexadecimal digits");
        value = value * 16 + static_cast<unsigned>(v);
        ++pos_;
    }
    return value;
}

void StrictJSONReader::appendEscape() {
    const std::size_t at = pos_;
    ++pos_;
    if (atEnd()) fail("Unterminated string", at);
    const char e = text_[pos_++];
    switch (e) {
        case '"': scratch_.push_back('"'); return;
        case '\\': scratch_.push_back('\\'); return;
        case '/': scratch_.push_back('/'); return;
        case 'b': scratch_.push_back('\b'); return;
        case 'f': scratch_.push_back('\f'); return;
        case 'n': scratch_.push_back('\n'); return;
        case 'r': scratch_.push_back('\r'); return;
        case 't': scratch_.push_back('\t'); return;
        case 'u': {
            char32_t cp = readHex4();
            if (cp >= 0xDC00 && cp <= 0xDFFF) fail("Unpaired surrogate escape", at);
            if (cp >= 0xD800 && cp <= 0xDBFF) {
                if (!(pos_ + 1 < text_.size() && text_[pos_] == '\\' && text_[pos_ + 1] == 'u'))
                    fail("Unpaired surrogate escape", at);
                pos_ += 2;
                const char32_t low = readHex4();
                if (low < 0xDC00 || low > 0xDFFF) fail("Unpaired surrogate escape", at);
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            }
            VoziZazIreCore::TextServices::appendUtf8(scratch_, cp);
            return;
        }
        default:
            fail("Invalid escape sequence", at);
    }
}

PlainValueTree::Index StrictJSONReader::readNumber() {
    const std::size_t start = pos_;
    if (peek() == '-') ++pos_;
    if (atEnd() || !isDigit(peek())) failHere("Expected a digit");
    if (text_[pos_] == '0') {
        ++pos_;
    } else {
        while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
    }
    bool integral = true;
    if (peek() == '.' && !atEnd()) {
        integral = false;
        ++pos_;
        if (atEnd() || !isDigit(peek())) failHere("Expected a digit after the decimal point");
        while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
    }
    if ((peek() == 'e' || peek() == 'E') && !atEnd()) {
        integral = false;
        ++pos_;
        if (peek() == '+' || peek() == '-') ++pos_;
        if (atEnd() || !isDigit(peek())) failHere("Expected a digit in the exponent");
        while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
    }
    const std::string_view literal = text_.substr(start, pos_ - start);
    if (integral) {
        std::int64_t value = 0;
        const auto result = std::from_chars(literal.data(), literal.data() + literal.size(), value);
        if (result.ec == std::errc() && result.ptr == literal.data() + literal.size()) return tree_.addInteger(value);
        return tree_.addNumberText(literal);
    }
    const std::optional<double> value = VoziZazIreCore::TextServices::parseDouble(literal);
    if (!value || !std::isfinite(*value)) return tree_.addNumberText(literal);
    return tree_.addReal(*value);
}

PlainValueTree::Index StrictJSONReader::readWord() {
    const std::string_view rest = text_.substr(pos_);
    if (rest.starts_with("true")) {
        pos_ += 4;
        return tree_.addBoolean(true);
    }
    if (rest.starts_with("false")) {
        pos_ += 5;
        return tree_.addBoolean(false);
    }
    if (rest.starts_with("null")) {
        pos_ += 4;
        return tree_.addNull();
    }
    fail("Expected a value", pos_);
}

PlainValueTree::Index StrictJSONReader::close(const Frame& frame) {
    PlainValueTree::Index value;
    if (frame.container == Container::dictionary) {
        dropRepeatedKeys(frame.firstPending);
        value = tree_.addDictionary(std::span(pending_).subspan(frame.firstPending));
    } else {
        value = tree_.addList(std::span(pending_).subspan(frame.firstPending));
    }
    pending_.resize(frame.firstPending);
    return value;
}

void StrictJSONReader::dropRepeatedKeys(std::size_t firstPending) {
    const std::size_t pairs = (pending_.size() - firstPending) / 2;
    if (pairs < 2) return;
    auto keyAt = [&](std::size_t i) { return tree_.text(pending_[firstPending + 2 * i]); };
    bool repeated = false;
    std::unordered_map<std::string_view, std::size_t> firstIndex;
    if (pairs <= 16) {
        for (std::size_t i = 1; i < pairs && !repeated; ++i)
            for (std::size_t j = 0; j < i; ++j)
                if (keyAt(i) == keyAt(j)) {
                    repeated = true;
                    break;
                }
        if (!repeated) return;
    }
    // The last value of a repeated key takes the first key's place; later occurrences go.
    firstIndex.reserve(pairs);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < pairs; ++i) {
        const auto [it, inserted] = firstIndex.try_emplace(keyAt(i), kept);
        const PlainValueTree::Index valueIndex = pending_[firstPending + 2 * i + 1];
        if (inserted) {
            pending_[firstPending + 2 * kept] = pending_[firstPending + 2 * i];
            pending_[firstPending + 2 * kept + 1] = valueIndex;
            ++kept;
        } else {
            pending_[firstPending + 2 * it->second + 1] = valueIndex;
        }
    }
    pending_.resize(firstPending + 2 * kept);
}

}  // namespace Carvex
