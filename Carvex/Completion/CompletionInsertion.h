#pragma once

#include "Carvex/Completion/CompletionItem.h"
#include "Carvex/Text/TextRange.h"
#include "Carvex/Syntax/DocumentLanguage.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace Carvex {

// Where a chosen proposal goes and what it writes, worked out from the text and the selection
// alone (no view): the completion controller applies the answer. Positions and lengths are UTF-16
// units of the view's text.
namespace CompletionInsertion {

// The part of the work shared by every proposal: the range it replaces (the selection, or the
// partly typed word before the caret) and the indentation of the caret's line.
struct Target {
    TextRange range;
    QString lineIndentation;
    // Where the word typed before the caret begins, a leading dash included.
    qsizetype wordStart = 0;
};

// A snippet ready for the placeholder manager: the range it replaces and its final text, the
// fields still written `${n:default}`.
struct SnippetInsertion {
    TextRange range;
    QString text;
    bool operator==(const SnippetInsertion&) const = default;
};

// Whether `c` continues a word: a letter or number, "_", "-", "$", "#", "/" or "~" (as in a pointer's
// escapes "~0" and "~1"); a surrogate unit never does.
bool isWordCharacter(QChar c);
// The length of the run of word characters ending at `caret`; 0 at 0 or beyond the text.
qsizetype prefixLength(QStringView text, qsizetype caret);
// The spaces and tabs that start the line holding `caret`; empty beyond the text.
QString lineIndentation(QStringView text, qsizetype caret);

// The range a proposal replaces and the caret line's indentation; none when the selection lies
// outside the text or the range would split a surrogate pair. A YAML sequence dash before the word stays in the text; in JSON a key's
// opening quote just before the word is replaced with it.
std::optional<Target> target(QStringView text, TextRange selection, DocumentLanguage language, bool requiresColon);

// The whole insertion of a snippet proposal (its metadata present): the range, grown over an
// opening quote in JSON, and the template's content re-indented under the caret's line with the
// document's indentation unit, led by the proposal's key when the content does not write it, a
// closing brace of the enclosing object left out where the text already closes it. None when the
// proposal is no snippet or the selection lies outside the text.
std::optional<SnippetInsertion> snippetInsertion(QStringView text, TextRange selection, DocumentLanguage language,
                                                 const CompletionItem& item);

// The edit of a proposal that is not a snippet with metadata: the range it replaces, the text it
// writes (quotes, colon and value separator, indentation and sequence dash added for the language)
// and where the caret goes afterwards, an absolute position within the written text.
struct OrdinaryInsertion {
    TextRange range;
    QString text;
    qsizetype caret = 0;
    bool operator==(const OrdinaryInsertion&) const = default;
};

// The edit of an ordinary proposal; none when the selection lies outside the text or the proposal
// is a snippet with metadata (that one goes through `snippetInsertion`).
std::optional<OrdinaryInsertion> ordinaryInsertion(QStringView text, TextRange selection, DocumentLanguage language,
                                                   const CompletionItem& item);

// Steps of the snippet path, exposed for their tests.
// Whether a closing bracket stands at nesting depth 0 after `from` (strings and escapes skipped).
bool hasClosingBracketAfter(QStringView text, qsizetype from);
// Whether `content` holds more "}" than "{" outside its `${...}` fields.
bool hasMoreClosingBraces(QStringView content);
// `content` without a final "}" that closes no field (trailing white space after the cut removed).
QString removingStrayClosingBrace(const QString& content);
// Each line after the first led by `base`, relative indentation (two columns a level) rewritten
// in `unit`; blank lines emptied.
QString reindent(QStringView content, const QString& base, const QString& unit);

}  // namespace CompletionInsertion

}  // namespace Carvex
