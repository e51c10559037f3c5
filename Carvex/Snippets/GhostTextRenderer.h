#pragma once

#include "Carvex/TextView/EditorTextOverlay.h"
#include "platform/MainScheduler.h"
#include "platform/WorkItem.h"

#include <QMetaObject>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace Carvex {

class EditorTextView;
class SyntaxThemePreferencesStore;

// Draws the inline snippet suggestion as ghost text: the snippet's lines, fields shown as their
// default texts, in the theme's ghost colour on a rounded, shadowed panel, with a "(Tab)" hint after
// the first line drawn. The preview starts at the caret rectangle of its insertion point (after the
// last character at the end of the text) and is a display layer of the view, so it follows
// scrolling and resizing and never touches the text, its formats, the undo history or the modified
// flag. Fades take 0.15 s on the view's main scheduler. While a preview of two or more lines shows,
// the view's scroll range reaches that many lines further down, so a preview near the end of the
// text can be scrolled into view; a new preview is scrolled into view as far as its caret's line
// stays on screen.
//
// One per snippet suggestion controller, holding its view weakly; every operation does nothing
// without it. Main thread only.
class GhostTextRenderer : public EditorTextOverlay {
public:
    static constexpr CarvexPlatform::MainScheduler::Duration fadeDuration{150};
    // Margins of the panel around the lines: left, top and bottom; the right one is wider.
    static constexpr qreal panelMargin = 6;
    static constexpr qreal panelRightMargin = 14;
    static constexpr qreal hintGap = 8;
    static inline const QString hintText = QStringLiteral("(Tab)");

    explicit GhostTextRenderer(EditorTextView* textView, const SyntaxThemePreferencesStore* themeStore = nullptr);
    ~GhostTextRenderer() override;
    GhostTextRenderer(const GhostTextRenderer&) = delete;
    GhostTextRenderer& operator=(const GhostTextRenderer&) = delete;

    // Shows `text` (fields written `${n:default}` are drawn as their defaults) from `insertionPoint`
    // on; later lines lose `baseIndent` at their start and are drawn at the caret's x. A preview on
    // screen fades out and the new one fades in.
    void show(const QString& text, qsizetype insertionPoint, const QString& baseIndent);
    // Removes the preview, fading it out when `animated`. The text and point are forgotten at once.
    void hide(bool animated);
    // Shortens the preview by `typed` when the ghost text begins with it and something is left
    // (drawn again that many units further on, without a fade); otherwise fades it out.
    void trim(const QString& typed);

    // Whether a preview with at least one drawn line is up (a fading one does not count).
    bool isShown() const { return shown_ && std::any_of(shown_->lines.begin(), shown_->lines.end(), nonEmpty); }
    // The text last shown or trimmed, fields still written out; none once hidden.
    const std::optional<QString>& currentGhostText() const { return currentGhostText_; }
    const std::optional<qsizetype>& currentInsertionPoint() const { return currentInsertionPoint_; }
    const QString& currentBaseIndent() const { return currentBaseIndent_; }
    // The lines as drawn (the base indentation removed from later ones, empty ones kept).
    QStringList ghostLines() const { return shown_ ? shown_->lines : QStringList(); }
    // Lines added to the bottom of the scroll range; 0 when none.
    int addedBottomPadding() const { return paddingLines_; }
    // Previews still fading out.
    int fadingCount() const { return static_cast<int>(fading_.size()); }
    // The shown preview's opacity now (0 to 1), 0 when none is shown.
    qreal opacity() const;

    // Where the shown preview stands on screen (viewport coordinates): the caret rectangle of its
    // point, the drawn lines, the panel and the hint. None when nothing is shown or its point is
    // not on or just above the screen.
    struct Geometry {
        QRectF anchor;
        std::vector<QRectF> lines;  // the drawn (non-empty) lines, in order
        QRectF panel;
        QRectF hint;
    };
    std::optional<Geometry> geometry() const;

    // Replaces every `${n:default}` field (an empty default allowed) by its default text.
    static QString displayText(QStringView text);

    void paintOverlay(EditorTextView& view, QPainter& painter, const QRect& rect) override;

private:
    struct Preview {
        QStringList lines;
        qsizetype insertionPoint = 0;
        CarvexPlatform::MainScheduler::Clock::time_point fadeStart;
        bool fadesIn = false;
        std::uint64_t serial = 0;
    };
    static bool nonEmpty(const QString& line) { return !line.isEmpty(); }

    void showNow(const QString& text, qsizetype insertionPoint, const QString& baseIndent, bool fadeIn);
    // Makes `text` the shown preview (nothing else changes).
    void place(const QString& text, qsizetype insertionPoint, const QString& baseIndent, bool fadeIn);
    void removeAll();
    void finishFade(std::uint64_t serial);
    std::optional<Geometry> geometryOf(const EditorTextView& view, const Preview& preview) const;
    qreal opacityOf(const Preview& preview, bool fadingOut) const;
    void paintPreview(EditorTextView& view, QPainter& painter, const Preview& preview, qreal opacity) const;
    void animate();
    void repaint();
    void addBottomPadding(int lineCount);
    // Scrolls a new preview's panel onto the screen as far as the caret's line allows.
    void revealPanel();
    void restoreBottomInset();
    void scrollRangeChanged(int minimum, int maximum);
    CarvexPlatform::MainScheduler::Clock::time_point now() const;

    QPointer<EditorTextView> textView_;
    const SyntaxThemePreferencesStore* themeStore_ = nullptr;
    std::optional<QString> currentGhostText_;
    std::optional<qsizetype> currentInsertionPoint_;
    QString currentBaseIndent_;
    std::optional<Preview> shown_;
    std::vector<Preview> fading_;
    std::uint64_t nextSerial_ = 1;
    std::vector<CarvexPlatform::WorkItem> fadeEnds_;
    CarvexPlatform::WorkItem tick_;
    int paddingLines_ = 0;
    int naturalMaximum_ = 0;
    bool settingRange_ = false;
    QMetaObject::Connection rangeConnection_;
};

}  // namespace Carvex
