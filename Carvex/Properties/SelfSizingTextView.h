#pragma once

#include <QTextEdit>
#include <QUrl>

#include <memory>
#include <utility>
#include <vector>

namespace Carvex {

class DescriptionDocument;

// A read-only text view as tall as its text at its width, for descriptions in the detail tabs.
// Descriptions that hold something shaped like a tag are read as HTML and then brought to the
// system font of the asked size (bold, italic, monospaced and link runs keep their look). A click
// on a link opens it in the desktop's browser or mail program (`CarvexPlatform::Workspace`), for
// http, https and mailto only. Main thread only.
class SelfSizingTextView : public QTextEdit {
    Q_OBJECT

public:
    // Tables nested deeper than this make a description show as plain text: their layout time
    // doubles with each level.
    static constexpr int maximumTableNesting = 4;

    explicit SelfSizingTextView(QWidget* parent = nullptr);

    // A configured view holding the prepared `text`.
    static SelfSizingTextView* makeDescriptionView(const QString& text, double fontSize, QWidget* parent = nullptr);

    // The prepared text: HTML when the text holds a tag (a "<" then a letter, later closed by ">"),
    // plain otherwise. The caller owns the document.
    static std::unique_ptr<DescriptionDocument> attributedDescription(const QString& text, double fontSize);
    static std::unique_ptr<DescriptionDocument> plainDescription(const QString& text, double fontSize);
    static void normalizeImportedHTML(QTextDocument& document, double fontSize);
    // Whether `text` holds a tag opening with a letter ("<b>", "<a href=...>").
    static bool containsTag(const QString& text);
    // `html` with every "<" that opens no markup (not followed by a letter, "/", "!" or "?") written
    // as "&lt;": browsers show such a sign as text, while the importer would swallow what follows it.
    static QString escapeStrayLessThan(const QString& html);
    // The deepest nesting of table elements in `html`.
    static int tableNestingDepth(const QString& html);

    // What a click on a link with `href` does: opens http, https and mailto links and answers true;
    // anything else (file, javascript, other schemes, relative or no URL) does nothing.
    static bool openLink(const QString& href);

    // Takes `document` (made by `attributedDescription`) as the view's text.
    void setDescription(std::unique_ptr<DescriptionDocument> document);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    QVariant loadResource(int type, const QUrl& name) override;

private:
    static constexpr std::size_t maximumRememberedHeights = 4;

    // Lays the text out at `width` unless it is laid out at it already; answers whether it did.
    bool wrapAt(int width);
    // The text or its font changed: every height is measured again.
    void forgetHeights();

    // The link under a press of the left button that selected nothing; a release on it opens it.
    QString pressedAnchor_;
    // Heights measured at a few widths, the latest last.
    mutable std::vector<std::pair<int, int>> heights_;
};

}  // namespace Carvex
