#pragma once

#include "Carvex/Indentation/IndentationStyle.h"
#include "Carvex/Snippets/SnippetSuggestion.h"
#include "Carvex/Text/FileFormat.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace Carvex {

// What accepting an inline snippet suggestion writes, worked out from the text alone: the range it
// replaces, the snippet that replaces it and the ghost that previews it.
//
// The template's body is laid out under the caret's line. Its first line continues that line; its
// later lines are re-indented with the document's unit, relative levels read at two columns each.
// - A body that brings its own key ("type: object", "\"info\": {") follows a trigger that already
//   wrote that key: when the caret's line, trailing blanks aside, ends with the key, the snippet
//   replaces the typed key instead of repeating it, and its later lines stand relative to that key
//   (siblings at its column, children a unit in).
// - In YAML, a line that continues a list item ("- name: x" and the lines of that item) places the
//   item's later keys at its first key, after the dash and its blank, whatever the unit: the caret's
//   line when the body goes on after its dash, and every item the body writes itself.
// - A body whose value goes under the caret's key lands a unit deeper than that key (in YAML; a JSON
//   body is indented from the line itself).
// Other bodies come out as `SnippetSuggestion::render` lays them out.
struct InlineSnippetInsertion {
    // UTF-16 offset where the edit begins: the start of the typed key for a body that brings its
    // own key, else the insertion point.
    qsizetype replaceStart = 0;
    // The insertion point (the suggestion's).
    qsizetype replaceEnd = 0;
    // What replaces [replaceStart, replaceEnd), placeholders still written `${n:default}`; hand it
    // to the placeholder manager at `replaceStart`.
    QString snippetText;
    // What the ghost shows after the caret: the text that will follow it once the snippet is in,
    // each placeholder as its default text (as `parseSnippetPlaceholders` writes it). Never empty.
    // The snippet, its fields as their defaults, is the replaced range as typed followed by
    // `ghostText`: replacing the range by `snippetText` leaves the text before the point, then
    // `ghostText`, then the text after the point. Characters typed at the point that match the
    // ghost's start thus stand where the snippet puts them.
    QString ghostText;

    // The insertion of `suggestion` (its template and insertion point) into `text`, laid out with
    // `indentUnit` for `format`. None when the point lies outside the text or between the halves
    // of a surrogate pair, when accepting would change nothing, or when the caret's line is so deep
    // that the indentation before the body's later lines would pass a million units. Reads only the
    // line holding the caret (the line before it when the caret starts a line); linear in that line
    // and the template.
    static std::optional<InlineSnippetInsertion> make(QStringView text, const SnippetSuggestion& suggestion,
                                                      const IndentationStyle& indentUnit, FileFormat format);

    bool operator==(const InlineSnippetInsertion&) const = default;
};

}  // namespace Carvex
