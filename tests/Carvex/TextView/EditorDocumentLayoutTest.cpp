#include "tests/Carvex/TextView/EditorViewTestSupport.h"

#include "Carvex/TextView/EditorDocumentLayout.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <functional>

using namespace Carvex;
using CarvexTest::EditorViewTest;

namespace {

class EditorDocumentLayoutTest : public EditorViewTest {
protected:
    EditorDocumentLayout& layout() {
        return *qobject_cast<EditorDocumentLayout*>(view->document()->documentLayout());
    }
    // The rectangle as the toolkit finds it, walking the block's lines.
    QRectF walked(const QTextBlock& block) { return layout().QPlainTextDocumentLayout::blockBoundingRect(block); }
};

TEST_F(EditorDocumentLayoutTest, ALongBlocksRectangleIsFoundOnceAndFollowsEachChange) {
    // A long wrapped block's rectangle is kept between paints; whatever lays the block out
    // again or moves it must give the rectangle the toolkit finds then.
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view->setWordWrapMode(QTextOption::WrapAnywhere);
    view->loadText(QStringLiteral("head\n") + QString(40'000, u'x') + QStringLiteral("\ntail"));
    view->finishLoading();
    paint();
    const struct {
        const char* name;
        std::function<void(EditorTextView&)> change;
    } rows[] = {
        {"nothing", [](EditorTextView&) {}},
        {"a narrower view", [](EditorTextView& v) { v.resize(v.width() - 150, v.height()); }},
        {"a key in the block", [](EditorTextView& v) { v.replaceCharacters(TextRange{20'000, 0}, "yyyy"); }},
        {"rows taken out", [](EditorTextView& v) { v.replaceCharacters(TextRange{100, 5'000}, {}); }},
        {"a larger font",
         [](EditorTextView& v) {
             QFont font = v.font();
             font.setPointSizeF(font.pointSizeF() * 1.5);
             v.setFont(font);
         }},
        {"the last line taken away", [](EditorTextView& v) { v.replaceCharacters(TextRange{v.textLength() - 5, 5}, {}); }},
        {"formats on the block",
         [](EditorTextView& v) {
             QTextLayout* lines = v.document()->findBlockByNumber(1).layout();
             QTextCharFormat bold;
             bold.setFontWeight(QFont::Black);
             lines->setFormats({QTextLayout::FormatRange{0, 30'000, bold}});
             v.document()->markContentsDirty(v.document()->findBlockByNumber(1).position(), 30'000);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.change(*view);
        paint();
        const QTextBlock block = view->document()->findBlockByNumber(1);
        ASSERT_GE(block.layout()->lineCount(), 32);
        const int before = layout().workCount();
        const QRectF kept = layout().blockBoundingRect(block);
        EXPECT_EQ(layout().blockBoundingRect(block), kept);
        EXPECT_EQ(layout().workCount(), before) << "found again";
        EXPECT_EQ(kept, walked(block));
    }
}

}  // namespace
