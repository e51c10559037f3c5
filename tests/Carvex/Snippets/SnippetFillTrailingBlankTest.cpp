#include "BuiltInTemplateHosts.h"
#include "PlaceholderSessionSupport.h"

#include "Carvex/Snippets/InlineSnippetInsertion.h"
#include "Carvex/Snippets/MatchContextBuilder.h"

#include <string>
#include <vector>

using namespace BuiltInTemplateHosts;

namespace {

// Every built-in body accepted under its trigger, each field typed into and left with Tab, then one
// more Tab: the caret ends after the body, no line ends in blanks and the description reads back.
class SnippetFillTrailingBlankTest : public CarvexTest::PlaceholderSessionTest {
public:
    void fillAndClose(const QString& prefix, const QString& after, const Carvex::SnippetTemplate& snippet, int width,
                      Carvex::FileFormat format) {
        const bool json = format == Carvex::FileFormat::json;
        const QString host = prefix + after;
        Carvex::Document& doc = open(host, json ? QStringLiteral("/nowhere/a.json") : QStringLiteral("/nowhere/a.yaml"));
        const qsizetype point = prefix.size();
        const QString base = Carvex::MatchContextBuilder::baseIndent(host, point);
        const Carvex::IndentationStyle unit = Carvex::IndentationStyle::spaces(width);
        const Carvex::SnippetSuggestion suggestion{
            snippet, Carvex::SnippetSuggestion::render(snippet.content, base, unit, format), point,
            Carvex::MatchContextBuilder::lastKeyword(host, point, format), base};
        const auto insertion = Carvex::InlineSnippetInsertion::make(host, suggestion, unit, format);
        ASSERT_TRUE(insertion.has_value());
        manager().insertSnippet(insertion->snippetText,
                                Carvex::TextRange{insertion->replaceStart, insertion->replaceEnd - insertion->replaceStart});
        const qsizetype afterLength = after.size();
        for (int field = 0; session() != nullptr && field < 50; ++field) {
            typeKey(QStringLiteral("1"));
            typeKey(QStringLiteral("2"));
            press(Qt::Key_Tab);
        }
        EXPECT_EQ(session(), nullptr);
        EXPECT_EQ(view().selectedRange(), (Carvex::TextRange{text().size() - afterLength, 0}))
            << "the caret goes on after the body";
        for (const QString& line : text().split(u'\n')) {
            EXPECT_FALSE(line.endsWith(u' ') || line.endsWith(u'\t')) << "'" << line.toStdString() << "'\n"
                                                                      << text().toStdString();
        }
        EXPECT_EQ(parseErrorOf(text(), json ? VoziZazIre::Format::json : VoziZazIre::Format::yaml), "")
            << text().toStdString();
        EXPECT_EQ(doc.content(), view().text());
    }
};

TEST_F(SnippetFillTrailingBlankTest, EveryYamlBodyFilledAndClosedWithTabLeavesNoTrailingBlanks) {
    const auto rows = Carvex::TemplateCatalog::builtInTemplates("3.0", Carvex::FileFormat::yaml);
    ASSERT_FALSE(rows.empty());
    for (const int width : {2, 4}) {
        for (const Carvex::SnippetTemplate& row : rows) {
            SCOPED_TRACE(row.id.toStdString() + " width " + std::to_string(width));
            ASSERT_TRUE(yamlHosts().count(row.id));
            const Host& host = yamlHosts().at(row.id);
            const QString before = QString::fromUtf8(host.before);
            QString prefix = (before.startsWith(u"openapi:") ? QString() : QString::fromUtf8(kYamlHead)) + before +
                             host.indent + host.trigger;
            if (width == 4) prefix = fourSpaced(prefix);
            fillAndClose(prefix, QString::fromUtf8(host.after), row, width, Carvex::FileFormat::yaml);
        }
    }
}

TEST_F(SnippetFillTrailingBlankTest, EveryJsonBodyFilledAndClosedWithTabLeavesNoTrailingBlanks) {
    int filled = 0;
    for (const Carvex::SnippetTemplate& row :
         Carvex::TemplateCatalog::builtInTemplates("3.0", Carvex::FileFormat::json)) {
        if (!jsonHosts().count(row.id)) continue;
        SCOPED_TRACE(row.id.toStdString());
        const Host& host = jsonHosts().at(row.id);
        const QString prefix = QString::fromUtf8(kJsonHead) + host.before + host.indent + host.trigger;
        fillAndClose(prefix, QString::fromUtf8(host.after), row, 2, Carvex::FileFormat::json);
        ++filled;
    }
    EXPECT_EQ(filled, static_cast<int>(jsonHosts().size()));
}

}  // namespace
