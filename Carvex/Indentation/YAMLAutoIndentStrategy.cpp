#include "Carvex/Indentation/YAMLAutoIndentStrategy.h"

namespace Carvex {

namespace {

QStringView trimmedSpacesAndTabs(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == u' ' || text[begin] == u'\t'))
        ++begin;
    while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t'))
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace

std::optional<AutoIndentEditPlan> YAMLAutoIndentStrategy::computeIndent(const AutoIndentContext& context) const
{
    const qsizetype caret = context.caretLocation;
    const QString indent = leadingIndent(context.currentLineBeforeCaret);
    const QString deeper = indent + context.indentationStyle.indentString();
    const QStringView t = trimmedSpacesAndTabs(context.currentLineBeforeCaret);

    if (t.endsWith(u':'))
        return AutoIndentEditPlan::newlineWithIndent(caret, deeper);
    if (t == u"-" || t.startsWith(u"- "))
        return AutoIndentEditPlan::newlineWithIndent(caret, t == u"-" || t.contains(u':') ? deeper : indent);
    if (t == u"|" || t == u">" || t.endsWith(u": |") || t.endsWith(u": >"))
        return AutoIndentEditPlan::newlineWithIndent(caret, deeper);
    if (t.isEmpty()) {
        for (qsizetype i = context.precedingLines.size() - 1; i >= 0; --i) {
            const QString& line = context.precedingLines[i];
            const QString lead = leadingIndent(line);
            if (lead.size() < line.size())
                return AutoIndentEditPlan::newlineWithIndent(caret, lead);
        }
    }
    return AutoIndentEditPlan::newlineWithIndent(caret, indent);
}

} // namespace Carvex
