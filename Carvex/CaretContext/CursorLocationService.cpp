#include "Carvex/CaretContext/CursorLocationService.h"

#include "Carvex/CaretContext/CaretLine.h"

#include <QChar>

namespace Carvex {

DocumentFormat CursorLocationService::detectFormat(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size() && QChar::isSpace(char32_t(text[start].unicode())))
        ++start;
    const QStringView rest = text.sliced(start);
    if (rest.isEmpty())
        return DocumentFormat::unknown;
    if (rest.front() == u'{' || rest.front() == u'[')
        return DocumentFormat::json;
    if (rest.startsWith(u"---") || rest.startsWith(u"openapi:"))
        return DocumentFormat::yaml;
    const QStringView firstLine = rest.first(CaretLine::lineEnd(rest, 0));
    return firstLine.contains(u':') ? DocumentFormat::yaml : DocumentFormat::unknown;
}

QString CursorLocationService::getCurrentLine(QStringView text, qsizetype caretLocation)
{
    return CaretLine::getCurrentLine(text, caretLocation);
}

std::vector<PathComponent> CursorLocationService::extractPath(QStringView text, qsizetype caretLocation,
                                                             DocumentFormat format) const
{
    if (format == DocumentFormat::unknown)
        format = detectFormat(text) == DocumentFormat::yaml ? DocumentFormat::yaml : DocumentFormat::json;
    return format == DocumentFormat::yaml ? yamlScanner.extractPath(text, caretLocation)
                                          : jsonScanner.extractPath(text, caretLocation);
}

CompletionContext CursorLocationService::extractContext(QStringView text, qsizetype caretLocation,
                                                        DocumentFormat format) const
{
    if (format == DocumentFormat::unknown) {
        const DocumentFormat detected = detectFormat(text);
        return extractContext(text, caretLocation, detected == DocumentFormat::yaml ? detected : DocumentFormat::json);
    }

    CompletionContext context;
    context.format = format;
    context.caretLocation = caretLocation;
    if (format == DocumentFormat::yaml) {
        // One walk up from the caret gives the path and the block scalar the caret may be in.
        YAMLContextScanner::CaretScan scan = yamlScanner.scanToCaret(text, caretLocation);
        context.path = std::move(scan.path);
        context.role = yamlScanner.detectRole(text, caretLocation, scan.blockScalar);
        context.prefix = yamlScanner.extractPrefix(text, caretLocation);
        if (context.role == CursorRole::sequenceItem && context.prefix.startsWith(u'-'))
            context.prefix.remove(0, 1);
        context.hints = yamlScanner.extractHints(text, caretLocation, scan.blockScalar);
        context.currentLine = getCurrentLine(text, caretLocation);
        if (context.role == CursorRole::mappingValue || context.role == CursorRole::sequenceItem)
            context.currentKey = yamlScanner.extractCurrentKey(text, caretLocation, scan.blockScalar);
        else if (context.role == CursorRole::mappingKey)
            context.existingKeys = yamlScanner.extractExistingKeys(text, caretLocation, scan.blockScalar);
        return context;
    }

    // One forward pass gives the path and the string state at the caret, and mostly the role and
    // the enclosing object too; the other questions reuse them instead of scanning again.
    JSONContextScanner::CaretScan scan = jsonScanner.scanToCaret(text, caretLocation);
    context.path = std::move(scan.path);
    context.role = scan.knowsStructure ? scan.role : jsonScanner.detectRole(text, caretLocation, scan.caretInString);
    context.prefix = jsonScanner.extractPrefix(text, caretLocation, scan.caretInString);
    context.hints = jsonScanner.extractHints(text, caretLocation, scan.caretInString);
    context.currentLine = getCurrentLine(text, caretLocation);
    if (context.role == CursorRole::mappingValue || context.role == CursorRole::sequenceItem) {
        context.currentKey = jsonScanner.extractCurrentKey(text, caretLocation, scan.caretInString);
    } else if (context.role == CursorRole::mappingKey) {
        if (!scan.knowsStructure)
            context.existingKeys = jsonScanner.extractExistingKeys(text, caretLocation, scan.caretInString);
        else
            context.existingKeys = JSONContextScanner::keysOfEnclosingObject(text, caretLocation, scan);
    }
    return context;
}

} // namespace Carvex
