#include "Carvex/Indentation/AutoIndentStrategy.h"

namespace Carvex {

QString AutoIndentStrategy::removeIndentLevel(const QString& indent, const IndentationStyle& style)
{
    const QString unit = style.indentString();
    if (!unit.isEmpty() && indent.endsWith(unit))
        return indent.chopped(unit.size());
    if (indent.endsWith(u'\t'))
        return indent.chopped(1);
    qsizetype spaces = 0;
    while (spaces < 4 && spaces < indent.size() && indent[indent.size() - 1 - spaces] == u' ')
        ++spaces;
    return indent.chopped(spaces);
}

QString AutoIndentStrategy::leadingIndent(QStringView line)
{
    qsizetype i = 0;
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t'))
        ++i;
    return line.first(i).toString();
}

} // namespace Carvex
