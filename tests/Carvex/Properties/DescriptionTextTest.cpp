// Descriptions as text: the tag test, the HTML import and its normalisation, the height by width,
// which links open, and that no resource is ever read.

#include "Carvex/Properties/DescriptionDocument.h"
#include "Carvex/Properties/SelfSizingTextView.h"
#include "platform/TestApplication.h"
#include "platform/Workspace.h"

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

namespace {

using Carvex::DescriptionDocument;
using Carvex::SelfSizingTextView;

class DescriptionTextTest : public ::testing::Test {
protected:
    void SetUp() override { CarvexPlatform::TestApplication::ensure(); }
};

// The format of the first character of `needle` in the document.
QTextCharFormat formatAt(const QTextDocument& document, const QString& needle) {
    const QTextCursor found = document.find(needle);
    EXPECT_FALSE(found.isNull()) << needle.toStdString();
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(found.selectionStart() + 1);
    return cursor.charFormat();
}

TEST_F(DescriptionTextTest, onlyALetterAfterTheLessThanSignMakesATag) {
    const struct {
        const char* text;
        bool tag;
    } cases[] = {
        {"a < b and c > d", false},
        {"x <3 and y > 2", false},
        {"plain text", false},
        {"<b>bold</b> text", true},
        {"ends in <br>", true},
        {"<a href=\"https://example.com\">link</a>", true},
        {"unclosed <b but no closing sign", false},
        {"> before <b", false},
        {"<\xC3\xA9t\xC3\xA9>", false},  // no ASCII letter after "<"
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SelfSizingTextView::containsTag(QString::fromUtf8(c.text)), c.tag) << c.text;
    }
}

TEST_F(DescriptionTextTest, htmlIsNormalisedToTheAskedFonts) {
    const QString html = QStringLiteral("Use <code>GET</code> with <b><i>care</i></b>, <b>bold</b>, "
                                        "<i>slanted</i> and <a href=\"https://example.com\">docs</a>.<br><br>");
    const auto document = SelfSizingTextView::attributedDescription(html, 11.5);
    const QString fixedFamily = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();

    const QTextCharFormat code = formatAt(*document, QStringLiteral("GET"));
    EXPECT_EQ(code.font().family(), fixedFamily);
    EXPECT_DOUBLE_EQ(code.fontPointSize(), 11.5);

    const QTextCharFormat both = formatAt(*document, QStringLiteral("care"));
    EXPECT_TRUE(both.font().bold());
    EXPECT_TRUE(both.font().italic());
    EXPECT_DOUBLE_EQ(both.fontPointSize(), 11.5);

    EXPECT_TRUE(formatAt(*document, QStringLiteral("bold")).font().bold());
    EXPECT_TRUE(formatAt(*document, QStringLiteral("slanted")).font().italic());
    const QTextCharFormat plain = formatAt(*document, QStringLiteral("with"));
    EXPECT_FALSE(plain.font().bold());
    EXPECT_NE(plain.font().family(), fixedFamily);
    EXPECT_DOUBLE_EQ(plain.fontPointSize(), 11.5);

    const QTextCharFormat link = formatAt(*document, QStringLiteral("docs"));
    EXPECT_TRUE(link.isAnchor());
    EXPECT_NE(link.foreground().color(), plain.foreground().color());

    // Trailing breaks are gone.
    const QString text = document->toPlainText();
    EXPECT_TRUE(text.endsWith(QLatin1Char('.'))) << text.toStdString();
}

TEST_F(DescriptionTextTest, aLessThanSignThatOpensNoTagStaysInHtmlText) {
    const struct {
        const char* html;
        const char* shown;
    } cases[] = {
        {"<b>limit</b> a < 3 and 5 > 2", "limit a < 3 and 5 > 2"},
        {"<i>x</i> <3 or <= 4 or <- 5", "x <3 or <= 4 or <- 5"},
        {"<p>ends with <</p>", "ends with <"},
        {"<b>kept</b><!--note-->after", "keptafter"},
        {"<b>a</b>&lt;b&gt; stays", "a<b> stays"},
    };
    for (const auto& c : cases) {
        const auto document = SelfSizingTextView::attributedDescription(QString::fromUtf8(c.html), 12);
        EXPECT_EQ(document->toPlainText().toStdString(), c.shown) << c.html;
    }
}

