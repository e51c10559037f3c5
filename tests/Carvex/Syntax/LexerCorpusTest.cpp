// The lexers over the published example descriptions: the JSON lexer's tokens are counted against
// an independent JSON reader, and the YAML lexer's tokens are checked for what a line lexer must
// never produce.

#include "Carvex/Syntax/CharacterSets.h"
#include "Carvex/Syntax/JSONLexer.h"
#include "Carvex/Syntax/YAMLLexer.h"

#include "tests/Carvex/Syntax/LexerTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <map>
#include <vector>

using Carvex::SyntaxToken;
using T = Carvex::SyntaxTokenType;

namespace {

QStringList corpusFiles(const QString& suffix)
{
    QStringList files;
    QDirIterator it(QStringLiteral(CARVEX_SHARED_DIR "/corpus/oai"), {QStringLiteral("*.") + suffix}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// How many tokens of each kind a JSON value's text must produce.
std::map<T, std::size_t> expectedCounts(const QJsonValue& root)
{
    std::map<T, std::size_t> counts;
    std::vector<QJsonValue> stack{root};
    while (!stack.empty()) {
        const QJsonValue value = stack.back();
        stack.pop_back();
        switch (value.type()) {
        case QJsonValue::Object: {
            const QJsonObject object = value.toObject();
            counts[T::punctuation] += 2 + 2 * std::size_t(object.size()) - (object.isEmpty() ? 0 : 1);
            counts[T::jsonKey] += std::size_t(object.size());
            for (auto it = object.begin(); it != object.end(); ++it)
                stack.push_back(it.value());
            break;
        }
        case QJsonValue::Array: {
            const QJsonArray array = value.toArray();
            counts[T::punctuation] += 2 + (array.isEmpty() ? 0 : std::size_t(array.size()) - 1);
            for (const QJsonValue& item : array)
                stack.push_back(item);
            break;
        }
        case QJsonValue::String: ++counts[T::string]; break;
        case QJsonValue::Double: ++counts[T::number]; break;
        case QJsonValue::Bool: ++counts[T::boolean]; break;
        case QJsonValue::Null: ++counts[T::null]; break;
        case QJsonValue::Undefined: break;
        }
    }
    return counts;
}

TEST(LexerCorpus, jsonTokensMatchAnIndependentReaderKindForKind)
{
    const QStringList files = corpusFiles(QStringLiteral("json"));
    if (files.isEmpty())
        GTEST_SKIP() << "corpus not found under " CARVEX_SHARED_DIR;
    for (const QString& path : files) {
        const QString text = readText(path);
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << path.toStdString();
        const QJsonValue root = document.isObject() ? QJsonValue(document.object()) : QJsonValue(document.array());

        const std::vector<SyntaxToken> tokens = Carvex::JSONLexer().tokenize(text);
        EXPECT_TRUE(CarvexTest::wellFormed(tokens, text.size())) << path.toStdString();
        std::map<T, std::size_t> actual;
        for (const SyntaxToken& token : tokens)
            ++actual[token.type];
        EXPECT_EQ(actual, expectedCounts(root)) << path.toStdString();
    }
}

TEST(LexerCorpus, yamlTokensStayOnTheirLineAndIndicatorsAreIndicators)
{
    const QStringList files = corpusFiles(QStringLiteral("yaml"));
    if (files.isEmpty())
        GTEST_SKIP() << "corpus not found under " CARVEX_SHARED_DIR;
    const QStringList indicators = {QStringLiteral("-"), QStringLiteral("---"), QStringLiteral(":"),
                                    QStringLiteral("|"), QStringLiteral(">")};
    for (const QString& path : files) {
        const QString text = readText(path);
        const std::vector<SyntaxToken> tokens = Carvex::YAMLLexer().tokenize(text);
        EXPECT_TRUE(CarvexTest::wellFormed(tokens, text.size())) << path.toStdString();
        std::size_t keys = 0;
        for (const SyntaxToken& token : tokens) {
            const QString covered = text.mid(token.range.location, token.range.length);
            const std::string where = path.toStdString() + " at " + std::to_string(token.range.location);
            for (QChar c : covered)
                ASSERT_FALSE(Carvex::CharacterSets::isNewline(c.unicode())) << where;
            if (token.type == T::indicator) {
                EXPECT_TRUE(indicators.contains(covered)) << where << ": " << covered.toStdString();
            }
            if (token.type == T::comment) {
                EXPECT_TRUE(covered.startsWith(u'#')) << where;
            }
            if (token.type == T::key) {
                ++keys;
                EXPECT_FALSE(covered.trimmed().isEmpty()) << where;
            }
            EXPECT_NE(token.type, T::jsonKey) << where;
            EXPECT_NE(token.type, T::punctuation) << where;
        }
        EXPECT_GT(keys, 0u) << path.toStdString();
    }
}

} // namespace
