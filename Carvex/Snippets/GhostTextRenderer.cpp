#include "Carvex/Snippets/GhostTextRenderer.h"

#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Snippets/PlaceholderImageGenerator.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "platform/SystemColor.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>
#include <limits>

namespace Carvex {

namespace {

using Clock = CarvexPlatform::MainScheduler::Clock;

constexpr CarvexPlatform::MainScheduler::Duration frameInterval{16};
constexpr qreal cornerRadius = 6;

// The hint's font: the system font at 10 points.
QFont hintFont() {
    QFont font = QApplication::font();
    font.setPointSizeF(10);
    return font;
}

// The caret rectangle of `position` in viewport coordinates, when its line is on screen or at most
// `linesAbove` lines above it.
std::optional<QRectF> caretRect(const EditorTextView& view, qsizetype position, int linesAbove) {
    const QTextDocument* document = view.document();
    position = std::clamp<qsizetype>(position, 0, view.textLength());
    const QTextBlock block = document->findBlock(static_cast<int>(position));
    if (!block.isValid()) {
        return std::nullopt;
    }
    std::optional<QRectF> blockRect;
    const std::vector<EditorTextView::VisibleBlock> visible = view.visibleBlocks();
    if (visible.empty()) {
        return std::nullopt;
    }
    const int first = visible.front().block.blockNumber();
    if (block.blockNumber() < first) {
        if (first - block.blockNumber() > linesAbove) {
            return std::nullopt;
        }
        blockRect = view.blockGeometry(block);
    } else {
        const auto found = std::find_if(visible.begin(), visible.end(), [&](const EditorTextView::VisibleBlock& item) {
            return item.block.blockNumber() == block.blockNumber();
        });
        if (found == visible.end()) {
            return std::nullopt;
        }
        blockRect = found->geometry;
    }
    const QTextLayout* layout = block.layout();
    if (layout == nullptr || layout->lineCount() == 0) {
        return std::nullopt;
    }
    const int column = static_cast<int>(position - block.position());
    QTextLine line = layout->lineForTextPosition(column);
    if (!line.isValid()) {
        line = layout->lineAt(layout->lineCount() - 1);
    }
    const QPointF origin = blockRect->topLeft() + layout->position();
    return QRectF(origin.x() + line.cursorToX(column), origin.y() + line.y(), 1, line.height());
}

}  // namespace

GhostTextRenderer::GhostTextRenderer(EditorTextView* textView, const SyntaxThemePreferencesStore* themeStore)
    : textView_(textView), themeStore_(themeStore) {
    if (textView != nullptr) {
        textView->addOverlay(this);
        rangeConnection_ = QObject::connect(textView->verticalScrollBar(), &QScrollBar::rangeChanged, textView,
                                            [this](int minimum, int maximum) { scrollRangeChanged(minimum, maximum); });
    }
}

GhostTextRenderer::~GhostTextRenderer() {
    QObject::disconnect(rangeConnection_);
    for (const CarvexPlatform::WorkItem& item : fadeEnds_) {
        item.cancel();
    }
    tick_.cancel();
    if (EditorTextView* view = textView_.data()) {
        restoreBottomInset();
        view->removeOverlay(this);
        view->viewport()->update();
    }
}

Clock::time_point GhostTextRenderer::now() const {
    const EditorTextView* view = textView_.data();
    return view != nullptr ? view->scheduler()->now() : Clock::now();
}

QString GhostTextRenderer::displayText(QStringView text) {
    QString out;
    out.reserve(text.size());
    qsizetype copied = 0;
    qsizetype at = 0;
    qsizetype brace = -1;  // the first "}" at or after the last search start, when known
    while (true) {
        const qsizetype open = text.indexOf(u"${", at);
        if (open < 0) {
            break;
        }
        qsizetype digitsEnd = open + 2;
        while (digitsEnd < text.size() && text[digitsEnd].isDigit()) {
            ++digitsEnd;
        }
        if (digitsEnd == open + 2 || digitsEnd >= text.size() || text[digitsEnd] != u':') {
            at = open + 2;
            continue;
        }
        if (brace <= digitsEnd) {
            brace = text.indexOf(u'}', digitsEnd + 1);
        }
        if (brace < 0) {
            break;  // no field can close any more
        }
        out.append(text.mid(copied, open - copied));
        out.append(text.mid(digitsEnd + 1, brace - digitsEnd - 1));
        copied = brace + 1;
        at = brace + 1;
    }
    out.append(text.mid(copied));
    return out;
}

// MARK: Showing, hiding, trimming

void GhostTextRenderer::show(const QString& text, qsizetype insertionPoint, const QString& baseIndent) {
    showNow(text, insertionPoint, baseIndent, true);
}

void GhostTextRenderer::showNow(const QString& text, qsizetype insertionPoint, const QString& baseIndent,
                                bool fadeIn) {
    hide(true);
    if (textView_.isNull()) {
        return;
    }
    place(text, insertionPoint, baseIndent, fadeIn);
    if (isShown()) {
        addBottomPadding(static_cast<int>(shown_->lines.size()));
        if (fadeIn) {
            revealPanel();
        }
        animate();
    }
    repaint();
}

void GhostTextRenderer::place(const QString& text, qsizetype insertionPoint, const QString& baseIndent, bool fadeIn) {
    currentGhostText_ = text;
    currentInsertionPoint_ = insertionPoint;
    currentBaseIndent_ = baseIndent;
    Preview preview;
    preview.lines = displayText(text).split(u'\n');
    for (qsizetype i = 1; i < preview.lines.size(); ++i) {
        if (!baseIndent.isEmpty() && preview.lines[i].startsWith(baseIndent)) {
            preview.lines[i].remove(0, baseIndent.size());
        }
    }
    preview.insertionPoint = insertionPoint;
    preview.fadeStart = now();
    preview.fadesIn = fadeIn;
    preview.serial = nextSerial_++;
    shown_ = std::move(preview);
}

void GhostTextRenderer::revealPanel() {
    EditorTextView* view = textView_.data();
    const std::optional<Geometry> shown = geometry();
    if (view == nullptr || !shown || shown->anchor.height() <= 0) {
        return;
    }
    // Down by whole lines until the panel's bottom is on screen, never so far that the caret's
    // line leaves it.
    const qreal overflow = shown->panel.bottom() - view->viewport()->height();
    if (overflow <= 0) {
        return;
    }
    const qreal lineHeight = shown->anchor.height();
    const int wanted = static_cast<int>(std::ceil(overflow / lineHeight));
    const int room = static_cast<int>(std::floor(shown->anchor.top() / lineHeight));
    const int lines = std::min(wanted, room);
    if (lines > 0) {
        QScrollBar* bar = view->verticalScrollBar();
        bar->setValue(bar->value() + lines);
    }
}

void GhostTextRenderer::hide(bool animated) {
    if (!animated || !isShown()) {
        removeAll();
        return;
    }
    Preview leaving = std::move(*shown_);
    shown_.reset();
    currentGhostText_.reset();
    currentInsertionPoint_.reset();
    // A preview still fading in leaves from the opacity it had reached.
    const qreal reached = opacityOf(leaving, false);
    leaving.fadeStart = now() - std::chrono::duration_cast<Clock::duration>((1.0 - reached) * fadeDuration);
    leaving.fadesIn = false;
    const std::uint64_t serial = leaving.serial;
    fading_.push_back(std::move(leaving));
    if (EditorTextView* view = textView_.data()) {
        fadeEnds_.push_back(view->scheduler()->schedule(fadeDuration, [this, serial] { finishFade(serial); }));
    }
    animate();
    repaint();
}

void GhostTextRenderer::finishFade(std::uint64_t serial) {
    fading_.erase(std::remove_if(fading_.begin(), fading_.end(),
                                 [serial](const Preview& preview) { return preview.serial == serial; }),
                  fading_.end());
    fadeEnds_.erase(std::remove_if(fadeEnds_.begin(), fadeEnds_.end(),
                                   [](const CarvexPlatform::WorkItem& item) { return !item.isPending(); }),
                    fadeEnds_.end());
    // A preview shown meanwhile keeps the padding it set.
    if (!(isShown() && shown_->lines.size() >= 2) && fading_.empty()) {
        restoreBottomInset();
    }
    repaint();
}

void GhostTextRenderer::removeAll() {
    const bool hadSomething = shown_.has_value() || !fading_.empty();
    shown_.reset();
    fading_.clear();
    for (const CarvexPlatform::WorkItem& item : fadeEnds_) {
        item.cancel();
    }
    fadeEnds_.clear();
    currentGhostText_.reset();
    currentInsertionPoint_.reset();
    restoreBottomInset();
    if (hadSomething) {
        repaint();
    }
}

void GhostTextRenderer::trim(const QString& typed) {
    if (!currentGhostText_ || !currentInsertionPoint_ || !currentGhostText_->startsWith(typed)) {
        hide(true);
        return;
    }
    const QString rest = currentGhostText_->mid(typed.size());
    if (rest.isEmpty()) {
        hide(true);
        return;
    }
    // The shortened preview takes the place of the old one at once, without a fade, and keeps
    // the padding while it has lines enough (the range would jump back and forth otherwise).
    const qsizetype point = *currentInsertionPoint_ + typed.size();
    place(rest, point, currentBaseIndent_, false);
    if (!isShown()) {
        removeAll();
        return;
    }
    if (shown_->lines.size() >= 2) {
        addBottomPadding(static_cast<int>(shown_->lines.size()));
    } else if (fading_.empty()) {
        restoreBottomInset();
    }
    repaint();
}

// MARK: Fades

qreal GhostTextRenderer::opacityOf(const Preview& preview, bool fadingOut) const {
    if (!fadingOut && !preview.fadesIn) {
        return 1.0;
    }
    const auto elapsed = std::chrono::duration<double, std::milli>(now() - preview.fadeStart).count();
    const qreal progress = std::clamp(elapsed / static_cast<double>(fadeDuration.count()), 0.0, 1.0);
    return fadingOut ? 1.0 - progress : progress;
}

qreal GhostTextRenderer::opacity() const { return isShown() ? opacityOf(*shown_, false) : 0.0; }

void GhostTextRenderer::animate() {
    EditorTextView* view = textView_.data();
    if (view == nullptr || tick_.isPending()) {
        return;
    }
    const bool fadingIn = isShown() && shown_->fadesIn && opacityOf(*shown_, false) < 1.0;
    if (!fadingIn && fading_.empty()) {
        return;
    }
    tick_ = view->scheduler()->schedule(frameInterval, [this] {
        repaint();
        animate();
    });
}

void GhostTextRenderer::repaint() {
    if (EditorTextView* view = textView_.data()) {
        view->viewport()->update();
    }
}

// MARK: Bottom padding

void GhostTextRenderer::addBottomPadding(int lineCount) {
    EditorTextView* view = textView_.data();
    if (view == nullptr || lineCount < 2) {
        return;
    }
    QScrollBar* bar = view->verticalScrollBar();
    if (paddingLines_ == 0) {
        naturalMaximum_ = bar->maximum();
    }
    paddingLines_ = lineCount;
    settingRange_ = true;
    bar->setMaximum(naturalMaximum_ + paddingLines_);
    settingRange_ = false;
}

void GhostTextRenderer::restoreBottomInset() {
    EditorTextView* view = textView_.data();
    if (paddingLines_ == 0) {
        return;
    }
    paddingLines_ = 0;
    if (view != nullptr) {
        settingRange_ = true;
        view->verticalScrollBar()->setMaximum(naturalMaximum_);
        settingRange_ = false;
    }
}

void GhostTextRenderer::scrollRangeChanged(int, int maximum) {
    if (settingRange_) {
        return;
    }
    // The view laid out its range anew: the padding goes on top of it again.
    naturalMaximum_ = maximum;
    if (paddingLines_ > 0 && !textView_.isNull()) {
        settingRange_ = true;
        textView_->verticalScrollBar()->setMaximum(naturalMaximum_ + paddingLines_);
        settingRange_ = false;
    }
}

// MARK: Geometry and painting

std::optional<GhostTextRenderer::Geometry> GhostTextRenderer::geometryOf(const EditorTextView& view,
                                                                         const Preview& preview) const {
    const int lineCount = static_cast<int>(preview.lines.size());
    const std::optional<QRectF> anchor = caretRect(view, preview.insertionPoint, lineCount);
    if (!anchor) {
        return std::nullopt;
    }
    Geometry geometry;
    geometry.anchor = *anchor;
    const QFontMetricsF metrics(view.font());
    const qreal x = anchor->left();
    const qreal lineHeight = anchor->height();
    qreal top = std::numeric_limits<qreal>::max();
    qreal bottom = 0;
    qreal right = 0;
    for (int i = 0; i < lineCount; ++i) {
        const QString& line = preview.lines[i];
        if (line.isEmpty()) {
            continue;
        }
        const QRectF rect(x, anchor->top() + i * lineHeight, std::ceil(metrics.horizontalAdvance(line)) + 4,
                          std::ceil(metrics.height()));
        geometry.lines.push_back(rect);
        top = std::min(top, rect.top());
        bottom = std::max(bottom, rect.bottom());
        right = std::max(right, rect.right());
    }
    if (geometry.lines.empty()) {
        return std::nullopt;
    }
    const QFontMetricsF hintMetrics(hintFont());
    const QRectF& first = geometry.lines.front();
    geometry.hint = QRectF(first.right() + hintGap, first.top() + 2, std::ceil(hintMetrics.horizontalAdvance(hintText)) + 2,
                           std::ceil(hintMetrics.height()));
    right = std::max(right, geometry.hint.right());
    geometry.panel = QRectF(x - panelMargin, top - panelMargin, right - x + panelMargin + panelRightMargin,
                            bottom - top + 2 * panelMargin);
    return geometry;
}

std::optional<GhostTextRenderer::Geometry> GhostTextRenderer::geometry() const {
    const EditorTextView* view = textView_.data();
    if (view == nullptr || !isShown()) {
        return std::nullopt;
    }
    return geometryOf(*view, *shown_);
}

void GhostTextRenderer::paintPreview(EditorTextView& view, QPainter& painter, const Preview& preview,
                                     qreal opacity) const {
    const std::optional<Geometry> geometry = geometryOf(view, preview);
    if (!geometry || opacity <= 0) {
        return;
    }
    const bool isDark = PlaceholderImageGenerator::isDarkAppearance();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setOpacity(opacity);

    // The shadow: black, two down, blurred over about four.
    const qreal shadowOpacity = isDark ? 0.4 : 0.15;
    painter.setPen(Qt::NoPen);
    for (int spread = 4; spread >= 1; --spread) {
        QColor shadow(Qt::black);
        shadow.setAlphaF(static_cast<float>(shadowOpacity / 4));
        painter.setBrush(shadow);
        painter.drawRoundedRect(geometry->panel.translated(0, 2).adjusted(-spread, -spread, spread, spread),
                                cornerRadius + spread, cornerRadius + spread);
    }
    QColor background = isDark ? QColor::fromRgbF(0.15f, 0.15f, 0.15f, 0.85f) : QColor::fromRgbF(0.95f, 0.95f, 0.95f, 0.9f);
    QColor border = isDark ? QColor::fromRgbF(1, 1, 1, 0.15f) : QColor::fromRgbF(0, 0, 0, 0.1f);
    painter.setBrush(background);
    painter.setPen(QPen(border, 1.0));
    painter.drawRoundedRect(geometry->panel.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);

    const SyntaxThemePreferencesStore& store =
        themeStore_ != nullptr ? *themeStore_ : SyntaxThemePreferencesStore::shared();
    painter.setPen(store.ghostTextColor(isDark));
    painter.setFont(view.font());
    const qreal ascent = QFontMetricsF(view.font()).ascent();
    std::size_t drawn = 0;
    for (const QString& line : preview.lines) {
        if (line.isEmpty()) {
            continue;
        }
        const QRectF& rect = geometry->lines[drawn++];
        painter.drawText(QPointF(rect.left(), rect.top() + ascent), line);
    }
    const QFont font = hintFont();
    painter.setFont(font);
    painter.setPen(CarvexPlatform::systemColor(CarvexPlatform::SystemColor::tertiaryLabel, isDark));
    painter.drawText(QPointF(geometry->hint.left(), geometry->hint.top() + QFontMetricsF(font).ascent()), hintText);
    painter.restore();
}

void GhostTextRenderer::paintOverlay(EditorTextView& view, QPainter& painter, const QRect&) {
    for (const Preview& preview : fading_) {
        paintPreview(view, painter, preview, opacityOf(preview, true));
    }
    if (isShown()) {
        paintPreview(view, painter, *shown_, opacityOf(*shown_, false));
    }
}

}  // namespace Carvex
