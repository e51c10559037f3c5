#include "Carvex/Completion/CompletionDetailsView.h"

#include "Carvex/Snippets/SnippetPreview.h"
#include "platform/Appearance.h"
#include "platform/SystemColor.h"

#include <QFontMetrics>
#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QPlainTextEdit>
#include <QTextLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <set>
#include <vector>

namespace Carvex {

using CarvexPlatform::SystemColor;

namespace {

// A label text of at most this many units is laid out whole; beyond it, only this much is read.
constexpr qsizetype maximumLabelLength = 512;

// A colour as a style sheet reads it, alpha included.
QString colorText(const QColor& color) { return color.name(QColor::HexArgb); }

void setTextColor(QWidget* widget, SystemColor color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, CarvexPlatform::systemColor(color));
    palette.setColor(QPalette::Text, CarvexPlatform::systemColor(color));
    widget->setPalette(palette);
}

bool sameItem(const std::optional<CompletionItem>& a, const std::optional<CompletionItem>& b) {
    if (!a || !b) {
        return !a && !b;
    }
    return a->id == b->id;
}

// One stretch of a preview in one format: the layers over it merged in order. Written run by run,
// the document is built in one pass instead of being formatted again range by range.
struct PreviewRun {
    qsizetype start = 0;
    qsizetype length = 0;
    QTextCharFormat format;
};

std::vector<PreviewRun> previewRuns(const SnippetPreview& preview) {
    const qsizetype size = preview.text.size();
    struct Edge {
        qsizetype at;
        bool opens;
        int layer;
    };
    std::vector<Edge> edges;
    edges.reserve(static_cast<std::size_t>(preview.formats.size()) * 2);
    for (int layer = 0; layer < preview.formats.size(); ++layer) {
        const QTextLayout::FormatRange& range = preview.formats[layer];
        if (range.start < 0 || range.length <= 0 || range.start + range.length > size) {
            continue;
        }
        edges.push_back({range.start, true, layer});
        edges.push_back({range.start + range.length, false, layer});
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.at < b.at; });
    std::vector<PreviewRun> runs;
    std::set<int> open;
    qsizetype at = 0;
    std::size_t next = 0;
    while (at < size) {
        while (next < edges.size() && edges[next].at <= at) {
            if (edges[next].opens) {
                open.insert(edges[next].layer);
            } else {
                open.erase(edges[next].layer);
            }
            ++next;
        }
        const qsizetype end = next < edges.size() ? std::min(edges[next].at, size) : size;
        PreviewRun run{at, end - at, QTextCharFormat()};
        for (const int layer : open) {
            run.format.merge(preview.formats[layer].format);
        }
        runs.push_back(std::move(run));
        at = end;
    }
    return runs;
}

}  // namespace

CompletionDetailsView::CompletionDetailsView(QWidget* parent, std::shared_ptr<CarvexPlatform::MainScheduler> scheduler)
    : QWidget(parent), scheduler_(scheduler), fade_(std::move(scheduler)) {
    setFocusPolicy(Qt::NoFocus);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    container_ = new QFrame(this);
    container_->setObjectName(QStringLiteral("completionDetailsContainer"));
    container_->setFocusPolicy(Qt::NoFocus);
    outer->addWidget(container_);

    titleLabel_ = new QLabel(container_);
    titleLabel_->setFont(titleFont());
    titleLabel_->setTextFormat(Qt::PlainText);
    titleLabel_->setWordWrap(false);
    descriptionLabel_ = new QLabel(container_);
    descriptionLabel_->setFont(descriptionFont());
    descriptionLabel_->setTextFormat(Qt::PlainText);
    descriptionLabel_->setWordWrap(true);
    descriptionLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    previewTextView_ = new QPlainTextEdit(container_);
    previewTextView_->setReadOnly(true);
    previewTextView_->setTextInteractionFlags(Qt::NoTextInteraction);
    previewTextView_->setFocusPolicy(Qt::NoFocus);
    previewTextView_->setFrameShape(QFrame::NoFrame);
    previewTextView_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    previewTextView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    previewTextView_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    previewTextView_->setFont(snippetPreviewFont());
    previewTextView_->document()->setDocumentMargin(4);
    // Nobody edits the preview: recording its formatting for undo would only cost time.
    previewTextView_->document()->setUndoRedoEnabled(false);
    previewTextView_->viewport()->setAutoFillBackground(false);
    previewTextView_->setAttribute(Qt::WA_TranslucentBackground);
    previewTextView_->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    previewTextView_->hide();

    auto* layout = new QVBoxLayout(container_);
    // The border stands inside the padding beside the text, so that the description is as wide as
    // the lines it is fitted to (`contentWidth`) and no line wraps again.
    layout->setContentsMargins(horizontalPadding - borderWidth, verticalPadding, horizontalPadding - borderWidth,
                               verticalPadding);
    layout->setSpacing(2);
    layout->addWidget(titleLabel_);
    layout->addWidget(descriptionLabel_, 1);
    layout->addWidget(previewTextView_, 1);

    opacity_ = new QGraphicsOpacityEffect(container_);
    opacity_->setOpacity(1.0);
    opacity_->setEnabled(false);
    container_->setGraphicsEffect(opacity_);

    applyColors();
    connect(&CarvexPlatform::Appearance::shared(), &CarvexPlatform::Appearance::changed, this, [this](bool) {
        applyColors();
        // The preview's colours belong to the appearance it was built for.
        if (currentItem_ && previewTextView_->isVisibleTo(this)) {
            showPreview(*currentItem_);
        }
    });
}

