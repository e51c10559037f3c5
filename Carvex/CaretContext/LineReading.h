#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace Carvex {

// The one reading of a YAML or JSON line that completion, references and indentation share. A
// quoted scalar or JSON string is read whole, its escapes known (a backslash in YAML double quotes
// and JSON, a doubled quote in YAML single quotes); a flow collection ("{...}", "[...]") is read
// whole, the quoted scalars in it too; a plain key ends at the first colon followed by a blank or
// the end, outside quotes and flow collections. Lenient where text is being typed: a quote or
// bracket left open runs to the end of the text and is reported open, and nothing in the text can
// make a read take more than one pass.
namespace LineReading {

// A space, a tab, or the carriage return of a CR LF line: what ends a plain scalar before a colon.
bool isBlank(QChar c);
// A double or a single quote.
bool isQuote(QChar c);
// `text` without the blanks at either end.
QStringView trimmedBlanks(QStringView text);

// How a scalar stands in the text.
enum class Quoting { plain, yamlSingle, yamlDouble, json };

// A scalar as the text holds it: the units between its quotes (or the plain text) and its quoting.
struct Scalar {
    QStringView raw;
    Quoting quoting = Quoting::plain;
};

// The name the scalar reads as: its escapes decoded. An escape its quoting does not know stays as
// written.
QString decoded(Scalar scalar);
// Whether the scalar reads as `name`; decodes only a scalar that holds an escape.
bool readsAs(Scalar scalar, QStringView name);

// A quoted scalar or JSON string read from its opening quote at `open`: its text, the offset after
// its closing quote, and whether that quote came. Left open, it runs to the end of the text.
struct Quoted {
    Scalar scalar;
    qsizetype end = 0;
    bool closed = false;
};
Quoted quoted(QStringView text, qsizetype open, Quoting quoting);

// The offset after the flow collection opened at `open` ("{" or "["), its nested collections and
// quoted scalars read whole; the end of the text when it is left open.
struct Flow {
    qsizetype end = 0;
    bool closed = false;
};
Flow flowCollection(QStringView text, qsizetype open);

// The offset where a YAML line's content starts after its sequence dashes ("- ", "- - ", "-" alone)
// and the blanks after them; 0 for text that starts with none ("-x", "---").
qsizetype afterDashes(QStringView text);

// The key of a YAML line's text after its indentation and dashes: a quoted key up to its closing
// quote when a colon follows (blanks between them); otherwise the text before the first colon that
// a blank or the end follows, trimmed, read outside quoted scalars and flow collections and before
// a comment. `colon` is that colon's offset. A plain key may be empty (": x"). None without such a
// colon: a scalar ("a:b", "'x: y'", "{a: b}", "[a, b: c]", "https://x").
struct YAMLKey {
    Scalar name;
    qsizetype colon = 0;
};
std::optional<YAMLKey> yamlKey(QStringView text);

// The scalar of a YAML sequence item's text after its dash: a quoted scalar up to its closing
// quote, otherwise the text before a comment, trimmed. `open` is set when the item is a quoted
// scalar or flow collection left open on the line (its text continues below).
struct YAMLItem {
    Scalar scalar;
    bool open = false;
};
YAMLItem yamlItem(QStringView text);

// Where a trailing comment starts in a YAML line's text: a "#" at the start or after a blank,
// outside a quoted scalar; the text's size when there is none. A quote opens a scalar only where
// one begins: at the start, after a sequence dash or "?", after a key's colon, after a flow bracket
// or comma, after an anchor or a tag. Inside a plain scalar ("it's", `a "b`) it is text.
qsizetype yamlCommentStart(QStringView text);

// Where the plain value of a YAML line's key starts when the caret stands in it, past what was typed
// of it: the line's key (after its indentation and dashes) reads as `key`, and the caret stands after
// the first unit of its value, before any comment. None for another key, a caret before the value,
// or a value that is quoted or a flow collection.
std::optional<qsizetype> yamlPlainValueStart(QStringView text, qsizetype caret, QStringView key);

// A quoted scalar or JSON string on one line of a text: where its quotes stand and its quoting.
struct LineQuoted {
    qsizetype open = 0;   // the opening quote
    qsizetype close = -1; // the closing quote; -1 when the line ends first
    Quoting quoting = Quoting::json;
    qsizetype end = 0; // past the closing quote, or the line's end for a scalar the line leaves open
};
// The quoted scalar that holds `caret` (after its opening quote, up to its closing quote), read from
// the caret's line: in JSON every string, in YAML a quote where a scalar begins (as for
// `yamlCommentStart`); a YAML comment or a block scalar's header ends the line's scalars. None
// outside a quoted scalar.
std::optional<LineQuoted> quotedHolding(QStringView text, qsizetype caret, bool json);
// Both questions about the caret's line in one walk: the quoted scalar that holds `caret`, and,
// when none does, whether a closed one ends before it with only blanks between.
struct QuotedAtCaret {
    std::optional<LineQuoted> holding;
    bool followsClosed = false;
};
QuotedAtCaret quotedAtCaret(QStringView text, qsizetype caret, bool json);

// The scalars that stand as items in the YAML flow sequence opened at `open` ("[") on one line, up
// to its closing bracket, a comment or the line's end: a quoted one read whole, a plain one trimmed.
// Nested collections, entries ("a: b") and a scalar the line leaves open are passed over.
std::vector<Scalar> yamlFlowItems(QStringView text, qsizetype open);

// The YAML flow collections that hold the caret, read as `yamlCommentStart` reads a line: those the
// caret's line opens before the caret, and those that lines above left open when the caret's line
// continues them (it stands deeper than the line that opened them, or at its column with only deeper
// lines between). How many hold the caret and where the innermost and the outermost open; when none
// does, whether one closed before the caret on its line with only blanks between. A caret in a
// comment stands in none. Block scalars are not known: a caller asks outside one.
struct YAMLFlowAtCaret {
    qsizetype depth = 0;
    qsizetype innermost = -1; // the opening bracket of the innermost collection holding the caret
    qsizetype outermost = -1; // the opening bracket of the outermost one
    bool followsClosed = false;
};
YAMLFlowAtCaret yamlFlowAtCaret(QStringView text, qsizetype caret);

// The first string of a JSON line that a colon follows (white space between them).
std::optional<Scalar> jsonKey(QStringView line);
// The strings of a JSON text, left to right; a string left open at the end is none.
std::vector<Scalar> jsonStrings(QStringView text);
// The strings that stand directly in the JSON array opened at `open` ("["), over as many lines as
// it runs, up to its closing bracket; strings in nested collections and keys are passed over, and
// so is a string a line break cuts. `closed` tells whether the closing bracket came.
struct JSONArrayStrings {
    std::vector<Scalar> strings;
    bool closed = false;
};
JSONArrayStrings jsonArrayStrings(QStringView text, qsizetype open);

} // namespace LineReading

} // namespace Carvex
