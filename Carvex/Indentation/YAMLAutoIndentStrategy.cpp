#include "Carvex/Indentation/YAMLAutoIndentStrategy.h"

#include "Carvex/CaretContext/LineReading.h"
#include "Carvex/CaretContext/YAMLContextScanner.h"

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
    AutoIndentEditPlan plan = structuralIndent(context);
    // The lines of a block scalar are text: whatever they end with, the next one keeps their column.
    // Only a line that would indent otherwise needs the walk that tells.
    const QString indent = leadingIndent(context.currentLineBeforeCaret);
    if (plan.replacement != u'\n' + indent && !trimmedBlanks(context.currentLineBeforeCaret).isEmpty()
        && YAMLContextScanner().enclosingBlockScalar(context.text, context.caretLocation))
        return AutoIndentEditPlan::newlineWithIndent(context.caretLocation, indent);
    return plan;
}

} // namespace Carvex
