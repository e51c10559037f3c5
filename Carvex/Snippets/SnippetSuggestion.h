#pragma once

#include "Carvex/Text/FileFormat.h"
#include "Carvex/Indentation/IndentationStyle.h"
#include "Carvex/Snippets/SnippetTemplate.h"

#include <QString>
#include <QStringView>

namespace Carvex {

// The inline snippet on offer at the caret.
struct SnippetSuggestion {
    // The template that matched.
    SnippetTemplate template_;
    // Its content after `render`, placeholders still written as `${n:default}`.
    QString renderedContent;
    // The caret offset (UTF-16 units) at which the snippet would be inserted.
    qsizetype insertionPoint = 0;
    // The word at the caret that matched.
    QString triggerKeyword;
    // The leading white space of the caret's line.
    QString baseIndent;

    // Re-indents a template's content under the caret's line. The first line continues the caret's
    // line and stays as it is; blank lines stay whole. Every other line loses the indentation common
    // to the later non-blank lines (a tab counting one character), and what it had beyond that is
    // read at two columns per level (a tab counting two, an odd column dropped) and written with
    // `indentUnit` after the base: `baseIndent`, plus one unit for YAML, where the value goes under
    // the caret's key. Lines are split and joined at "\n" only. Linear in the content and the result.
    static QString render(QStringView content, QStringView baseIndent, const IndentationStyle& indentUnit,
                          FileFormat format);

    bool operator==(const SnippetSuggestion&) const = default;
};

}  // namespace Carvex
