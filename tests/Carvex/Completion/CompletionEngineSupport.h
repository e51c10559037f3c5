#pragma once

#include "Carvex/Completion/CompletionItem.h"
#include "Carvex/CaretContext/DocumentFormat.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace CompletionEngineSupport {

// A text with its caret written as "‸".
struct CaretText {
    QString text;
    qsizetype caret = 0;
};

inline CaretText caretText(const char* marked)
{
    QString text = QString::fromUtf8(marked);
    const qsizetype caret = text.indexOf(QChar(0x2038));
    if (caret >= 0)
        text.remove(caret, 1);
    return {text, caret < 0 ? text.size() : caret};
}

inline QStringList labelsOf(const std::vector<Carvex::CompletionItem>& items)
{
    QStringList labels;
    for (const Carvex::CompletionItem& item : items)
        labels << item.label;
    return labels;
}

// No item sorts before the one ahead of it.
inline bool isSorted(const std::vector<Carvex::CompletionItem>& items)
{
    return std::is_sorted(items.begin(), items.end());
}

struct CorpusFile {
    QString name;
    QString text;
    Carvex::DocumentFormat format;
};

// The YAML and JSON descriptions of the shared corpus, by version folder and name; empty without it.
inline std::vector<CorpusFile> corpusFiles()
{
    std::vector<CorpusFile> files;
    const QDir corpus(CARVEX_SHARED_DIR "/corpus/oai");
    for (const QString& version : {QStringLiteral("v3.0"), QStringLiteral("v3.1")}) {
        const QDir folder(corpus.filePath(version));
        for (const QString& name : folder.entryList({"*.yaml", "*.json"}, QDir::Files, QDir::Name)) {
            QFile file(folder.filePath(name));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            files.push_back({version + u'/' + name, QString::fromUtf8(file.readAll()),
                             name.endsWith(".json") ? Carvex::DocumentFormat::json : Carvex::DocumentFormat::yaml});
        }
    }
    return files;
}

} // namespace CompletionEngineSupport
