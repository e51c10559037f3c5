#pragma once

#include "Carvex/ModelAdapters/RefLink.h"
#include "kit/core/SourceLocation.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace Carvex {

class ParsedOpenAPIModel;
class TextPositionConverter;

// Finds where the target of a local reference "#/components/<section>/<name>" starts, through the
// parsed model's document adapter, for every components section (pathItems in 3.1 only). Keeps nothing.
//
// `resolveLocation` answers the target's start offset in the parser's units (JSON: grapheme clusters
// from the text's start; YAML: the line's UTF-8 byte start plus clusters), which is no position in
// the editor's text. To move a caret, take the target's `resolveSourceLocation` and place its line
// and column with `textPosition`.
class RefLocationResolver {
public:
    // The start offset of the component that `path` names; nothing for a path not beginning with
    // "#/", fewer than two pieces after it, a first piece other than "components", a section the
    // components object does not have, or a component that does not exist.
    std::optional<int64_t> resolveLocation(const QString& path, const ParsedOpenAPIModel& model) const;
    // Nothing for an external link; else as for its path.
    std::optional<int64_t> resolveLocation(const RefLink& link, const ParsedOpenAPIModel& model) const;

    // The whole start location (line, column, offset) of the same target.
    std::optional<VoziZazIreCore::SourceLocation> resolveSourceLocation(const QString& path,
                                                                        const ParsedOpenAPIModel& model) const;
    std::optional<VoziZazIreCore::SourceLocation> resolveSourceLocation(const RefLink& link,
                                                                        const ParsedOpenAPIModel& model) const;

    // The UTF-16 position of a parser location in a text, by its line and column (both from 1, the
    // column in grapheme clusters, a CR LF pair one of them). Nothing when the line does not exist or
    // the column lies beyond the end of its line, so a location from an older, longer text moves
    // nothing.
    static std::optional<qsizetype> textPosition(const VoziZazIreCore::SourceLocation& location,
                                                 const TextPositionConverter& positions);
    static std::optional<qsizetype> textPosition(const VoziZazIreCore::SourceLocation& location, QStringView text);
};

} // namespace Carvex
