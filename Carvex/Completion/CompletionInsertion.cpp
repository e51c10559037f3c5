#include "Carvex/Completion/CompletionInsertion.h"

#include "Carvex/CaretContext/LineReading.h"
#include "Carvex/Completion/ScalarNameText.h"
#include "Carvex/Conversion/YAMLTextEmitter.h"
#include "Carvex/Indentation/IndentationDetector.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace Carvex::CompletionInsertion {

namespace {

bool isLineBreak(QChar c) {
    const char16_t unit = c.unicode();
    return unit == u'\n' || unit == u'\r' || unit == 0x0085 || unit == 0x2028 || unit == 0x2029;
}

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// The start of the line holding `position`.
qsizetype lineStart(QStringView text, qsizetype position) {
    qsizetype at = std::clamp<qsizetype>(position, 0, text.size());
    while (at > 0 && !isLineBreak(text[at - 1])) {
        --at;
    }
    return at;
}

QStringView trimmedBlanks(QStringView text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text[start])) {
        ++start;
    }
    while (end > start && isBlank(text[end - 1])) {
        --end;
    }
    return text.sliced(start, end - start);
}

QStringView withoutLeadingBlanks(QStringView text) {
    qsizetype start = 0;
    while (start < text.size() && isBlank(text[start])) {
        ++start;
    }
    return text.sliced(start);
}

QString indentationUnit(QStringView text) {
    IndentationDetector detector;
    detector.maxLinesToScan = 200;
    const std::optional<IndentationStyle> style = detector.detect(text);
    if (!style) {
        return QStringLiteral("  ");
    }
    return style->isTabs() ? QStringLiteral("\t") : QString(std::max(style->spacesWidth(), 0), u' ');
}

// The indentation of a YAML key written at `location`: the line's indentation, or, when only sequence dashes
// stand before the key, the column after them (and after the space still to come after a bare dash), so that
// what the key opens nests under the key rather than beside it.
QString keyColumn(QStringView text, qsizetype location, const QString& indentation, bool dashNeedsSpace) {
    const qsizetype start = lineStart(text, location);
    const QStringView lead = text.sliced(start, location - start);
    if (!lead.contains(u'-')) {
        return indentation;
    }
    for (QChar c : lead) {
        if (!isBlank(c) && c != u'-') {
            return indentation;
        }
    }
    const qsizetype width = lead.size() - std::min(lead.size(), indentation.size()) + (dashNeedsSpace ? 1 : 0);
    return indentation + QString(width, u' ');
}

// A YAML key written as it reads back: quoted when a reader would take its bare text for
// something else ("*/*" for an alias); a key already quoted stays.
QString yamlKey(const QString& key) {
    if (key.isEmpty() || key.startsWith(u'"') || key.startsWith(u'\'')) {
        return key;
    }
    const QByteArray utf8 = key.toUtf8();
    const std::string_view bytes(utf8.constData(), static_cast<size_t>(utf8.size()));
    if (!YAMLTextEmitter::textNeedsQuotes(bytes)) {
        return key;
    }
    return QString::fromStdString(YAMLTextEmitter::quoted(bytes));
}

// The word characters of ASCII, looked up without Unicode tables: a long word is read often.
constexpr std::array<bool, 128> asciiWordCharacters = [] {
    std::array<bool, 128> table{};
    for (char16_t unit = 0; unit < 128; ++unit) {
        table[unit] = (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') ||
                      (unit >= u'0' && unit <= u'9') || unit == u'_' || unit == u'-' || unit == u'$' || unit == u'#' ||
                      unit == u'/' || unit == u'~';
    }
    return table;
}();

// Where a proposal's range ends in the quoted scalar that holds the caret: past its closing quote when
// that stands at the caret, or further on where the scalar ends as the line reads (blanks, then the
// line's end or what may follow a scalar); else at the caret, for a quote further on that nothing of the
// kind follows belongs to the text after the caret, as does the rest of a scalar the line leaves open.
qsizetype quotedReplacementEnd(QStringView text, qsizetype caret, const LineReading::LineQuoted& scalar, bool json) {
    if (scalar.close < 0) {
        return caret;
    }
    if (scalar.close == caret) {
        return scalar.end;
    }
    qsizetype next = scalar.end;
    while (next < text.size() && isBlank(text[next])) {
        ++next;
    }
    if (next >= text.size() || isLineBreak(text[next])) {
        return scalar.end;
    }
    const QChar c = text[next];
    const bool ends = c == u',' || c == u':' || c == u']' || c == u'}' || (!json && c == u'#' && next > scalar.end);
    return ends ? scalar.end : caret;
}

}  // namespace

