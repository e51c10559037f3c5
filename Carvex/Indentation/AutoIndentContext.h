#pragma once

#include "Carvex/Indentation/IndentationStyle.h"

#include <QString>
#include <QStringList>

namespace Carvex {

// The text around the caret that auto-indentation decides by.
struct AutoIndentContext {
    QString text;
    qsizetype caretLocation = 0;
    IndentationStyle indentationStyle = IndentationStyle::default_();
    QStringList precedingLines;    // up to five lines above the caret's, the nearest last
    QString currentLineBeforeCaret; // from the line start to the caret
    QString currentLineAfterCaret;  // from the caret to the line end, without its line feed
    bool shouldAutoCloseBracket = false;

    // A caret outside the text is taken at its nearer end.
    static AutoIndentContext make(const QString& text, qsizetype caretLocation, IndentationStyle indentationStyle,
                                  bool shouldAutoCloseBracket);
};

} // namespace Carvex
