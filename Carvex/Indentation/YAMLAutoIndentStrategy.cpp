#include "Carvex/Indentation/YAMLAutoIndentStrategy.h"

#include "Carvex/CaretContext/LineReading.h"
#include "Carvex/CaretContext/YAMLContextScanner.h"

#include <optional>
#include <utility>

namespace Carvex {

namespace {

using LineReading::isBlank;
using LineReading::trimmedBlanks;

// "|" or ">" with at most a chomping and an indentation indicator ("|-", ">+", "|2-").
bool isBlockScalarHeader(QStringView token)
{
    if (token.isEmpty() || token.size() > 3 || (token[0] != u'|' && token[0] != u'>'))
        return false;
    for (const QChar c : token.sliced(1))
        if (c != u'-' && c != u'+' && !(c >= u'1' && c <= u'9'))
            return false;
    return true;
}

// Whether the line (comment removed) opens a nested block: a key without a value on the line, or the
// header of a block scalar, alone or as the value of a key.
bool opensBlock(QStringView line)
{
    if (line.endsWith(u':'))
        return true;
    qsizetype start = line.size();
    while (start > 0 && !isBlank(line[start - 1]))
        --start;
    if (!isBlockScalarHeader(line.sliced(start)))
        return false;
    const QStringView before = trimmedBlanks(line.first(start));
    return before.isEmpty() || before.endsWith(u':');
}

// Whether the value of the key that `content` (a line's text after its indentation and dashes) begins
// is a quoted scalar or a flow collection left open on the line, an anchor or a tag before it: its text
// goes on below, deeper than the key.
bool valueLeftOpen(QStringView content)
{
    const std::optional<LineReading::YAMLKey> key = LineReading::yamlKey(content);
    if (!key)
        return false;
    QStringView value = trimmedBlanks(content.sliced(key->colon + 1));
    while (!value.isEmpty() && (value.front() == u'&' || value.front() == u'!')) {
        qsizetype end = 0;
        while (end < value.size() && !isBlank(value[end]))
            ++end;
        value = trimmedBlanks(value.sliced(end));
    }
    return LineReading::yamlItem(value).open;
}

// The opening quote of the quoted scalar that a line above left open and the caret's line closes
// before the caret; -1 when there is none. The scalar's lines below the one that opened it stand at
// least as deep as the caret's line, so the walk up stops at the first line that stands less deep:
// it opened the scalar or the caret's line continues none.
qsizetype quotedScalarOpenerAbove(QStringView text, qsizetype lineStart, qsizetype caret)
{
    constexpr int lineLimit = 2000;
    const qsizetype depth = YAMLAutoIndentStrategy::leadingIndent(text.sliced(lineStart, caret - lineStart)).size();
    qsizetype feed = lineStart - 1;
    for (int lines = 0; feed >= 0 && lines < lineLimit; ++lines) {
        const qsizetype start = feed > 0 ? text.lastIndexOf(u'\n', feed - 1) + 1 : 0;
        const QStringView line = text.sliced(start, feed - start);
        feed = start - 1;
        if (trimmedBlanks(line).isEmpty() || YAMLAutoIndentStrategy::leadingIndent(line).size() >= depth)
            continue;
        const std::optional<LineReading::LineQuoted> left =
            LineReading::quotedAtCaret(text, start + line.size(), false).holding;
        if (!left || left->close >= 0)
            return -1;
        const LineReading::Quoted read = LineReading::quoted(text.first(caret), left->open, left->quoting);
        return read.closed && read.end > lineStart ? left->open : -1;
    }
    return -1;
}

// The line that opened the flow collection or quoted scalar that the caret's line closes, up to its
// opening bracket or quote and closed right there: its value as if complete on it. None when the
// caret's line closes none that a line above opened.
std::optional<QString> closedOpenerLine(const AutoIndentContext& context)
{
    const QStringView text = context.text;
    const qsizetype caret = context.caretLocation;
    const qsizetype lineStart = caret - context.currentLineBeforeCaret.size();
    if (caret > text.size() || lineStart < 0 || (lineStart > 0 && text[lineStart - 1] != u'\n'))
        return std::nullopt;
    qsizetype open = -1;
    const LineReading::YAMLFlowAtCaret continued = LineReading::yamlFlowAtCaret(text, lineStart);
    if (continued.depth > 0) {
        // Closed when the line's text (before a comment) ends just after the last of them closed.
        const qsizetype end = lineStart + LineReading::yamlCommentStart(context.currentLineBeforeCaret);
        if (!LineReading::yamlFlowAtCaret(text, end).followsClosed)
            return std::nullopt;
        open = continued.outermost;
    } else {
        open = quotedScalarOpenerAbove(text, lineStart, caret);
        if (open < 0)
            return std::nullopt;
    }
    const qsizetype start = open > 0 ? text.lastIndexOf(u'\n', open - 1) + 1 : 0;
    const QChar opening = text[open];
    const QChar closing = opening == u'[' ? u']' : opening == u'{' ? u'}' : opening;
    return text.sliced(start, open + 1 - start).toString() + closing;
}

// The new line as the structure of the caret's line asks for it.
AutoIndentEditPlan structuralIndent(const AutoIndentContext& context)
{
    const qsizetype caret = context.caretLocation;
    const QString unit = context.indentationStyle.indentString();
    const QString indent = YAMLAutoIndentStrategy::leadingIndent(context.currentLineBeforeCaret);
    const QStringView t = trimmedBlanks(context.currentLineBeforeCaret);
    if (t == u"-" || t.startsWith(u"- ")) {
        // The item's content starts after its dash(es) and the blanks that follow; a mapping in it is
        // continued at that column, and what the mapping's key opens goes one unit deeper than it.
        const qsizetype contentStart = LineReading::afterDashes(t);
        const QStringView content = YAMLContextScanner::withoutTrailingComment(t.sliced(contentStart));
        if (content.isEmpty())
            return AutoIndentEditPlan::newlineWithIndent(caret, indent + unit);
        const QString contentIndent = indent + QString(contentStart, u' ');
        if (opensBlock(content) || valueLeftOpen(content))
            return AutoIndentEditPlan::newlineWithIndent(caret, contentIndent + unit);
        // Only a colon that a reader takes for a mapping's makes the item a mapping: not one inside a
        // quoted scalar ("a:b", 'a: b') or a flow collection ({a: b}, [a, b: c]), nor one with no blank
        // after it (a:b, https://x). A quoted scalar or flow collection left open goes on below, deeper
        // than the dash.
        const bool holdsMapping = YAMLContextScanner::keyColon(content) >= 0 || LineReading::yamlItem(content).open;
        return AutoIndentEditPlan::newlineWithIndent(caret, holdsMapping ? contentIndent : indent);
    }
    if (opensBlock(YAMLContextScanner::withoutTrailingComment(t)) || valueLeftOpen(t))
        return AutoIndentEditPlan::newlineWithIndent(caret, indent + unit);
    // On a blank line the new line takes the indentation of the text above. With text after the caret
    // (Return at the start of a line) the text keeps its column: only the blanks before the caret repeat.
    if (t.isEmpty() && trimmedBlanks(context.currentLineAfterCaret).isEmpty()) {
        for (qsizetype i = context.precedingLines.size() - 1; i >= 0; --i) {
            const QString& line = context.precedingLines[i];
            const QString lead = YAMLAutoIndentStrategy::leadingIndent(line);
            if (lead.size() < line.size())
                return AutoIndentEditPlan::newlineWithIndent(caret, lead);
        }
    }
    return AutoIndentEditPlan::newlineWithIndent(caret, indent);
}

} // namespace

std::optional<AutoIndentEditPlan> YAMLAutoIndentStrategy::computeIndent(const AutoIndentContext& context) const
{
    // After a line that closes what a line above opened, the new line stands where it would after the
    // opener had the value been complete on it: a sibling of the key that opened it.
    AutoIndentContext atOpener = context;
    if (!trimmedBlanks(context.currentLineBeforeCaret).isEmpty())
        if (std::optional<QString> opener = closedOpenerLine(context))
            atOpener.currentLineBeforeCaret = *std::move(opener);
    AutoIndentEditPlan plan = structuralIndent(atOpener);
    // The lines of a block scalar are text: whatever they end with, the next one keeps their column.
    // Only a line that would indent otherwise needs the walk that tells.
    const QString indent = leadingIndent(context.currentLineBeforeCaret);
    if (plan.replacement != u'\n' + indent && !trimmedBlanks(context.currentLineBeforeCaret).isEmpty()
        && YAMLContextScanner().enclosingBlockScalar(context.text, context.caretLocation))
        return AutoIndentEditPlan::newlineWithIndent(context.caretLocation, indent);
    return plan;
}

} // namespace Carvex
