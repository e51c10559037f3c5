#include "Carvex/Indentation/JSONAutoIndentStrategy.h"

#include <QChar>

namespace Carvex {

namespace {

// Whether the line so far leaves a string open: an odd number of quotes not escaped.
bool insideString(QStringView line)
{
    bool inside = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'\\')
            ++i;
        else if (line[i] == u'"')
            inside = !inside;
    }
    return inside;
}

bool startsWithCloser(QStringView text)
{
    return text.startsWith(u'}') || text.startsWith(u']');
}

} // namespace

std::optional<AutoIndentEditPlan> JSONAutoIndentStrategy::computeIndent(const AutoIndentContext& context) const
{
    const qsizetype caret = context.caretLocation;
    const QString& line = context.currentLineBeforeCaret;
    if (insideString(line))
        return AutoIndentEditPlan::newlineWithIndent(caret, QString());

    const QString indent = leadingIndent(line);
    const QStringView before = QStringView(line).sliced(indent.size());
    const QString after = context.currentLineAfterCaret.trimmed();
    const QString unit = context.indentationStyle.indentString();

    if (before.endsWith(u'{') || before.endsWith(u'[')) {
        const QString inner = indent + unit;
        const QChar closer = before.endsWith(u'{') ? u'}' : u']';
        if (startsWithCloser(after))
            return AutoIndentEditPlan::make(TextRange{caret, 0}, u'\n' + inner + u'\n' + indent, inner.size() + 1);
        if (context.shouldAutoCloseBracket)
            return AutoIndentEditPlan::make(TextRange{caret, 0}, u'\n' + inner + u'\n' + indent + closer,
                                            inner.size() + 1);
        return AutoIndentEditPlan::newlineWithIndent(caret, inner);
    }
    if (startsWithCloser(after))
        return AutoIndentEditPlan::newlineWithIndent(caret, removeIndentLevel(indent, context.indentationStyle));
    return AutoIndentEditPlan::newlineWithIndent(caret, indent);
}

} // namespace Carvex
