#pragma once

#include "Carvex/CaretContext/LineReading.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace Carvex {

// Names as a YAML or a JSON text writes them. Read from one line of the raw text by the line reading
// the caret scanners share (`LineReading`): a quoted name is read whole, up to its closing quote, and
// means its text with the escapes decoded (in YAML double quotes the YAML escapes, in single quotes a
// doubled quote, in JSON the JSON escapes). Written so that a reader takes the text back as the same
// name.
namespace ScalarNameText {

// How a scalar stands in the text, and a scalar as the text holds it (`LineReading`).
using Quoting = LineReading::Quoting;
using Scalar = LineReading::Scalar;

// The name the scalar reads as.
QString decoded(Scalar scalar);
// Whether the scalar reads as `name`; decodes only a scalar that holds an escape.
bool readsAs(Scalar scalar, QStringView name);

// The key of a YAML line's text after its indentation and sequence dashes, as `LineReading::yamlKey`
// reads it; none for an empty plain key.
std::optional<Scalar> yamlKey(QStringView text);
// The scalar of a YAML sequence item's text after its dash (`LineReading::yamlItem`).
Scalar yamlItem(QStringView text);
// The first string of a JSON line that a colon follows (white space between them).
std::optional<Scalar> jsonKey(QStringView line);
// The strings of a JSON text, left to right; a string left open at the end is none.
std::vector<Scalar> jsonStrings(QStringView text);

// The quote (double or single) that opened the YAML quoted scalar holding the caret on its line
// (`LineReading::quotedHolding`); none outside one.
std::optional<QChar> openYAMLQuote(QStringView text, qsizetype caret);

// `name` as a YAML scalar of a block sequence item: plain where a reader takes the plain text back as
// the same text, otherwise quoted: in single quotes when only quotes and backslashes would need an
// escape, in double quotes with escapes when any other character does.
QString yamlScalar(const QString& name);
// `name` written inside a YAML scalar that `quote` (a double or a single quote) already opened.
QString yamlQuotedContent(const QString& name, QChar quote);
// `name` as a JSON string, in quotes.
QString jsonString(QStringView name);
// `name` written inside a JSON string already opened.
QString jsonStringContent(QStringView name);

// `name` as a whole scalar of the quoting: a JSON string, or a YAML scalar in the quote the quoting
// names (single quotes only where they write the name as it is, double quotes otherwise).
QString quotedScalar(const QString& name, Quoting quoting);

} // namespace ScalarNameText

} // namespace Carvex
