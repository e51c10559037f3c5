// The JSON scanner reads 64 units at a time; these plain one-unit-at-a-time readings of the same
// rules must agree with it on texts long enough to cross many blocks.

#include "Carvex/CaretContext/JSONContextScanner.h"

#include "CaretTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using Carvex::JSONContextScanner;
using Carvex::PathComponent;

namespace {

bool plainInsideString(const QString& text, qsizetype caret)
{
    bool inString = false;
    bool escaped = false;
    for (qsizetype i = 0; i < caret; ++i) {
        const QChar unit = text[i];
        if (escaped)
            escaped = false;
        else if (inString && unit == u'\\')
            escaped = true;
        else if (unit == u'"')
            inString = !inString;
    }
    return inString;
}

std::vector<PathComponent> plainPath(const QString& text, qsizetype caret)
{
    struct Frame {
        bool object;
        int index;
    };
    std::vector<Frame> stack;
    std::vector<PathComponent> path;
    std::optional<QString> pending;
    bool inString = false;
    bool escaped = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < caret; ++i) {
        const QChar unit = text[i];
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (unit == u'\\') {
                escaped = true;
            } else if (unit == u'"') {
                inString = false;
                qsizetype next = i + 1;
                while (next < caret && text[next].isSpace())
                    ++next;
                if (next < caret && text[next] == u':')
                    pending = text.mid(start, i - start);
            }
            continue;
        }
        if (unit == u'"') {
            inString = true;
            start = i + 1;
        } else if (unit == u'{' || unit == u'[') {
            if (pending)
                path.push_back(PathComponent::forKey(*pending, path));
            else if (!stack.empty() && !stack.back().object)
                path.push_back(PathComponent::index(stack.back().index));
            stack.push_back({unit == u'{', 0});
            pending.reset();
        } else if (unit == u'}' || unit == u']') {
            pending.reset();
            if (!stack.empty()) {
                const bool object = stack.back().object;
                stack.pop_back();
                if (object == (unit == u'}') && !path.empty())
                    path.pop_back();
            }
        } else if (unit == u',') {
            pending.reset();
            if (!stack.empty() && !stack.back().object)
                ++stack.back().index;
        }
    }
    return path;
}

// Whether a string open at `at` (escaped or not) meets a line break before its closing quote.
bool plainStringEndsWithItsLine(const QString& text, qsizetype at, bool escaped)
{
    for (qsizetype i = at; i < text.size(); ++i) {
        if (text[i] == u'\n' || text[i] == u'\r')
            return true;
        if (escaped)
            escaped = false;
        else if (text[i] == u'\\')
            escaped = true;
        else if (text[i] == u'"')
            return false;
    }
    return false;
}

QSet<QString> plainKeys(const QString& text, qsizetype open, qsizetype caret)
{
    QSet<QString> keys;
    bool inString = false;
    bool escaped = false;
    qsizetype depth = 0;
    qsizetype keyStart = -1;
    for (qsizetype i = open + 1; i < text.size(); ++i) {
        if (i == caret && inString && plainStringEndsWithItsLine(text, i, escaped)) {
            // The string the caret stands in ends with its line.
            while (text[i] != u'\n' && text[i] != u'\r')
                ++i;
            inString = false;
            escaped = false;
            keyStart = -1;
        }
        const QChar unit = text[i];
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (unit == u'\\') {
                escaped = true;
            } else if (unit == u'"') {
                inString = false;
                if (depth == 0 && keyStart >= 0) {
                    qsizetype next = i + 1;
                    while (next < text.size() && text[next].isSpace())
                        ++next;
                    if (next < text.size() && text[next] == u':')
                        keys.insert(text.mid(keyStart, i - keyStart));
                }
                keyStart = -1;
            }
            continue;
        }
        if (unit == u'"') {
            inString = true;
            keyStart = depth == 0 ? i + 1 : -1;
        } else if (unit == u'{' || unit == u'[') {
            ++depth;
        } else if (unit == u'}') {
            if (depth == 0)
                break;
            --depth;
        } else if (unit == u']' && depth > 0) {
            --depth;
        }
    }
    return keys;
}

TEST(JSONScanDifferential, blockwiseReadingAgreesWithPlainReading)
{
    // Weighted towards quotes, backslashes and brackets, so that escapes and strings straddle the
    // 64-unit blocks; "Y", "_" and "y" look like brackets to the block classifier.
    const char16_t alphabet[] = {u'"', u'"', u'"', u'\\', u'\\', u'{', u'}', u'[', u']', u':', u',', u' ', u'\n',
                                 u'a', u'b', u'Y', u'_', u'y', 0x2028, 0xD83D, 0x00A0, u'\t'};
    std::mt19937 random(99);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(alphabet) - 1);
    const JSONContextScanner scanner;
    for (int round = 0; round < 300; ++round) {
        QString text;
        const int length = std::uniform_int_distribution<int>(0, 400)(random);
        for (int i = 0; i < length; ++i)
            text += QChar(alphabet[pick(random)]);
        for (qsizetype caret = 0; caret <= text.size(); caret += 1 + caret / 40) {
            const std::string where = "round " + std::to_string(round) + " caret " + std::to_string(caret);
            ASSERT_EQ(JSONContextScanner::isInsideString(text, caret), plainInsideString(text, caret)) << where;
            ASSERT_EQ(CaretTest::describe(scanner.extractPath(text, caret)),
                      CaretTest::describe(caret < 1 ? std::vector<PathComponent>{} : plainPath(text, caret)))
                << where;
            const std::optional<qsizetype> open =
                JSONContextScanner::findEnclosingObjectStart(text, caret, JSONContextScanner::isInsideString(text, caret));
            ASSERT_EQ(CaretTest::describe(scanner.extractExistingKeys(text, caret)),
                      CaretTest::describe(open ? plainKeys(text, *open, caret) : QSet<QString>()))
                << where;
        }
    }
}

} // namespace
