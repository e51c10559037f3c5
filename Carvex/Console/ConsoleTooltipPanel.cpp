#include "Carvex/Console/ConsoleTooltipPanel.h"

#include "platform/SystemColor.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace Carvex {

namespace {

QString span(const QString& text, double points, CarvexPlatform::SystemColor color) {
    return QStringLiteral("<span style=\"font-size:%1pt; color:%2\">%3</span>")
        .arg(points)
        .arg(CarvexPlatform::systemColor(color).name(QColor::HexArgb))
        .arg(text.toHtmlEscaped());
}

}  // namespace

ConsoleTooltipPanel::ConsoleTooltipPanel(const LogEntry& entry)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                           Qt::WindowTransparentForInput | Qt::NoDropShadowWindowHint),
      label_(new QLabel(this)) {
    setObjectName(QStringLiteral("ConsoleTooltipPanel"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    label_->setTextFormat(Qt::RichText);
    label_->setWordWrap(true);
    label_->setTextInteractionFlags(Qt::NoTextInteraction);
    label_->setAttribute(Qt::WA_TransparentForMouseEvents);
    const QString text = richText(entry);
    label_->setText(text);
    const QSize fit = fittingSize(text);
    label_->setFixedSize(fit);
    const int width = std::min(fit.width() + 16, kMaximumWidth);
    resize(width, fit.height() + 12);
    label_->move(8, 6);
    label_->setFixedWidth(std::min(fit.width(), width - 16));
}

QString ConsoleTooltipPanel::richText(const LogEntry& entry) {
    QString html = QStringLiteral("<div style=\"white-space:pre-wrap\">");
    html += span(entry.message, 12, CarvexPlatform::SystemColor::label);
    if (entry.isExpandable()) {
        html += QLatin1Char('\n') + span(*entry.errorDescription, 11, CarvexPlatform::SystemColor::secondaryLabel);
    }
    if (const auto metadata = entry.formattedLocationMetadata()) {
        html += QLatin1Char('\n') + span(*metadata, 10, CarvexPlatform::SystemColor::secondaryLabel);
    }
    html += QStringLiteral("</div>");
    return html;
}

QSize ConsoleTooltipPanel::fittingSize(const QString& richText) {
    QTextDocument document;
    document.setDocumentMargin(0);
    document.setDefaultFont(QApplication::font());
    document.setHtml(richText);
    document.setTextWidth(kTextWidth);
    const qreal ideal = std::min<qreal>(document.idealWidth(), kTextWidth);
    document.setTextWidth(ideal);
    return QSize(static_cast<int>(std::ceil(ideal)) + 1, static_cast<int>(std::ceil(document.size().height())));
}

void ConsoleTooltipPanel::placeAt(const QPoint& globalPoint) { move(globalPoint + QPoint(4, 8)); }

void ConsoleTooltipPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    painter.fillPath(path, CarvexPlatform::systemColor(CarvexPlatform::SystemColor::windowBackground));
    painter.setPen(CarvexPlatform::systemColor(CarvexPlatform::SystemColor::separator));
    painter.drawPath(path);
}

}  // namespace Carvex