bool isWordCharacter(QChar c) {
    const char16_t unit = c.unicode();
    if (unit < 0x80) {
        return asciiWordCharacters[unit];
    }
    if (c.isSurrogate()) {
        return false;
    }
    return c.isLetterOrNumber() || c == u'_' || c == u'-' || c == u'$' || c == u'#' || c == u'/' || c == u'~';
}

qsizetype prefixLength(QStringView text, qsizetype caret) {
    if (caret <= 0 || caret > text.size()) {
        return 0;
    }
    qsizetype start = caret;
    const char16_t* units = text.utf16();
    while (start > 0) {
        const char16_t unit = units[start - 1];
        if (unit < 0x80 ? !asciiWordCharacters[unit] : !isWordCharacter(QChar(unit))) {
            break;
        }
        --start;
    }
    return caret - start;
}

QString lineIndentation(QStringView text, qsizetype caret) {
    if (caret < 0 || caret > text.size()) {
        return {};
    }
    const qsizetype start = lineStart(text, caret);
    qsizetype end = start;
    while (end < text.size() && isBlank(text[end])) {
        ++end;
    }
    return text.sliced(start, end - start).toString();
}

std::optional<Target> target(QStringView text, TextRange selection, DocumentLanguage language, bool requiresColon) {
    if (selection.location < 0 || selection.length < 0 || selection.end() > text.size()) {
        return std::nullopt;
    }
    const qsizetype caret = selection.location;
    qsizetype prefix = prefixLength(text, caret);
    const qsizetype wordStart = caret - prefix;
    if (language == DocumentLanguage::yaml && prefix > 0 && text[caret - prefix] == u'-') {
        // A sequence dash that starts the line stays in the text.
        const qsizetype start = lineStart(text, caret - prefix);
        if (trimmedBlanks(text.sliced(start, caret - prefix - start)).isEmpty()) {
            --prefix;
        }
    }
    TextRange range = selection.length > 0 ? selection : TextRange{caret - prefix, prefix};
    if (language == DocumentLanguage::json && requiresColon && range.location >= 1 &&
        text[range.location - 1] == u'"') {
        range = TextRange{range.location - 1, range.length + 1};
    }
    // An edge between the halves of a surrogate pair would split a character.
    const auto splitsPair = [text](qsizetype at) {
        return at > 0 && at < text.size() && text[at - 1].isHighSurrogate() && text[at].isLowSurrogate();
    };
    if (splitsPair(range.location) || splitsPair(range.end())) {
        return std::nullopt;
    }
    // The word holds no line break: its start is on the caret's line, and nearer its beginning.
    return Target{range, lineIndentation(text, wordStart), wordStart};
}

bool hasClosingBracketAfter(QStringView text, qsizetype from) {
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (qsizetype i = std::max<qsizetype>(from, 0); i < text.size(); ++i) {
        const QChar c = text[i];
        if (escaped) {
            escaped = false;
            continue;
        }
        if (c == u'\\') {
            escaped = true;
            continue;
        }
        if (c == u'"') {
            inString = !inString;
            continue;
        }
        if (inString) {
            continue;
        }
        if (c == u'{' || c == u'[') {
            ++depth;
        } else if (c == u'}' || c == u']') {
            if (depth == 0) {
                return true;
            }
            --depth;
        }
    }
    return false;
}

bool hasMoreClosingBraces(QStringView content) {
    qsizetype opening = 0;
    qsizetype closing = 0;
    qsizetype i = 0;
    while (i < content.size()) {
        if (content[i] == u'$' && i + 1 < content.size() && content[i + 1] == u'{') {
            qsizetype count = 1;
            i += 2;
            while (i < content.size() && count > 0) {
                if (content[i] == u'{') {
                    ++count;
                } else if (content[i] == u'}') {
                    --count;
                }
                ++i;
            }
            continue;
        }
        if (content[i] == u'{') {
            ++opening;
        } else if (content[i] == u'}') {
            ++closing;
        }
        ++i;
    }
    return opening < closing;
}

QString removingStrayClosingBrace(const QString& content) {
    const auto isSpace = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; };
    qsizetype at = content.size() - 1;
    while (at >= 0 && isSpace(content[at])) {
        --at;
    }
    while (at >= 0 && content[at] == u'}') {
        // Does this "}" close a field?
        int level = 0;
        bool closesField = false;
        for (qsizetype i = at - 1; i >= 0; --i) {
            if (content[i] == u'}') {
                ++level;
            } else if (content[i] == u'{' && i > 0 && content[i - 1] == u'$') {
                if (level == 0) {
                    closesField = true;
                    break;
                }
                --level;
            }
        }
        if (!closesField) {
            QString cut = content.left(at);
            qsizetype end = cut.size();
            while (end > 0 && cut[end - 1].isSpace()) {
                --end;
            }
            cut.truncate(end);
            return cut;
        }
        // It closes a field: look at what stands before it.
        --at;
        while (at >= 0 && isSpace(content[at])) {
            --at;
        }
    }
    return content;
}

