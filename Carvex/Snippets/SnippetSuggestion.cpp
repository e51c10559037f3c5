#include "Carvex/Snippets/SnippetSuggestion.h"

#include <QChar>

#include <algorithm>
#include <limits>
#include <optional>

namespace Carvex {

namespace {

bool isHorizontalSpace(QChar c) {
    if (c == u' ' || c == u'\t') return true;
    return c.unicode() >= 0x80 && c.category() == QChar::Separator_Space;
}

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

    // Each line as its kept text and, for a re-indented line, the number of units before it. The
    // lines are walked twice, once to size the result and once to write it.
    struct Piece {
        QStringView text;
        qsizetype levels = -1;  // -1: the line is kept as it is
    };
    const auto layOut = [&](QStringView line, bool first) {
        if (first || isBlank(line)) return Piece{line, -1};
        if (line.size() >= dropped) line = line.mid(dropped);
        const qsizetype run = leadingRun(line);
        qsizetype columns = 0;
        for (qsizetype i = 0; i < run; ++i) columns += line[i] == u'\t' ? 2 : 1;
        return Piece{line.mid(run), columns / 2};
    };
    qsizetype size = 0;
    forEachLine(content, [&](QStringView line, bool first) {
        const Piece piece = layOut(line, first);
        size += (first ? 0 : 1) + piece.text.size();
        if (piece.levels >= 0) size += base.size() + piece.levels * unit.size();
    });

    QString out(size, Qt::Uninitialized);
    QChar* at = out.data();
    const auto put = [&at](QStringView text) {
        std::copy(text.begin(), text.end(), at);
        at += text.size();
    };
    forEachLine(content, [&](QStringView line, bool first) {
        const Piece piece = layOut(line, first);
        if (!first) *at++ = u'\n';
        if (piece.levels >= 0) {
            put(base);
            for (qsizetype level = piece.levels; level > 0; --level) put(unit);
        }
        put(piece.text);
    });
    return out;
}

}  // namespace Carvex