CompletionDetailsView::~CompletionDetailsView() { fade_.stop(); }

QFont CompletionDetailsView::titleFont() {
    QFont font;
    font.setPointSizeF(11);
    font.setWeight(QFont::DemiBold);
    return font;
}

QFont CompletionDetailsView::descriptionFont() {
    QFont font;
    font.setPointSizeF(11);
    font.setWeight(QFont::Normal);
    return font;
}

QWidget* CompletionDetailsView::containerView() const { return container_; }

bool CompletionDetailsView::isPreviewShown() const { return previewTextView_->isVisibleTo(container_); }

double CompletionDetailsView::contentOpacity() const { return opacity_->isEnabled() ? opacity_->opacity() : 1.0; }

void CompletionDetailsView::setOpacity(double opacity) {
    opacity_->setOpacity(opacity);
    // The effect draws the content through an image: only while a fade runs.
    opacity_->setEnabled(opacity < 1.0);
}

void CompletionDetailsView::update(const std::optional<CompletionItem>& item, bool animated) {
    // The item last asked for is the one shown, or the one a running fade is about to show.
    if (sameItem(item, requestedItem_)) {
        return;
    }
    const TimePoint now = scheduler_->now();
    const bool fades = animated && (!lastUpdateTime_ || now - *lastUpdateTime_ > rapidChangeThreshold);
    lastUpdateTime_ = now;
    requestedItem_ = item;
    if (!fades) {
        if (fade_.isRunning()) {
            // The content shown now is what the fade would have shown; it ends fully visible.
            fade_.stop();
            setOpacity(1.0);
        }
        apply(item);
        return;
    }
    fadeOut();
}

void CompletionDetailsView::fadeOut() {
    const double from = contentOpacity();
    fade_.start(
        std::chrono::duration_cast<Duration>(fadeDuration * from),
        [this, from](double progress) { setOpacity(from * (1.0 - progress)); },
        [this] {
            apply(requestedItem_);
            fade_.start(
                fadeDuration, [this](double progress) { setOpacity(progress); }, [this] { setOpacity(1.0); });
        });
}

void CompletionDetailsView::apply(const std::optional<CompletionItem>& item) {
    currentItem_ = item;
    if (!item) {
        titleLabel_->clear();
        descriptionLabel_->clear();
        descriptionLabel_->show();
        previewTextView_->hide();
        previewTextView_->clear();
        return;
    }
    setTextColor(titleLabel_, SystemColor::label);
    titleLabel_->setText(fittedText(item->label, titleLabel_->font(), contentWidth, 1));
    titleLabel_->setToolTip(QString());
    if (item->kind == CompletionItemKind::snippet && item->snippetMetadata) {
        showPreview(*item);
    } else {
        showDescription(*item);
    }
}

void CompletionDetailsView::showPreview(const CompletionItem& item) {
    descriptionLabel_->hide();
    previewTextView_->show();
    const bool isDark = CarvexPlatform::Appearance::shared().isDark();
    const SnippetPreview preview = makeSnippetPreview(previewedTemplate(item.snippetMetadata->templateContent), isDark);
    QTextDocument* document = previewTextView_->document();
    document->clear();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (const PreviewRun& run : previewRuns(preview)) {
        cursor.insertText(preview.text.mid(run.start, run.length), run.format);
    }
    cursor.endEditBlock();
    previewTextView_->moveCursor(QTextCursor::Start);
    if (onHeightChanged) {
        onHeightChanged(snippetPreviewHeight);
    }
}

