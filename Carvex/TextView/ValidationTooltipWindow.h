#pragma once

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <memory>
#include <optional>

class QLabel;
class QWidget;

namespace CarvexPlatform {
class Timer;
}

namespace Carvex {

// The tooltip of validation findings: one frameless floating window for the process, shown next
// to the pointer 0.3 s after `show` and faded in and out over 0.15 s. It never takes the focus or
// activates. A newer `show` replaces a pending one; `hide` cancels a pending show and fades a
// visible tooltip out. The window is made on the first show and kept (shown, faded and hidden,
// never closed). Timers run on the main scheduler. Main thread only.
class ValidationTooltipWindow {
public:
    // Schedules the tooltip `text` near `point` (coordinates of `view`).
    static void show(const QString& text, QPoint point, QWidget* view);
    // Cancels a pending show and fades out a visible tooltip.
    static void hide();

    // The shared window, or null before the first tooltip is displayed.
    static ValidationTooltipWindow* shared();
    // True while a show waits for its delay.
    static bool hasPendingShow();

    // The window's frame for a tooltip of `size` near the pointer at `screenPoint`: below and to
    // the right of it, kept inside `visibleFrame` (shifted left off the right edge, above the
    // pointer when it would pass the bottom edge).
    static QRect frameFor(QSize size, QPoint screenPoint, const std::optional<QRect>& visibleFrame);
    // The window's size for `text`: the text wrapped at 350 points, plus 8 each side and 6 above
    // and below.
    static QSize sizeFor(const QString& text);

    QWidget* window() const { return window_.get(); }
    QString text() const;
    bool isVisible() const;
    double alpha() const;
    // Like the design's window: it never becomes key or main.
    static constexpr bool canBecomeKeyWindow() { return false; }
    static constexpr bool canBecomeMainWindow() { return false; }

    ~ValidationTooltipWindow();
    ValidationTooltipWindow(const ValidationTooltipWindow&) = delete;
    ValidationTooltipWindow& operator=(const ValidationTooltipWindow&) = delete;

private:
    ValidationTooltipWindow();
    void display(const QString& text, QPoint point, QWidget* view);
    // Moves the opacity to `target` over 0.15 s, then runs `done`; a newer fade replaces it.
    void fadeTo(double target, bool hideWhenDone);

    std::unique_ptr<QWidget> window_;
    QWidget* containerView_ = nullptr;
    QLabel* contentLabel_ = nullptr;
    std::unique_ptr<CarvexPlatform::Timer> fadeTimer_;
};

}  // namespace Carvex
