#include "Carvex/Properties/SelfSizingTextView.h"

#include "Carvex/Properties/DescriptionDocument.h"
#include "Carvex/Properties/DetailFonts.h"
#include "platform/SystemColor.h"
#include "platform/Workspace.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

namespace Carvex {

namespace {

bool isAsciiLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

bool isLineBreak(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator ||
           c == QChar::LineSeparator;
}

// `font`'s family as a quoted CSS family name, escaped for an attribute's value.
QString cssFamily(const QFont& font) {
    QString family = font.family();
    family.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
    return (QLatin1Char('\'') + family + QLatin1Char('\'')).toHtmlEscaped();
}

// While a document is prepared it has no page: its layout, made with the document, would otherwise
// lay the text out again after every step. The page it had comes back at the end.
class LayoutSuspended {
public:
    explicit LayoutSuspended(QTextDocument& document) : document_(document), pageSize_(document.pageSize()) {
        document_.setPageSize(QSizeF(0, 0));
    }
    ~LayoutSuspended() { document_.setPageSize(pageSize_); }
    LayoutSuspended(const LayoutSuspended&) = delete;
    LayoutSuspended& operator=(const LayoutSuspended&) = delete;

private:
    QTextDocument& document_;
    QSizeF pageSize_;
};

}  // namespace

SelfSizingTextView::SelfSizingTextView(QWidget* parent) : QTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The view wraps at its width itself, so that the layout measured for a width is the one shown
    // at it (see `wrapAt`).
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setLineWrapColumnOrWidth(std::max(1, viewport()->width()));
    setViewportMargins(0, 0, 0, 0);
    setContentsMargins(0, 0, 0, 0);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    // Transparent by its palette: a style sheet on each of a thousand rows costs more than the rows.
    QPalette transparent = palette();
    transparent.setColor(QPalette::Base, Qt::transparent);
    setPalette(transparent);
    // Its height is the height for its width: a fixed policy would cap it at the size hint, which
    // knows no width.
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

SelfSizingTextView* SelfSizingTextView::makeDescriptionView(const QString& text, double fontSize, QWidget* parent) {
    auto* view = new SelfSizingTextView(parent);
    view->setDescription(attributedDescription(text, fontSize));
    return view;
}

void SelfSizingTextView::setDescription(std::unique_ptr<DescriptionDocument> document) {
    if (document->documentMargin() != 0) {
        LayoutSuspended suspended(*document);
        document->setDocumentMargin(0);
    }
    document->setParent(this);
    // The previous document goes with its owner (the view's text control deletes its own).
    const QPointer<QTextDocument> old = this->document();
    setDocument(document.release());
    if (old && old->parent() == this) {
        delete old.data();
    }
    connect(this->document(), &QTextDocument::contentsChanged, this, &SelfSizingTextView::forgetHeights);
    forgetHeights();
}

bool SelfSizingTextView::containsTag(const QString& text) {
    // A "<" and a letter, closed by a later ">": one pass, whatever the text holds.
    const qsizetype lastClose = text.lastIndexOf(QLatin1Char('>'));
    for (qsizetype i = 0; i + 1 < lastClose; ++i) {
        if (text[i] == QLatin1Char('<') && isAsciiLetter(text[i + 1])) {
            return true;
        }
    }
    return false;
}

QString SelfSizingTextView::escapeStrayLessThan(const QString& html) {
    const auto isStray = [&html](qsizetype i) {
        const QChar next = i + 1 < html.size() ? html[i + 1] : QChar();
        return !isAsciiLetter(next) && next != QLatin1Char('/') && next != QLatin1Char('!') &&
               next != QLatin1Char('?');
    };
    // Most descriptions hold none: they are handed on as they are.
    QString escaped;
    qsizetype copied = 0;
    for (qsizetype i = html.indexOf(QLatin1Char('<')); i >= 0; i = html.indexOf(QLatin1Char('<'), i + 1)) {
        if (!isStray(i)) {
            continue;
        }
        if (escaped.isNull()) {
            escaped.reserve(html.size() + 16);
        }
        escaped.append(QStringView(html).mid(copied, i - copied)).append(QLatin1String("&lt;"));
        copied = i + 1;
    }
    if (escaped.isNull()) {
        return html;
    }
    return escaped.append(QStringView(html).mid(copied));
}

int SelfSizingTextView::tableNestingDepth(const QString& html) {
    int depth = 0;
    int deepest = 0;
    const QStringView view(html);
    for (qsizetype i = 0; i < view.size(); ++i) {
        if (view[i] != QLatin1Char('<')) {
            continue;
        }
        const bool closing = i + 1 < view.size() && view[i + 1] == QLatin1Char('/');
        const qsizetype nameStart = i + (closing ? 2 : 1);
        if (view.mid(nameStart, 5).compare(QLatin1String("table"), Qt::CaseInsensitive) != 0) {
            continue;
        }
        const qsizetype after = nameStart + 5;
        if (after < view.size() && (view[after].isLetterOrNumber() || view[after] == QLatin1Char('-'))) {
            continue;  // another element, such as "tablex"
        }
        if (closing) {
            depth = std::max(0, depth - 1);
        } else {
            deepest = std::max(deepest, ++depth);
        }
    }
    return deepest;
}

std::unique_ptr<DescriptionDocument> SelfSizingTextView::plainDescription(const QString& text, double fontSize) {
    auto document = std::make_unique<DescriptionDocument>();
    document->setDefaultFont(DetailFonts::system(fontSize));
    document->setPlainText(text);
    QTextCharFormat format;
    format.setFont(DetailFonts::system(fontSize));
    format.setForeground(CarvexPlatform::systemColor(CarvexPlatform::SystemColor::label));
    QTextCursor cursor(document.get());
    cursor.select(QTextCursor::Document);
    cursor.mergeCharFormat(format);
    return document;
}

std::unique_ptr<DescriptionDocument> SelfSizingTextView::attributedDescription(const QString& text, double fontSize) {
    if (!containsTag(text) || tableNestingDepth(text) > maximumTableNesting) {
        return plainDescription(text, fontSize);
    }
    const QFont plain = DetailFonts::system(fontSize);
    // The body asks for the font and colour the normalisation gives, so that it finds most of the
    // text right already and sets again only what the HTML set apart (code, links, headings,
    // colours of its own): setting each of thousands of runs again cost a fifth of the preparation.
    const QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body style=\"font-family: %1; "
                                        "font-size: %2pt; color: %3;\">")
                             .arg(cssFamily(plain), QString::number(fontSize, 'g', 10),
                                  CarvexPlatform::systemColor(CarvexPlatform::SystemColor::label).name(QColor::HexArgb)) +
                         escapeStrayLessThan(text) + QStringLiteral("</body></html>");
    auto document = std::make_unique<DescriptionDocument>();
    document->setDefaultFont(plain);
    document->setHtml(html);
    normalizeImportedHTML(*document, fontSize);
    return document;
}

