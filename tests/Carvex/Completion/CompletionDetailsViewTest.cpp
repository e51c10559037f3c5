// The details pane: what it shows per item, when it fades, the height it asks for, its colours in
// either appearance, and long texts kept within its lines.

#include "Carvex/Completion/CompletionDetailsView.h"
#include "platform/Appearance.h"
#include "platform/FakeMainScheduler.h"
#include "platform/SystemColor.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLayout>
#include <QPlainTextEdit>

namespace Carvex {
namespace {

using namespace std::chrono_literals;
using CarvexPlatform::SystemColor;

CompletionItem describedItem(const QString& label, std::optional<QString> description,
                             CompletionItemKind kind = CompletionItemKind::keyword) {
    return CompletionItem(label, std::nullopt, kind, std::nullopt, std::move(description));
}

CompletionItem snippetItem(const QString& content) {
    return CompletionItem(QStringLiteral("summary"), std::nullopt, CompletionItemKind::snippet, std::nullopt,
                          QStringLiteral("unused"), std::nullopt, 0, false, false,
                          SnippetMetadata{QStringLiteral("summary"), false, content, QStringLiteral("3.0")});
}

class CompletionDetailsViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        CarvexPlatform::Appearance::shared().setOverride(false);
        view = std::make_unique<CompletionDetailsView>(nullptr, clock);
        view->resize(320, 160);
        view->onHeightChanged = [this](int height) { heights.push_back(height); };
    }
    void TearDown() override {
        view.reset();
        CarvexPlatform::Appearance::shared().setOverride(std::nullopt);
    }
    QString shownTitle() const { return view->titleLabel()->text(); }

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> clock = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    std::unique_ptr<CompletionDetailsView> view;
    std::vector<int> heights;
};

TEST_F(CompletionDetailsViewTest, FadesUnlessTheSelectionMovesFasterThanOneRowPerTenthOfASecond) {
    const CompletionItem a = describedItem(QStringLiteral("a"), QStringLiteral("first"));
    const CompletionItem b = describedItem(QStringLiteral("b"), QStringLiteral("second"));
    const CompletionItem c = describedItem(QStringLiteral("c"), QStringLiteral("third"));

    view->update(a, true);  // the first change fades
    EXPECT_TRUE(view->isFading());
    EXPECT_FALSE(view->currentItem()) << "the old content stays until the fade-out ends";
    // The fade-out ends with the first frame at or after 0.15 s.
    clock->advance(CompletionDetailsView::fadeDuration + CompletionAnimation::frameInterval);
    ASSERT_TRUE(view->currentItem());
    EXPECT_EQ(view->currentItem()->label, QStringLiteral("a"));
    EXPECT_LT(view->contentOpacity(), 0.2);
    clock->advance(CompletionDetailsView::fadeDuration + CompletionAnimation::frameInterval);
    EXPECT_FALSE(view->isFading());
    EXPECT_DOUBLE_EQ(view->contentOpacity(), 1.0);

    view->update(b, true);  // 0.33 s later: fades
    EXPECT_TRUE(view->isFading());
    clock->advance(50ms);
    view->update(c, true);  // 0.05 s later: at once
    EXPECT_EQ(view->currentItem()->label, QStringLiteral("c"));
    EXPECT_FALSE(view->isFading());
    EXPECT_EQ(shownTitle(), QStringLiteral("c"));

    clock->advance(100ms);
    view->update(a, false);  // not animated: at once
    EXPECT_EQ(view->currentItem()->label, QStringLiteral("a"));
    EXPECT_FALSE(view->isFading());
}