TEST_F(DescriptionTextTest, htmlKeepsItsLinesButNotItsOwnColoursOrSizes) {
    const QString html = QStringLiteral(
        "<p>plain <a href=\"https://example.com\">link</a> <u>under</u> <s>struck</s> "
        "<span style=\"color: red; font-size: 30px\">loud</span> <small>small</small> "
        "<font face=\"Courier New\">typed</font> <span style=\"font-family: 'Fira Mono'\">fira</span></p>"
        "<h2>heading</h2>");
    const auto document = SelfSizingTextView::attributedDescription(html, 12);
    const QString fixedFamily = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    const QTextCharFormat plain = formatAt(*document, QStringLiteral("plain"));
    const auto shown = [&](const QTextCharFormat& format) {
        return format.font().resolve(document->defaultFont());
    };

    EXPECT_TRUE(formatAt(*document, QStringLiteral("link")).fontUnderline());
    EXPECT_TRUE(formatAt(*document, QStringLiteral("under")).fontUnderline());
    EXPECT_TRUE(formatAt(*document, QStringLiteral("struck")).fontStrikeOut());
    EXPECT_FALSE(plain.fontUnderline());

    const struct {
        const char* word;
        bool monospaced;
        bool bold;
    } runs[] = {{"loud", false, false}, {"small", false, false}, {"typed", true, false},
                {"fira", true, false},  {"heading", false, true}};
    for (const auto& run : runs) {
        const QTextCharFormat format = formatAt(*document, QString::fromUtf8(run.word));
        EXPECT_EQ(format.foreground().color().rgba(), plain.foreground().color().rgba()) << run.word;
        EXPECT_DOUBLE_EQ(shown(format).pointSizeF(), 12) << run.word;
        EXPECT_EQ(shown(format).family() == fixedFamily, run.monospaced) << run.word;
        EXPECT_EQ(shown(format).bold(), run.bold) << run.word;
    }
    // Nothing is laid out before a width is given.
    EXPECT_EQ(document->size(), QSizeF(0, 0));
}

TEST_F(DescriptionTextTest, textWithoutATagAndDeeplyNestedTablesStayPlain) {
    const struct {
        QString text;
        bool plain;  // the tags stay in the text as written
    } cases[] = {
        {QStringLiteral("1 < 2 <b"), true},
        {QStringLiteral("<table><tr><td>cell</td></tr></table>"), false},
        {QStringLiteral("<table><tr><td>").repeated(4) + QStringLiteral("deep") +
             QStringLiteral("</td></tr></table>").repeated(4),
         false},
        {QStringLiteral("<table><tr><td>").repeated(5) + QStringLiteral("deep") +
             QStringLiteral("</td></tr></table>").repeated(5),
         true},
        {QStringLiteral("<TABLE><tr><td>").repeated(14) + QStringLiteral("deep"), true},
    };
    for (const auto& c : cases) {
        const auto document = SelfSizingTextView::attributedDescription(c.text, 12);
        EXPECT_EQ(document->toPlainText() == c.text, c.plain) << c.text.toStdString();
    }
    EXPECT_EQ(SelfSizingTextView::tableNestingDepth(QStringLiteral("<table><tablex></table><table></table>")), 1);
}

TEST_F(DescriptionTextTest, theViewIsAsTallAsItsTextAtItsWidth) {
    auto* view = SelfSizingTextView::makeDescriptionView(QStringLiteral("word ").repeated(200), 12);
    std::unique_ptr<SelfSizingTextView> owner(view);
    EXPECT_TRUE(view->hasHeightForWidth());
    const int narrow = view->heightForWidth(150);
    const int wide = view->heightForWidth(600);
    EXPECT_GT(narrow, wide);
    EXPECT_GT(wide, 0);
    view->document()->setTextWidth(150);
    EXPECT_EQ(narrow, static_cast<int>(std::ceil(view->document()->size().height())));
}