QString reindent(QStringView content, const QString& base, const QString& unit) {
    const QList<QStringView> lines = content.split(u'\n');
    qsizetype common = -1;
    for (QStringView line : lines) {
        if (trimmedBlanks(line).isEmpty()) {
            continue;
        }
        const qsizetype leading = line.size() - withoutLeadingBlanks(line).size();
        common = common < 0 ? leading : std::min(common, leading);
    }
    common = std::max<qsizetype>(common, 0);
    QString result;
    result.reserve(content.size() + lines.size() * base.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            result.append(u'\n');
        }
        QStringView line = lines[i];
        if (trimmedBlanks(line).isEmpty()) {
            continue;
        }
        if (line.size() >= common) {
            line = line.sliced(common);
        }
        qsizetype columns = 0;
        qsizetype leading = 0;
        while (leading < line.size() && isBlank(line[leading])) {
            columns += line[leading] == u'\t' ? 2 : 1;
            ++leading;
        }
        if (i > 0) {
            result.append(base);
        }
        for (qsizetype level = 0; level < columns / 2; ++level) {
            result.append(unit);
        }
        result.append(line.sliced(leading));
    }
    return result;
}

std::optional<SnippetInsertion> snippetInsertion(QStringView text, TextRange selection, DocumentLanguage language,
                                                 const CompletionItem& item) {
    if (item.kind != CompletionItemKind::snippet || !item.snippetMetadata) {
        return std::nullopt;
    }
    const std::optional<Target> where = target(text, selection, language, item.requiresColon);
    if (!where) {
        return std::nullopt;
    }
    const SnippetMetadata& metadata = *item.snippetMetadata;
    const bool json = language == DocumentLanguage::json;
    TextRange range = where->range;
    QString content = metadata.templateContent;
    if (metadata.isBodyOnly) {
        const qsizetype feed = content.indexOf(u'\n');
        if (feed >= 0) {
            content = content.mid(feed + 1);
        }
    }
    if (json && !metadata.isBodyOnly && range.location >= 1 && text[range.location - 1] == u'"') {
        range = TextRange{range.location - 1, range.length + 1};
    }
    if (metadata.isBodyOnly || (hasClosingBracketAfter(text, range.end()) && hasMoreClosingBraces(content))) {
        content = removingStrayClosingBrace(content);
    }
    const QString unit = indentationUnit(text);
    const QString key = json ? QStringLiteral("\"") + item.label + QStringLiteral("\"") : item.label + u':';
    const bool keyNeeded = !metadata.isBodyOnly && !trimmedBlanks(content).startsWith(key);
    QString base = where->lineIndentation;
    if (keyNeeded) {
        bool opensObject = false;
        for (QStringView line : QStringView(content).split(u'\n')) {
            if (!trimmedBlanks(line).isEmpty()) {
                opensObject = trimmedBlanks(line).startsWith(u'{');
                break;
            }
        }
        if (!opensObject) {
            base += unit;
        }
    } else if (language == DocumentLanguage::yaml) {
        const qsizetype start = lineStart(text, range.location);
        if (withoutLeadingBlanks(text.sliced(start, range.location - start)) == u"- ") {
            base += QStringLiteral("  ");
        }
    }
    QString result = reindent(content, base, unit);
    if (keyNeeded) {
        // The template's own first line brings the space or line break after the key.
        result.prepend(json ? key + u':' : key);
    }
    return SnippetInsertion{range, result};
}

