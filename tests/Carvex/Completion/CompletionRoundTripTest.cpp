#include "Carvex/Completion/CompletionCoordinator.h"
#include "Carvex/Completion/CompletionInsertion.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace CarvexTest {
namespace {

using namespace Carvex;

// In each YAML description, a plain key the engine proposes as written, cut to its first two
// characters and completed with its own row, gives back the original text.
TEST(CompletionRoundTripTest, KeysCutShortAndCompletedReadAsWritten) {
    const QDir corpus(CARVEX_SHARED_DIR "/corpus/oai");
    if (!corpus.exists()) {
        GTEST_SKIP() << "no corpus";
    }
    const CompletionCoordinator::Engine engine = CompletionCoordinator::defaultEngine();
    const QRegularExpression keyLine(QStringLiteral("^[ ]*(?:- )?([A-Za-z_$][A-Za-z0-9_$-]{2,}):(?: |$)"),
                                     QRegularExpression::MultilineOption);
    int completed = 0;
    for (const char* version : {"v3.0", "v3.1"}) {
        const QDir folder(corpus.filePath(QString::fromLatin1(version)));
        for (const QString& name : folder.entryList({QStringLiteral("*.yaml")}, QDir::Files, QDir::Name)) {
            QFile file(folder.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QString original = QString::fromUtf8(file.readAll());
            int keys = 0;
            for (auto match = keyLine.globalMatch(original); match.hasNext() && keys < 120; ++keys) {
                const QRegularExpressionMatch found = match.next();
                const QString key = found.captured(1);
                const qsizetype start = found.capturedStart(1);
                QString text = original;
                text.remove(start + 2, key.size() - 2);
                const qsizetype caret = start + 2;
                const CompletionResult result = engine(text, caret, DocumentFormat::yaml, {});
                const auto row = std::find_if(result.items.begin(), result.items.end(), [&](const CompletionItem& item) {
                    return item.label == key && item.insertText == key && item.kind != CompletionItemKind::snippet;
                });
                if (row == result.items.end()) {
                    continue;
                }
                SCOPED_TRACE((name + u' ' + key).toStdString());
                const auto insertion =
                    CompletionInsertion::ordinaryInsertion(text, TextRange{caret, 0}, DocumentLanguage::yaml, *row);
                ASSERT_TRUE(insertion);
                text.replace(insertion->range.location, insertion->range.length, insertion->text);
                EXPECT_EQ(text, original);
                EXPECT_EQ(insertion->caret, start + key.size());
                ++completed;
            }
        }
    }
    EXPECT_GT(completed, 50);
}

}  // namespace
}  // namespace CarvexTest