TEST_F(DescriptionTextTest, aWidthIsLaidOutOnceAndShownAsMeasured) {
    std::unique_ptr<SelfSizingTextView> view(
        SelfSizingTextView::makeDescriptionView(QStringLiteral("<p>word <b>bold</b> word</p>").repeated(100), 12));
    int layouts = 0;
    QObject::connect(view->document()->documentLayout(), &QAbstractTextDocumentLayout::update,
                     [&layouts] { ++layouts; });
    // A scroll area asks for its width with and without its scroll bar, again and again.
    const int wide = view->heightForWidth(456);
    const int narrow = view->heightForWidth(442);
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(view->heightForWidth(456), wide);
        EXPECT_EQ(view->heightForWidth(442), narrow);
    }
    EXPECT_EQ(layouts, 2);
    // Shown at the width it was last measured at, it paints that layout.
    view->resize(442, narrow);
    (void)view->grab();
    EXPECT_EQ(layouts, 2);
    EXPECT_EQ(view->document()->textWidth(), 442);

    // Given a width nobody measured, it wraps at it before it paints.
    view->resize(300, narrow);
    (void)view->grab();
    EXPECT_EQ(view->document()->textWidth(), 300);
    EXPECT_EQ(view->heightForWidth(300), static_cast<int>(std::ceil(view->document()->size().height())));

    // A new text is measured anew.
    view->setDescription(SelfSizingTextView::attributedDescription(QStringLiteral("short"), 12));
    EXPECT_LT(view->heightForWidth(442), narrow);
}

TEST_F(DescriptionTextTest, onlyWebAndMailLinksOpen) {
    std::vector<QUrl> opened;
    auto previous = CarvexPlatform::Workspace::setOpener([&](const QUrl& url) { opened.push_back(url); });
    const struct {
        const char* href;
        bool opens;
    } cases[] = {
        {"https://example.com/docs", true},
        {"http://example.com", true},
        {"mailto:team@example.com", true},
        {"HTTPS://EXAMPLE.COM", true},
        {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},
        {"vscode://open?file=/tmp/x", false},
        {"/etc/passwd", false},
        {"", false},
    };
    for (const auto& c : cases) {
        opened.clear();
        EXPECT_EQ(SelfSizingTextView::openLink(QString::fromUtf8(c.href)), c.opens) << c.href;
        EXPECT_EQ(opened.size(), c.opens ? 1u : 0u) << c.href;
    }
    CarvexPlatform::Workspace::setOpener(std::move(previous));
}

TEST_F(DescriptionTextTest, noResourceIsEverRead) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString file = dir.filePath(QStringLiteral("secret.css"));
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("body { color: red }");
    }
    // Each would read for ever, block for ever, or read a local file (the test would not end).
    const QString sources[] = {QStringLiteral("/dev/zero"), fifo, file, QStringLiteral("file://") + file};
    for (const QString& source : sources) {
        const QString html = QStringLiteral("<p>before<img src=\"%1\">after</p><link rel=\"stylesheet\" href=\"%1\">")
                                 .arg(source);
        const auto document = SelfSizingTextView::attributedDescription(html, 12);
        // Layout asks for the image.
        document->setTextWidth(300);
        (void)document->size();
        EXPECT_TRUE(document->toPlainText().contains(QStringLiteral("after"))) << source.toStdString();
        // Painting draws the image as nothing, without reading it.
        QImage canvas(300, 200, QImage::Format_ARGB32);
        QPainter painter(&canvas);
        document->drawContents(&painter);
        painter.end();
        EXPECT_TRUE(document->resource(QTextDocument::ImageResource, QUrl(source)).isNull());
    }
}

TEST_F(DescriptionTextTest, hugeAndDeeplyNestedDescriptionsShow) {
    const QString huge = QStringLiteral("<p>Paragraph with <b>bold</b> text.</p>").repeated(1024 * 1024 / 38);
    const QString deep = QStringLiteral("<div><span>").repeated(500) + QStringLiteral("core") +
                         QStringLiteral("</span></div>").repeated(500);
    const QString unclosed = QStringLiteral("<b").repeated(500000) + QLatin1Char('>');
    for (const QString& text : {huge, deep, unclosed}) {
        std::unique_ptr<SelfSizingTextView> view(SelfSizingTextView::makeDescriptionView(text, 12));
        EXPECT_GT(view->heightForWidth(400), 0);
    }
}

}  // namespace
