#include "Carvex/Text/LineEndingStyle.h"

namespace Carvex {

LineEndingStyle detectLineEndingStyle(QStringView text) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] == u'\n') {
            return LineEndingStyle::lf;
        }
        if (text[i] == u'\r') {
            return i + 1 < n && text[i + 1] == u'\n' ? LineEndingStyle::crlf : LineEndingStyle::cr;
        }
    }
    return LineEndingStyle::lf;
}

QString normalizeLineEndings(const QString& text) {
    if (!text.contains(u'\r')) {
        return text;  // shares the buffer
    }
    QString result;
    result.reserve(text.size());
    const qsizetype n = text.size();
    const QChar* data = text.constData();
    for (qsizetype i = 0; i < n; ++i) {
        if (data[i] == u'\r') {
            result.append(u'\n');
            if (i + 1 < n && data[i + 1] == u'\n') {
                ++i;
            }
        } else {
            result.append(data[i]);
        }
    }
    return result;
}

QString applyLineEndingStyle(const QString& text, LineEndingStyle style) {
    switch (style) {
        case LineEndingStyle::lf:
            return text;
        case LineEndingStyle::cr: {
            QString result = text;
            result.replace(u'\n', u'\r');
            return result;
        }
        case LineEndingStyle::crlf: {
            const qsizetype breaks = text.count(u'\n');
            if (breaks == 0) {
                return text;
            }
            QString result;
            result.reserve(text.size() + breaks);
            const QChar* data = text.constData();
            qsizetype start = 0;
            for (qsizetype i = 0; i < text.size(); ++i) {
                if (data[i] == u'\n') {
                    result.append(data + start, i - start);
                    result.append(QStringLiteral("\r\n"));
                    start = i + 1;
                }
            }
            result.append(data + start, text.size() - start);
            return result;
        }
    }
    return text;
}

}  // namespace Carvex