std::optional<OrdinaryInsertion> ordinaryInsertion(QStringView text, TextRange selection, DocumentLanguage language,
                                                   const CompletionItem& item) {
    if (item.kind == CompletionItemKind::snippet && item.snippetMetadata) {
        return std::nullopt;
    }
    const std::optional<Target> where = target(text, selection, language, item.requiresColon);
    if (!where) {
        return std::nullopt;
    }
    TextRange range = where->range;
    const bool json = language == DocumentLanguage::json;
    const bool yaml = language == DocumentLanguage::yaml;
    const QString& indentation = where->lineIndentation;
    const qsizetype caret = selection.location;

    // In a quoted scalar the proposal replaces what the author wrote of it from its opening quote, and
    // writes a whole scalar: a value in the author's quote, a key as a key.
    bool quotedSpan = false;
    if ((json || yaml) && selection.length == 0 && item.kind != CompletionItemKind::snippet
        && !item.insertText.contains(u'\n')) {
        if (const auto scalar = LineReading::quotedHolding(text, caret, json)) {
            range = TextRange{scalar->open, quotedReplacementEnd(text, caret, *scalar, json) - scalar->open};
            quotedSpan = true;
            if (!item.requiresColon) {
                const QString written = ScalarNameText::quotedScalar(item.label, scalar->quoting);
                return OrdinaryInsertion{range, written, range.location + written.size()};
            }
        }
    }

    // A plain YAML `$ref` value is replaced from its start: a name holding a blank or a colon is one value.
    if (yaml && !quotedSpan && selection.length == 0) {
        if (const auto start = LineReading::yamlPlainValueStart(text, caret, u"$ref")) {
            range = TextRange{*start, caret - *start};
        }
    }

    // A sequence dash kept before the word gets a space after it when it lacks one.
    bool dashNeedsSpace = false;
    if (yaml) {
        const qsizetype dash = where->wordStart;
        if (dash < caret && text[dash] == u'-') {
            const qsizetype start = lineStart(text, dash);
            if (trimmedBlanks(text.sliced(start, dash - start)).isEmpty()) {
                dashNeedsSpace = dash + 1 >= text.size() || text[dash + 1] != u' ';
            }
        }
    }

    QString result = item.insertText;
    // A bracket snippet opens an empty block with the caret on its inner line.
    bool block = false;
    if (item.kind == CompletionItemKind::snippet && (result.startsWith(u'{') || result.startsWith(u'['))) {
        const QChar open = result[0];
        const QChar close = open == u'{' ? u'}' : u']';
        result = QString(open) + u'\n' + indentation + QStringLiteral("  ") + u'\n' + indentation + close;
        block = true;
    }

    if (yaml) {
        if (result.startsWith(u'\n')) {
            QList<QStringView> lines = QStringView(result).sliced(1).split(u'\n');
            QString nested = QStringLiteral("\n");
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (i > 0) {
                    nested.append(u'\n');
                }
                nested.append(indentation);
                nested.append(QStringLiteral("  "));
                nested.append(i == 0 ? withoutLeadingBlanks(lines[i]) : lines[i]);
            }
            result = nested;
        }
        if (result.startsWith(QStringLiteral("- "))) {
            // The line's dash stands for the proposal's; in a quoted scalar the proposal's is text.
            const qsizetype start = lineStart(text, range.location);
            const QStringView lead = withoutLeadingBlanks(text.sliced(start, range.location - start));
            if (lead.startsWith(QStringLiteral("- ")) && !lead.contains(u'"') && !lead.contains(u'\'')) {
                result.remove(0, 2);
            }
        }
        // The block written above is indented already.
        if (!block && !result.startsWith(u'\n') && result.contains(u'\n')) {
            result.replace(QStringLiteral("\n"), QStringLiteral("\n") + indentation);
        }
    }

    if (json && item.requiresColon) {
        // A key written over a whole string that a colon already follows gets no second one.
        qsizetype next = range.end();
        while (quotedSpan && next < text.size() && isBlank(text[next])) {
            ++next;
        }
        const QString colon = quotedSpan && next < text.size() && text[next] == u':' ? QString() : QStringLiteral(": ");
        if (result.size() >= 2 && result.startsWith(u'\'') && result.endsWith(u'\'')) {
            // A single-quoted key (a status code) is the JSON string of what it quotes.
            result = ScalarNameText::jsonString(QStringView(result).sliced(1, result.size() - 2)) + colon;
        } else if (result.startsWith(u'"')) {
            result += colon;
        } else if (!result.startsWith(u'{') && !result.startsWith(u'[')) {
            result = ScalarNameText::jsonString(result) + colon;
        }
    }

    if (yaml && item.requiresColon) {
        if (!result.contains(u'\n')) {
            if (result.startsWith(QStringLiteral("- "))) {
                result = QStringLiteral("- ") + yamlKey(result.sliced(2));
            } else {
                result = yamlKey(result);
            }
        }
        const qsizetype after = range.end();
        if (after >= text.size() || text[after] != u':') {
            result += item.requiresValue ? QStringLiteral(": ")
                                         : QStringLiteral(":\n") + keyColumn(text, range.location, indentation, dashNeedsSpace)
                                               + indentationUnit(text);
        }
    }

    if (dashNeedsSpace) {
        result.prepend(u' ');
    }

    // The caret goes from the final text: inside an opened block, else after the whole text.
    qsizetype offset = result.size();
    if (block) {
        const qsizetype feed = result.indexOf(u'\n');
        offset = std::min(result.size(), feed + 1 + indentation.size() + 2);
    }
    return OrdinaryInsertion{range, result, range.location + offset};
}

}  // namespace Carvex::CompletionInsertion