TEST_F(CompletionDetailsViewTest, AFadeEndsOnTheItemLastAskedForNotTheOneThatStartedIt) {
    const CompletionItem a = describedItem(QStringLiteral("a"), QStringLiteral("first"));
    const CompletionItem b = describedItem(QStringLiteral("b"), QStringLiteral("second"));
    view->update(a, false);
    clock->advance(1s);
    view->update(b, true);
    ASSERT_TRUE(view->isFading());
    clock->advance(120ms);
    // Back on the first row while the fade to the second runs, more than 0.1 s later: no new
    // fade starts, and the one running must not end on "b".
    view->update(a, true);
    clock->advance(1s);
    EXPECT_EQ(view->currentItem()->label, QStringLiteral("a"));
    EXPECT_EQ(shownTitle(), QStringLiteral("a"));

    // Cleared while a fade runs: the pane ends empty.
    view->update(b, true);
    clock->advance(50ms);
    view->update(std::nullopt, false);
    clock->advance(1s);
    EXPECT_FALSE(view->currentItem());
    EXPECT_TRUE(shownTitle().isEmpty());
}

TEST_F(CompletionDetailsViewTest, TheSameItemAgainChangesNothingNotEvenTheTime) {
    const CompletionItem a = describedItem(QStringLiteral("a"), QStringLiteral("first"));
    view->update(a, false);
    const auto stamp = view->lastUpdateTime();
    clock->advance(500ms);
    CompletionItem again = a;
    again.label = QStringLiteral("same id");
    view->update(again, true);
    EXPECT_EQ(view->lastUpdateTime(), stamp);
    EXPECT_FALSE(view->isFading());
    EXPECT_EQ(shownTitle(), QStringLiteral("a"));
}

TEST_F(CompletionDetailsViewTest, ShowsDescriptionPlaceholderOrPreviewAndAsksForItsHeight) {
    struct Row {
        const char* name;
        CompletionItem item;
        QString description;  // empty: the preview is shown
        SystemColor color;
        int height;
    };
    CompletionItem snippetWithoutMetadata = describedItem(QStringLiteral("s"), std::nullopt, CompletionItemKind::snippet);
    const std::vector<Row> rows = {
        {"description", describedItem(QStringLiteral("title"), QStringLiteral("The title.")), QStringLiteral("The title."),
         SystemColor::secondaryLabel, 100},
        {"empty_description", describedItem(QStringLiteral("x"), QString()), CompletionDetailsView::noDescriptionText,
         SystemColor::tertiaryLabel, 100},
        {"no_description", describedItem(QStringLiteral("y"), std::nullopt), CompletionDetailsView::noDescriptionText,
         SystemColor::tertiaryLabel, 100},
        {"snippet_without_metadata", snippetWithoutMetadata, CompletionDetailsView::noDescriptionText,
         SystemColor::tertiaryLabel, 100},
        {"snippet", snippetItem(QStringLiteral("summary: ${1:Get items}")), QString(), SystemColor::label, 160},
    };
    for (const Row& row : rows) {
        heights.clear();
        view->update(row.item, false);
        EXPECT_EQ(heights, std::vector<int>{row.height}) << row.name;
        EXPECT_EQ(shownTitle(), row.item.label) << row.name;
        if (row.description.isEmpty()) {
            EXPECT_TRUE(view->isPreviewShown()) << row.name;
            EXPECT_FALSE(view->descriptionLabel()->isVisibleTo(view.get())) << row.name;
            EXPECT_EQ(view->previewTextView()->toPlainText(), QStringLiteral("summary: Get items")) << row.name;
        } else {
            EXPECT_FALSE(view->isPreviewShown()) << row.name;
            EXPECT_EQ(view->descriptionLabel()->text(), row.description) << row.name;
            EXPECT_EQ(view->descriptionLabel()->palette().color(QPalette::WindowText),
                      CarvexPlatform::systemColor(row.color))
                << row.name;
        }
    }
    heights.clear();
    view->update(std::nullopt, false);
    EXPECT_TRUE(heights.empty()) << "clearing reports no height";
    EXPECT_TRUE(shownTitle().isEmpty());
    EXPECT_TRUE(view->descriptionLabel()->text().isEmpty());
    EXPECT_FALSE(view->isPreviewShown());
}

