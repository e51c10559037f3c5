#include "Carvex/TextView/ValidationTooltipWindow.h"

#include "platform/SystemColor.h"
#include "platform/Timer.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <climits>

namespace Carvex {

namespace {

constexpr auto showDelay = std::chrono::milliseconds(300);
constexpr int fadeSteps = 10;
constexpr auto fadeStep = std::chrono::milliseconds(15);  // ten steps: 0.15 s
constexpr int maximumTextWidth = 350;
constexpr int horizontalInset = 8;
constexpr int verticalInset = 6;

QFont tooltipFont() {
    QFont font = QApplication::font();
    font.setPointSizeF(11);
    return font;
}

QSize fittingSize(const QString& text) {
    const QFontMetrics metrics(tooltipFont());
    const QRect bounds = metrics.boundingRect(QRect(0, 0, maximumTextWidth, INT_MAX / 4),
                                              Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
    return QSize(std::min(bounds.width(), maximumTextWidth), bounds.height());
}

// The rounded box behind the text: the window background with a thin separator-coloured border.
class TooltipContainer : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()).adjusted(0.25, 0.25, -0.25, -0.25), 6, 6);
        painter.fillPath(path, CarvexPlatform::systemColor(CarvexPlatform::SystemColor::windowBackground));
        painter.setPen(QPen(CarvexPlatform::systemColor(CarvexPlatform::SystemColor::separator), 0.5));
        painter.drawPath(path);
    }
};

struct SharedState {
    ValidationTooltipWindow* window = nullptr;
    std::unique_ptr<CarvexPlatform::Timer> pending;
};

SharedState& state() {
    static SharedState* const shared = new SharedState;  // kept for the process
    return *shared;
}

}  // namespace

ValidationTooltipWindow::ValidationTooltipWindow() {
    window_ = std::make_unique<QWidget>(nullptr, Qt::ToolTip | Qt::FramelessWindowHint |
                                                     Qt::WindowDoesNotAcceptFocus |
                                                     Qt::WindowStaysOnTopHint);
    window_->setObjectName(QStringLiteral("ValidationTooltipWindow"));
    window_->setAttribute(Qt::WA_ShowWithoutActivating);
    window_->setAttribute(Qt::WA_TranslucentBackground);
    window_->setFocusPolicy(Qt::NoFocus);
    window_->resize(100, 30);

    containerView_ = new TooltipContainer(window_.get());
    contentLabel_ = new QLabel(containerView_);
    contentLabel_->setTextFormat(Qt::PlainText);
    contentLabel_->setWordWrap(true);
    contentLabel_->setFont(tooltipFont());
    contentLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    contentLabel_->setTextInteractionFlags(Qt::NoTextInteraction);
    contentLabel_->setFocusPolicy(Qt::NoFocus);
    QPalette palette = contentLabel_->palette();
    palette.setColor(QPalette::WindowText, CarvexPlatform::systemColor(CarvexPlatform::SystemColor::label));
    contentLabel_->setPalette(palette);
}

ValidationTooltipWindow::~ValidationTooltipWindow() = default;

ValidationTooltipWindow* ValidationTooltipWindow::shared() { return state().window; }

bool ValidationTooltipWindow::hasPendingShow() {
    return state().pending && state().pending->isActive();
}

void ValidationTooltipWindow::show(const QString& text, QPoint point, QWidget* view) {
    SharedState& shared = state();
    shared.pending = std::make_unique<CarvexPlatform::Timer>();
    QPointer<QWidget> target(view);
    shared.pending->start(showDelay, false, [text, point, target] {
        SharedState& s = state();
        if (s.window == nullptr) {
            s.window = new ValidationTooltipWindow;  // kept for the process
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] {
                delete state().window;
                state().window = nullptr;
            });
        }
        s.window->display(text, point, target);
    });
}

void ValidationTooltipWindow::hide() {
    SharedState& shared = state();
    if (shared.pending) {
        shared.pending->stop();
    }
    if (shared.window != nullptr && shared.window->isVisible()) {
        shared.window->fadeTo(0.0, true);
    }
}

QSize ValidationTooltipWindow::sizeFor(const QString& text) {
    const QSize fitting = fittingSize(text);
    return QSize(fitting.width() + 2 * horizontalInset, fitting.height() + 2 * verticalInset);
}

QRect ValidationTooltipWindow::frameFor(QSize size, QPoint screenPoint,
                                        const std::optional<QRect>& visibleFrame) {
    int x = screenPoint.x() + 10;
    int y = screenPoint.y() + 5;  // hangs below and to the right of the pointer
    if (visibleFrame) {
        const int right = visibleFrame->x() + visibleFrame->width();
        const int bottom = visibleFrame->y() + visibleFrame->height();
        if (x + size.width() > right) {
            x = right - size.width() - 5;
        }
        if (x < visibleFrame->x()) {
            x = visibleFrame->x() + 5;
        }
        if (y + size.height() > bottom) {
            y = screenPoint.y() - 20 - size.height();  // above the pointer instead
        }
    }
    return QRect(QPoint(x, y), size);
}

void ValidationTooltipWindow::display(const QString& text, QPoint point, QWidget* view) {
    contentLabel_->setText(text);
    if (view == nullptr) {
        return;
    }
    const QSize fitting = fittingSize(text);
    const QSize size(fitting.width() + 2 * horizontalInset, fitting.height() + 2 * verticalInset);
    const QPoint global = view->mapToGlobal(point);
    std::optional<QRect> visibleFrame;
    if (QScreen* screen = view->screen()) {
        visibleFrame = screen->availableGeometry();
    }
    const QRect frame = frameFor(size, global, visibleFrame);
    window_->setGeometry(frame);
    containerView_->setGeometry(0, 0, size.width(), size.height());
    contentLabel_->setGeometry(horizontalInset, verticalInset, fitting.width(), fitting.height());
    window_->setWindowOpacity(0.0);
    window_->show();
    window_->raise();
    fadeTo(1.0, false);
}

void ValidationTooltipWindow::fadeTo(double target, bool hideWhenDone) {
    fadeTimer_ = std::make_unique<CarvexPlatform::Timer>();
    const double from = window_->windowOpacity();
    auto step = std::make_shared<int>(0);
    fadeTimer_->start(fadeStep, true, [this, from, target, hideWhenDone, step] {
        ++*step;
        if (*step < fadeSteps) {
            window_->setWindowOpacity(from + (target - from) * *step / fadeSteps);
            return;
        }
        fadeTimer_->stop();
        window_->setWindowOpacity(target);
        if (hideWhenDone) {
            window_->hide();
            window_->setWindowOpacity(1.0);
        }
    });
}

QString ValidationTooltipWindow::text() const { return contentLabel_->text(); }

bool ValidationTooltipWindow::isVisible() const { return window_->isVisible(); }

double ValidationTooltipWindow::alpha() const { return window_->windowOpacity(); }

}  // namespace Carvex
