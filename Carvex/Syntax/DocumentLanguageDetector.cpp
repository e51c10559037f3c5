#include "Carvex/Syntax/DocumentLanguageDetector.h"

#include "Carvex/Syntax/CharacterSets.h"

#include <QFileInfo>
#include <QUrl>

namespace Carvex {

DocumentLanguage DocumentLanguageDetector::detect(const QUrl& url) const
{
    return detectFromExtension(QFileInfo(url.path()).suffix());
}

DocumentLanguage DocumentLanguageDetector::detectFromExtension(QStringView extension) const
{
    if (extension.compare(u"json", Qt::CaseInsensitive) == 0)
        return DocumentLanguage::json;
    if (extension.compare(u"yaml", Qt::CaseInsensitive) == 0 || extension.compare(u"yml", Qt::CaseInsensitive) == 0)
        return DocumentLanguage::yaml;
    return DocumentLanguage::unknown;
}

DocumentLanguage DocumentLanguageDetector::detectFromContent(QStringView content) const
{
    using CharacterSets::isNewline;
    using CharacterSets::isWhitespaceOrNewline;

    qsizetype start = 0;
    qsizetype stop = content.size();
    while (start < stop && isWhitespaceOrNewline(content[start].unicode()))
        ++start;
    while (stop > start && isWhitespaceOrNewline(content[stop - 1].unicode()))
        --stop;
    const QStringView trimmed = content.sliced(start, stop - start);

    if (trimmed.startsWith(u'{') || trimmed.startsWith(u'['))
        return DocumentLanguage::json;
    if (trimmed.startsWith(u"---"))
        return DocumentLanguage::yaml;

    qsizetype lineEnd = 0;
    while (lineEnd < trimmed.size() && !isNewline(trimmed[lineEnd].unicode()))
        ++lineEnd;
    const QStringView firstLine = trimmed.first(lineEnd);
    if (firstLine.contains(u':') && !firstLine.startsWith(u'{'))
        return DocumentLanguage::yaml;
    return DocumentLanguage::unknown;
}

} // namespace Carvex