void CompletionDetailsView::showDescription(const CompletionItem& item) {
    previewTextView_->hide();
    previewTextView_->clear();
    descriptionLabel_->show();
    descriptionIsPlaceholder_ = !item.description || item.description->isEmpty();
    setTextColor(descriptionLabel_, descriptionIsPlaceholder_ ? SystemColor::tertiaryLabel : SystemColor::secondaryLabel);
    descriptionLabel_->setText(descriptionIsPlaceholder_
                                   ? noDescriptionText
                                   : fittedText(*item.description, descriptionLabel_->font(), contentWidth,
                                                descriptionLinesThatFit()));
    if (onHeightChanged) {
        onHeightChanged(descriptionHeight);
    }
}

void CompletionDetailsView::applyColors() {
    const QColor background = CarvexPlatform::systemColor(SystemColor::windowBackground);
    const QColor border = CarvexPlatform::systemColor(SystemColor::separator);
    container_->setStyleSheet(QStringLiteral("QFrame#completionDetailsContainer { background-color: %1; "
                                             "border: %3px solid %2; border-radius: %4px; }")
                                  .arg(colorText(background), colorText(border))
                                  .arg(borderWidth)
                                  .arg(cornerRadius));
    if (currentItem_) {
        setTextColor(titleLabel_, SystemColor::label);
        setTextColor(descriptionLabel_,
                     descriptionIsPlaceholder_ ? SystemColor::tertiaryLabel : SystemColor::secondaryLabel);
    }
}

int CompletionDetailsView::descriptionLinesThatFit() {
    // The pane is `descriptionHeight` tall: its border and padding, the title, the spacing, then
    // the description. A line that would not fit whole is not shown, so none is cut through.
    const int spacing = 2;
    const int room =
        descriptionHeight - 2 * (verticalPadding + borderWidth) - QFontMetrics(titleFont()).height() - spacing;
    return std::clamp(room / std::max(1, QFontMetrics(descriptionFont()).lineSpacing()), 1, maximumDescriptionLines);
}

QString CompletionDetailsView::fittedText(const QString& text, const QFont& font, int width, int maximumLines) {
    if (maximumLines <= 0 || width <= 0) {
        return QString();
    }
    // Even the narrowest characters fill the lines long before this much text.
    const qsizetype readable = std::max<qsizetype>(maximumLabelLength, qsizetype(maximumLines) * 400);
    const bool cut = text.size() > readable;
    QString head = cut ? text.left(readable) : text;
    if (head.size() > 0 && head.back().isHighSurrogate()) {
        head.chop(1);
    }
    head.replace(u'\t', u' ');
    head.replace(u'\r', u' ');
    head.replace(u'\n', QChar::LineSeparator);
    const QFontMetrics metrics(font);
    QTextLayout layout(head, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    bool leftOver = cut;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) {
            break;
        }
        line.setLineWidth(width);
        if (lines.size() == maximumLines) {
            leftOver = true;
            break;
        }
        lines.append(head.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    for (QString& line : lines) {
        while (!line.isEmpty() && line.back() == QChar::LineSeparator) {
            line.chop(1);
        }
    }
    if (leftOver && !lines.isEmpty()) {
        const QString ellipsis(QChar(0x2026));
        QString& last = lines.last();
        last = metrics.elidedText(last + ellipsis, Qt::ElideRight, width);
        if (!last.endsWith(ellipsis)) {
            last = metrics.elidedText(last, Qt::ElideRight, width - metrics.horizontalAdvance(ellipsis)) + ellipsis;
        }
    }
    return lines.join(u'\n');
}

QString CompletionDetailsView::previewedTemplate(const QString& templateContent) {
    qsizetype end = std::min(templateContent.size(), maximumPreviewLength);
    qsizetype lines = 0;
    for (qsizetype index = 0; index < end; ++index) {
        if (templateContent[index] == u'\n' && ++lines == maximumPreviewLines) {
            end = index;
            break;
        }
    }
    if (end == templateContent.size()) {
        return templateContent;
    }
    if (end > 0 && templateContent[end - 1].isHighSurrogate()) {
        --end;
    }
    return templateContent.left(end) + QStringLiteral("\n") + QChar(0x2026);
}

}  // namespace Carvex