void SelfSizingTextView::normalizeImportedHTML(QTextDocument& document, double fontSize) {
    // Trailing line breaks go.
    while (document.characterCount() > 1 && isLineBreak(document.characterAt(document.characterCount() - 2))) {
        QTextCursor cursor(&document);
        cursor.movePosition(QTextCursor::End);
        cursor.deletePreviousChar();
    }
    if (document.isEmpty()) {
        return;
    }

    const QColor label = CarvexPlatform::systemColor(CarvexPlatform::SystemColor::label);
    const QColor link = CarvexPlatform::systemColor(CarvexPlatform::SystemColor::link);
    const QFont plain = DetailFonts::system(fontSize);
    const QFont mono = DetailFonts::monospaced(fontSize);

    // The importer gives few distinct formats to many fragments: each is worked out once, by the
    // index of the format in the document.
    std::vector<QTextCharFormat> formats;
    std::unordered_map<int, std::size_t> formatOf;
    constexpr std::size_t alreadyRight = static_cast<std::size_t>(-1);
    const auto normalised = [&](const QTextFragment& fragment) {
        const auto [known, added] = formatOf.try_emplace(fragment.charFormatIndex(), formats.size());
        if (!added) {
            return known->second;
        }
        const QTextCharFormat old = fragment.charFormat();
        QTextCharFormat format = old;
        format.setForeground(old.isAnchor() ? link : label);
        const bool bold = old.fontWeight() >= QFont::DemiBold;
        const bool italic = old.fontItalic();
        bool monospaced = false;
        if (!bold && !italic) {
            monospaced = old.fontFixedPitch() || old.font().fixedPitch();
            for (const QString& family : old.fontFamilies().toStringList()) {
                monospaced = monospaced || family.contains(QLatin1String("mono"), Qt::CaseInsensitive) ||
                             family.contains(QLatin1String("courier"), Qt::CaseInsensitive);
            }
        }
        QFont font = monospaced ? mono : plain;
        font.setWeight(bold ? QFont::Bold : QFont::Normal);
        font.setItalic(italic);
        format.setFont(font, QTextCharFormat::FontPropertiesAll);
        format.setFontFixedPitch(monospaced);
        // A size in pixels outlives a font given in points, and headings and <small> scale the
        // size by an adjustment of their own.
        format.clearProperty(QTextFormat::FontPixelSize);
        format.clearProperty(QTextFormat::FontSizeAdjustment);
        // Lines through or under the text are no part of the font's choice: links keep theirs.
        format.setUnderlineStyle(old.underlineStyle());
        format.setFontOverline(old.fontOverline());
        format.setFontStrikeOut(old.fontStrikeOut());
        // A format that shows as it is asked to is left as the importer made it.
        // (Colours are compared as painted: the style sheet holds them to eight bits a channel.)
        if (old.foreground().style() == format.foreground().style() &&
            old.foreground().color().rgba() == format.foreground().color().rgba() &&
            old.font().resolve(document.defaultFont()) == format.font().resolve(document.defaultFont())) {
            known->second = alreadyRight;
            return alreadyRight;
        }
        // Formats that come out alike share one number, so their neighbours merge below.
        const auto same = std::find(formats.begin(), formats.end(), format);
        if (same != formats.end()) {
            known->second = static_cast<std::size_t>(same - formats.begin());
        } else {
            formats.push_back(std::move(format));
        }
        return known->second;
    };

    struct Run {
        int position;
        int length;
        std::size_t format;
    };
    std::vector<Run> runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) {
                continue;
            }
            const std::size_t format = normalised(fragment);
            // Neighbours that come out alike are set as one.
            if (!runs.empty() && runs.back().position + runs.back().length == fragment.position() &&
                runs.back().format == format) {
                runs.back().length += fragment.length();
            } else {
                runs.push_back({fragment.position(), fragment.length(), format});
            }
        }
    }
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (const Run& run : runs) {
        if (run.format == alreadyRight) {
            continue;
        }
        cursor.setPosition(run.position);
        cursor.setPosition(run.position + run.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(formats[run.format]);
    }
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        if (format.topMargin() > 4 || format.bottomMargin() > 4) {
            format.setTopMargin(std::min(format.topMargin(), 4.0));
            format.setBottomMargin(std::min(format.bottomMargin(), 4.0));
            cursor.setPosition(block.position());
            cursor.setBlockFormat(format);
        }
    }
    cursor.endEditBlock();
}

