#pragma once

#include "Carvex/CaretContext/JSONContextScanner.h"
#include "Carvex/CaretContext/YAMLContextScanner.h"
#include "Carvex/CaretContext/CompletionContext.h"
#include "Carvex/CaretContext/DocumentFormat.h"

#include <QString>
#include <QStringView>

namespace Carvex {

// Tells where the caret stands in a document's text: chooses the scanner for the format, asks it
// its questions in a fixed order and assembles the record. Never fails.
struct CursorLocationService {
    YAMLContextScanner yamlScanner;
    JSONContextScanner jsonScanner;

    // The whole record for a caret (a UTF-16 offset into `text`). With `unknown` the format is
    // detected from the text, JSON when detection gives no answer; the record carries the format
    // actually scanned with.
    CompletionContext extractContext(QStringView text, qsizetype caretLocation, DocumentFormat format) const;
    // The record's path alone, the format chosen as extractContext chooses it; the other questions
    // are not asked.
    std::vector<PathComponent> extractPath(QStringView text, qsizetype caretLocation, DocumentFormat format) const;

    // "{" or "[" first: json; "---" or "openapi:" first, or a first line holding ":": yaml;
    // otherwise (an empty text too) unknown.
    static DocumentFormat detectFormat(QStringView text);

    static QString getCurrentLine(QStringView text, qsizetype caretLocation);
};

} // namespace Carvex
