#pragma once

#include <QString>
#include <QStringView>

namespace Carvex {

// How a file breaks its lines. The editor works on text with line feeds only and writes the
// file's own style back on the way out.
enum class LineEndingStyle { lf, crlf, cr };

// The style of the first line break of `text`; line feed when there is none.
LineEndingStyle detectLineEndingStyle(QStringView text);

// The text with every CR LF pair and every lone CR turned into a line feed.
QString normalizeLineEndings(const QString& text);

// The text (line feeds only) with every line feed written in `style`.
QString applyLineEndingStyle(const QString& text, LineEndingStyle style);

}  // namespace Carvex
