#include "Carvex/Snippets/SnippetSuggestion.h"

#include <QChar>

#include <algorithm>
#include <limits>
#include <optional>

namespace Carvex {

namespace {

bool isHorizontalSpace(QChar c) { return c == u'\t' || c.category() == QChar::Separator_Space; }

bool isBlank(QStringView line) { return std::all_of(line.begin(), line.end(), isHorizontalSpace); }

// The length of the leading run of spaces and tabs.
qsizetype leadingRun(QStringView line) {
    qsizetype n = 0;
    while (n < line.size() && (line[n] == u' ' || line[n] == u'\t')) ++n;
    return n;
}

// Calls `visit` with each line of `content` split at "\n", and whether it is the first.
template <typename Visit>
void forEachLine(QStringView content, Visit visit) {
    qsizetype start = 0;
    for (bool first = true;; first = false) {
        const qsizetype newline = content.indexOf(u'\n', start);
        const qsizetype end = newline < 0 ? content.size() : newline;
        visit(content.mid(start, end - start), first);
        if (newline < 0) return;
        start = newline + 1;
    }
}

}  // namespace

QString SnippetSuggestion::render(QStringView content, QStringView baseIndent, const IndentationStyle& indentUnit,
                                  FileFormat format) {
    if (!content.contains(u'\n')) return content.toString();

    std::optional<qsizetype> common;
    forEachLine(content, [&](QStringView line, bool first) {
        if (first || isBlank(line)) return;
        const qsizetype run = leadingRun(line);
        common = common ? std::min(*common, run) : run;
    });
    const qsizetype dropped = common.value_or(0);

    const QString unit = indentUnit.indentString();
    QString base = baseIndent.toString();
    if (format == FileFormat::yaml) base += unit;

    QString out;
    out.reserve(content.size() + content.count(u'\n') * base.size());
    forEachLine(content, [&](QStringView line, bool first) {
        if (!first) out += u'\n';
        if (first || isBlank(line)) {
            out += line;
            return;
        }
        if (line.size() >= dropped) line = line.mid(dropped);
        const qsizetype run = leadingRun(line);
        qsizetype columns = 0;
        for (qsizetype i = 0; i < run; ++i) columns += line[i] == u'\t' ? 2 : 1;
        out += base;
        for (qsizetype level = columns / 2; level > 0; --level) out += unit;
        out += line.mid(run);
    });
    return out;
}

}  // namespace Carvex
