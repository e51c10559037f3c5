#include "Carvex/ModelAdapters/RefLocationResolver.h"

#include "Carvex/CaretContext/ReferenceKind.h"
#include "Carvex/Text/TextPositionConverter.h"
#include "Carvex/ModelAdapters/OpenAPIDocumentAdapter.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"

#include <string_view>

namespace Carvex {

namespace {

using VoziZazIreCore::Reference;
using VoziZazIreCore::SourceLocation;

// The components section a local path names, when it is one of them.
std::optional<ReferenceKind> sectionOf(QStringView path)
{
    if (!path.startsWith(u"#/"))
        return std::nullopt;
    QStringView pieces[2];
    int count = 0;
    for (const QStringView piece : path.sliced(2).tokenize(u'/', Qt::SkipEmptyParts)) {
        pieces[count++] = piece;
        if (count == 2)
            break;
    }
    if (count < 2 || pieces[0] != u"components")
        return std::nullopt;
    const ReferenceKind kind = referenceKindFromComponentsSection(pieces[1]);
    if (kind == ReferenceKind::unknown)
        return std::nullopt;
    return kind;
}

Reference referenceTo(const QString& path)
{
    return Reference(path.toStdString(), std::nullopt, std::nullopt, std::nullopt);
}

} // namespace

std::optional<int64_t> RefLocationResolver::resolveLocation(const QString& path, const ParsedOpenAPIModel& model) const
{
    const std::optional<ReferenceKind> section = sectionOf(path);
    if (!section)
        return std::nullopt;
    return model.makeAdapter()->resolveComponentLocation(*section, referenceTo(path));
}

std::optional<int64_t> RefLocationResolver::resolveLocation(const RefLink& link, const ParsedOpenAPIModel& model) const
{
    if (!link.isLocal())
        return std::nullopt;
    return resolveLocation(link.refPath, model);
}

std::optional<SourceLocation> RefLocationResolver::resolveSourceLocation(const QString& path,
                                                                         const ParsedOpenAPIModel& model) const
{
    const std::optional<ReferenceKind> section = sectionOf(path);
    if (!section)
        return std::nullopt;
    return model.makeAdapter()->resolveComponentSourceLocation(*section, referenceTo(path));
}

std::optional<SourceLocation> RefLocationResolver::resolveSourceLocation(const RefLink& link,
                                                                         const ParsedOpenAPIModel& model) const
{
    if (!link.isLocal())
        return std::nullopt;
    return resolveSourceLocation(link.refPath, model);
}

std::optional<qsizetype> RefLocationResolver::textPosition(const SourceLocation& location,
                                                            const TextPositionConverter& positions)
{
    if (location.line < 1 || location.column < 1)
        return std::nullopt;
    const std::optional<qsizetype> position = positions.position(location.line, location.column);
    if (!position)
        return std::nullopt;
    // The converter stops at the line's end when the line is shorter; one column past the last
    // character is the line's end itself, anything further lies outside the line.
    if (location.column > 1 && *position == positions.lineContentEnd(location.line)
        && positions.position(location.line, location.column - 1) == position)
        return std::nullopt;
    return position;
}

std::optional<qsizetype> RefLocationResolver::textPosition(const SourceLocation& location, QStringView text)
{
    return textPosition(location, TextPositionConverter(text));
}

} // namespace Carvex