bool SelfSizingTextView::openLink(const QString& href) {
    const QUrl url(href, QUrl::StrictMode);
    if (!url.isValid()) {
        return false;
    }
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https") && scheme != QLatin1String("mailto")) {
        return false;
    }
    CarvexPlatform::Workspace::openURL(url);
    return true;
}

bool SelfSizingTextView::wrapAt(int width) {
    if (width <= 0 || lineWrapColumnOrWidth() == width) {
        return false;
    }
    setLineWrapColumnOrWidth(width);
    return true;
}

void SelfSizingTextView::forgetHeights() {
    heights_.clear();
    updateGeometry();
}

int SelfSizingTextView::heightForWidth(int width) const {
    QTextDocument* text = document();
    if (!text || width <= 0) {
        return 0;
    }
    const auto known = std::find_if(heights_.begin(), heights_.end(), [width](const auto& h) { return h.first == width; });
    if (known != heights_.end()) {
        return known->second;
    }
    // The text is laid out at `width` and left so: a layout asks for the height at the width it
    // then gives the view, which shows the text without laying it out again. A view given another
    // width wraps at it when resized or painted.
    const_cast<SelfSizingTextView*>(this)->wrapAt(width);
    const QMargins margins = contentsMargins();
    const int height = static_cast<int>(std::ceil(text->size().height())) + margins.top() + margins.bottom();
    // Layouts ask again and again for a few widths (a scroll area with and without its scroll bar).
    if (heights_.size() == maximumRememberedHeights) {
        heights_.erase(heights_.begin());
    }
    heights_.emplace_back(width, height);
    return height;
}

QSize SelfSizingTextView::sizeHint() const {
    // Layouts take the height for the width they give (`heightForWidth`). The hint is the width and
    // height measured last, so a layout that asks for the height at the hinted width is answered
    // from memory; the text is never laid out only to answer this.
    if (!heights_.empty()) {
        return {heights_.back().first, heights_.back().second};
    }
    return {this->width() > 0 ? this->width() : 200, 0};
}

QSize SelfSizingTextView::minimumSizeHint() const { return {0, 0}; }

void SelfSizingTextView::resizeEvent(QResizeEvent* event) {
    // The text is laid out at the new width when it is painted or clicked: a scroll area tries its
    // widths (with and without its scroll bar) one after another before it settles.
    QTextEdit::resizeEvent(event);
}

void SelfSizingTextView::paintEvent(QPaintEvent* event) {
    if (wrapAt(viewport()->width())) {
        updateGeometry();
    }
    QTextEdit::paintEvent(event);
}

void SelfSizingTextView::changeEvent(QEvent* event) {
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        forgetHeights();
    }
}

void SelfSizingTextView::mousePressEvent(QMouseEvent* event) {
    wrapAt(viewport()->width());
    pressedAnchor_ = event->button() == Qt::LeftButton ? anchorAt(event->position().toPoint()) : QString();
    QTextEdit::mousePressEvent(event);
}

void SelfSizingTextView::mouseMoveEvent(QMouseEvent* event) {
    wrapAt(viewport()->width());
    const QString anchor = anchorAt(event->position().toPoint());
    viewport()->setCursor(anchor.isEmpty() ? Qt::IBeamCursor : Qt::PointingHandCursor);
    QTextEdit::mouseMoveEvent(event);
}

void SelfSizingTextView::mouseReleaseEvent(QMouseEvent* event) {
    // Read before the text control handles the release: it selects the clicked link to show it
    // focused, so a selection afterwards tells nothing about a drag.
    const bool dragged = textCursor().hasSelection();
    const QString pressed = std::exchange(pressedAnchor_, QString());
    QTextEdit::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || pressed.isEmpty() || dragged) {
        return;
    }
    if (anchorAt(event->position().toPoint()) == pressed) {
        openLink(pressed);
    }
}

QVariant SelfSizingTextView::loadResource(int, const QUrl&) { return {}; }

}  // namespace Carvex
