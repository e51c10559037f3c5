#pragma once

#include "Carvex/Text/FileFormat.h"

#include <QString>
#include <QStringList>

namespace Carvex {

// The caret's surroundings as template matching reads them: the word at the caret, the caret
// line's indentation level and the keys of the enclosing mappings, outermost first. The text,
// caret and format travel along for whoever built the context.
struct MatchContext {
    QString text;
    qsizetype cursorPosition = 0;
    QString lastKeyword;
    int indentLevel = 0;
    QStringList parentPath;
    FileFormat fileFormat = FileFormat::yaml;

    bool operator==(const MatchContext&) const = default;
};

}  // namespace Carvex