TEST_F(CompletionDetailsViewTest, PreviewUnderlinesDefaultsAndFollowsTheAppearance) {
    view->update(snippetItem(QStringLiteral("summary: ${1:Get items}")), false);
    QTextCursor cursor(view->previewTextView()->document());
    cursor.setPosition(int(QStringLiteral("summary: G").size()));
    EXPECT_TRUE(cursor.charFormat().fontUnderline()) << "the default text is marked";
    const QColor lightDefault = cursor.charFormat().foreground().color();
    const QString lightStyle = view->containerView()->styleSheet();

    CarvexPlatform::Appearance::shared().setOverride(true);
    QTextCursor dark(view->previewTextView()->document());
    dark.setPosition(int(QStringLiteral("summary: G").size()));
    EXPECT_TRUE(dark.charFormat().fontUnderline());
    EXPECT_NE(view->containerView()->styleSheet(), lightStyle) << "background and border follow the appearance";
    EXPECT_TRUE(view->containerView()->styleSheet().contains(
        CarvexPlatform::systemColor(SystemColor::windowBackground, true).name(QColor::HexArgb)));
    (void)lightDefault;
}

TEST_F(CompletionDetailsViewTest, LongTextsStayWithinTheirLines) {
    // A megabyte of words, a megabyte without a break, and a label of a megabyte.
    const QString words = QStringLiteral("word ").repeated(200000);
    const QString unbroken(1024 * 1024, u'x');
    for (const QString& text : {words, unbroken}) {
        const QString fitted = CompletionDetailsView::fittedText(text, CompletionDetailsView::descriptionFont(),
                                                                 CompletionDetailsView::contentWidth, 5);
        EXPECT_EQ(fitted.count(u'\n'), 4);
        EXPECT_TRUE(fitted.endsWith(QChar(0x2026)));
        EXPECT_LT(fitted.size(), 2000);
    }
    EXPECT_EQ(CompletionDetailsView::fittedText(QStringLiteral("short"), CompletionDetailsView::descriptionFont(), 304, 5),
              QStringLiteral("short"));
    EXPECT_EQ(CompletionDetailsView::fittedText(QStringLiteral("one\ntwo"), CompletionDetailsView::descriptionFont(), 304, 5),
              QStringLiteral("one\ntwo"));

    // At the height the pane asks for, the description's last line shows whole.
    view->setFixedSize(320, CompletionDetailsView::descriptionHeight);  // as the popup holds it
    view->show();
    view->update(describedItem(QStringLiteral("title"), words), false);
    view->layout()->activate();
    view->descriptionLabel()->parentWidget()->layout()->activate();
    const QLabel& label = *view->descriptionLabel();
    EXPECT_GE(CompletionDetailsView::descriptionLinesThatFit(), 1);
    // The label is as wide as the lines were fitted to: none wraps again into a line that is cut.
    EXPECT_EQ(label.width(), CompletionDetailsView::contentWidth);
    EXPECT_LE(label.heightForWidth(label.width()), label.height()) << label.text().toStdString();
    EXPECT_TRUE(label.text().endsWith(QChar(0x2026)));
    view->hide();

    view->update(describedItem(unbroken, unbroken), false);
    EXPECT_LT(shownTitle().size(), 600);
    EXPECT_EQ(shownTitle().count(u'\n'), 0);

    // A template of 10,000 lines is previewed in part.
    QString lines;
    for (int line = 0; line < 10000; ++line) {
        lines += QStringLiteral("key%1: ${%1:value}\n").arg(line);
    }
    view->update(snippetItem(lines), false);
    const QString preview = view->previewTextView()->toPlainText();
    EXPECT_EQ(preview.count(u'\n'), CompletionDetailsView::maximumPreviewLines);
    EXPECT_TRUE(preview.endsWith(QChar(0x2026)));
    EXPECT_TRUE(preview.startsWith(QStringLiteral("key0: value\n")));
}

}  // namespace
}  // namespace Carvex
