#include "platform/SystemSymbol.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <functional>
#include <map>

namespace CarvexPlatform {

namespace {

using Drawing = std::function<void(QPainter&, double side)>;

void cutOut(QPainter& p, const std::function<void()>& draw) {
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    draw();
    p.restore();
}

QPen cutPen(double width) {
    QPen pen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    return pen;
}

const std::map<QString, Drawing>& drawings() {
    static const std::map<QString, Drawing> table = {
        {QStringLiteral("info.circle.fill"),
         [](QPainter& p, double s) {
             p.drawEllipse(QRectF(0, 0, s, s));
             cutOut(p, [&] {
                 p.setPen(cutPen(s * 0.12));
                 p.drawLine(QPointF(s * 0.5, s * 0.45), QPointF(s * 0.5, s * 0.75));
                 p.setPen(Qt::NoPen);
                 p.setBrush(Qt::black);
                 p.drawEllipse(QPointF(s * 0.5, s * 0.28), s * 0.08, s * 0.08);
             });
         }},
        {QStringLiteral("checkmark.seal"),
         [](QPainter& p, double s) {
             QPolygonF seal;
             for (int i = 0; i < 24; ++i) {
                 const double angle = (7.5 + 15.0 * i) * M_PI / 180.0;
                 const double radius = (i % 2 == 0 ? 0.5 : 0.43) * s;
                 seal << QPointF(s * 0.5 + radius * std::cos(angle), s * 0.5 + radius * std::sin(angle));
             }
             p.setBrush(Qt::NoBrush);
             p.setPen(QPen(Qt::black, s * 0.07, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.drawPolygon(seal);
             p.setPen(QPen(Qt::black, s * 0.09, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.drawPolyline(QPolygonF({QPointF(s * 0.31, s * 0.52), QPointF(s * 0.45, s * 0.66),
                                       QPointF(s * 0.7, s * 0.37)}));
         }},
        {QStringLiteral("curlybraces"),
         [](QPainter& p, double s) {
             p.setBrush(Qt::NoBrush);
             p.setPen(QPen(Qt::black, s * 0.08, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             // The opening brace on the left, the closing one mirrored on the right.
             for (const double side : {-1.0, 1.0}) {
                 const auto x = [&](double fromCentre) { return s * (0.5 + side * fromCentre); };
                 QPainterPath brace;
                 brace.moveTo(x(0.08), s * 0.1);
                 brace.quadTo(x(0.2), s * 0.1, x(0.2), s * 0.25);
                 brace.lineTo(x(0.2), s * 0.4);
                 brace.quadTo(x(0.2), s * 0.5, x(0.34), s * 0.5);
                 brace.quadTo(x(0.2), s * 0.5, x(0.2), s * 0.6);
                 brace.lineTo(x(0.2), s * 0.75);
                 brace.quadTo(x(0.2), s * 0.9, x(0.08), s * 0.9);
                 p.drawPath(brace);
             }
         }},
        {QStringLiteral("doc.text"),
         [](QPainter& p, double s) {
             QPainterPath page;
             page.moveTo(s * 0.18, s * 0.04);
             page.lineTo(s * 0.6, s * 0.04);
             page.lineTo(s * 0.82, s * 0.26);
             page.lineTo(s * 0.82, s * 0.96);
             page.lineTo(s * 0.18, s * 0.96);
             page.closeSubpath();
             p.setBrush(Qt::NoBrush);
             p.setPen(QPen(Qt::black, s * 0.07, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.drawPath(page);
             p.drawPolyline(QPolygonF({QPointF(s * 0.6, s * 0.04), QPointF(s * 0.6, s * 0.26),
                                       QPointF(s * 0.82, s * 0.26)}));
             for (const double y : {0.45, 0.6, 0.75}) {
                 p.drawLine(QPointF(s * 0.32, s * y), QPointF(s * 0.68, s * y));
             }
         }},
        {QStringLiteral("doc.on.doc"),
         [](QPainter& p, double s) {
             // A page in front of another one, offset up and to the left.
             p.setBrush(Qt::NoBrush);
             p.setPen(QPen(Qt::black, s * 0.07, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.drawPolyline(QPolygonF({QPointF(s * 0.2, s * 0.7), QPointF(s * 0.12, s * 0.7),
                                       QPointF(s * 0.12, s * 0.06), QPointF(s * 0.62, s * 0.06),
                                       QPointF(s * 0.62, s * 0.22)}));
             p.drawRoundedRect(QRectF(s * 0.34, s * 0.28, s * 0.54, s * 0.66), s * 0.06, s * 0.06);
         }},
        {QStringLiteral("checkmark.circle.fill"),
         [](QPainter& p, double s) {
             p.drawEllipse(QRectF(0, 0, s, s));
             cutOut(p, [&] {
                 p.setPen(cutPen(s * 0.11));
                 p.setBrush(Qt::NoBrush);
                 p.drawPolyline(QPolygonF({QPointF(s * 0.28, s * 0.52), QPointF(s * 0.44, s * 0.68),
                                           QPointF(s * 0.72, s * 0.34)}));
             });
         }},
        {QStringLiteral("exclamationmark.triangle.fill"),
         [](QPainter& p, double s) {
             QPainterPath triangle;
             triangle.moveTo(s * 0.5, s * 0.04);
             triangle.lineTo(s * 0.98, s * 0.92);
             triangle.lineTo(s * 0.02, s * 0.92);
             triangle.closeSubpath();
             p.setPen(QPen(Qt::black, s * 0.06, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.drawPath(triangle);
             cutOut(p, [&] {
                 p.setPen(cutPen(s * 0.11));
                 p.drawLine(QPointF(s * 0.5, s * 0.36), QPointF(s * 0.5, s * 0.62));
                 p.setPen(Qt::NoPen);
                 p.setBrush(Qt::black);
                 p.drawEllipse(QPointF(s * 0.5, s * 0.77), s * 0.065, s * 0.065);
             });
         }},
        {QStringLiteral("gearshape"),
         [](QPainter& p, double s) {
             // Twelve teeth around a ring with a hole.
             QPainterPath gear;
             const QPointF centre(s * 0.5, s * 0.5);
             for (int i = 0; i < 24; ++i) {
                 const double radius = (i % 2 == 0) ? s * 0.5 : s * 0.4;
                 const double from = (i * 15.0 - 7.5) * M_PI / 180.0;
                 const double to = (i * 15.0 + 7.5) * M_PI / 180.0;
                 const QPointF a(centre.x() + radius * std::cos(from), centre.y() + radius * std::sin(from));
                 const QPointF b(centre.x() + radius * std::cos(to), centre.y() + radius * std::sin(to));
                 if (i == 0) {
                     gear.moveTo(a);
                 } else {
                     gear.lineTo(a);
                 }
                 gear.lineTo(b);
             }
             gear.closeSubpath();
             p.drawPath(gear);
             cutOut(p, [&] { p.drawEllipse(centre, s * 0.17, s * 0.17); });
         }},
        {QStringLiteral("paintpalette"),
         [](QPainter& p, double s) {
             // A palette with a thumb notch and four paint wells.
             p.drawEllipse(QRectF(0, s * 0.06, s, s * 0.88));
             cutOut(p, [&] {
                 p.drawEllipse(QPointF(s * 0.62, s * 0.7), s * 0.12, s * 0.1);
                 for (const QPointF& well : {QPointF(0.25, 0.45), QPointF(0.36, 0.25), QPointF(0.6, 0.22),
                                             QPointF(0.78, 0.4)}) {
                     p.drawEllipse(QPointF(s * well.x(), s * well.y()), s * 0.08, s * 0.08);
                 }
             });
         }},
        {QStringLiteral("doc.badge.plus"),
         [](QPainter& p, double s) {
             // A page with a folded corner, outlined, and a plus badge at its lower right.
             QPainterPath page;
             page.moveTo(s * 0.12, s * 0.04);
             page.lineTo(s * 0.5, s * 0.04);
             page.lineTo(s * 0.72, s * 0.26);
             page.lineTo(s * 0.72, s * 0.5);
             page.moveTo(s * 0.5, s * 0.96);
             page.lineTo(s * 0.12, s * 0.96);
             page.lineTo(s * 0.12, s * 0.04);
             page.moveTo(s * 0.5, s * 0.04);
             page.lineTo(s * 0.5, s * 0.26);
             page.lineTo(s * 0.72, s * 0.26);
             p.setPen(QPen(Qt::black, s * 0.07, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.setBrush(Qt::NoBrush);
             p.drawPath(page);
             p.setPen(Qt::NoPen);
             p.setBrush(Qt::black);
             p.drawEllipse(QPointF(s * 0.74, s * 0.74), s * 0.25, s * 0.25);
             cutOut(p, [&] {
                 p.setPen(cutPen(s * 0.07));
                 p.drawLine(QPointF(s * 0.74, s * 0.61), QPointF(s * 0.74, s * 0.87));
                 p.drawLine(QPointF(s * 0.61, s * 0.74), QPointF(s * 0.87, s * 0.74));
             });
         }},
        {QStringLiteral("trash"),
         [](QPainter& p, double s) {
             // An outlined bin with its lid and handle, two ribs on the body.
             p.setPen(QPen(Qt::black, s * 0.07, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.setBrush(Qt::NoBrush);
             p.drawLine(QPointF(s * 0.12, s * 0.24), QPointF(s * 0.88, s * 0.24));
             p.drawPolyline(QPolygonF({QPointF(s * 0.38, s * 0.24), QPointF(s * 0.38, s * 0.12),
                                       QPointF(s * 0.62, s * 0.12), QPointF(s * 0.62, s * 0.24)}));
             p.drawPolygon(QPolygonF({QPointF(s * 0.2, s * 0.24), QPointF(s * 0.26, s * 0.92),
                                      QPointF(s * 0.74, s * 0.92), QPointF(s * 0.8, s * 0.24)}));
             p.drawLine(QPointF(s * 0.42, s * 0.38), QPointF(s * 0.43, s * 0.78));
             p.drawLine(QPointF(s * 0.58, s * 0.38), QPointF(s * 0.57, s * 0.78));
         }},
        {QStringLiteral("folder"),
         [](QPainter& p, double s) {
             // An outlined folder with its tab at the upper left.
             QPainterPath folder;
             folder.moveTo(s * 0.04, s * 0.22);
             folder.lineTo(s * 0.38, s * 0.22);
             folder.lineTo(s * 0.46, s * 0.32);
             folder.lineTo(s * 0.96, s * 0.32);
             folder.lineTo(s * 0.96, s * 0.84);
             folder.lineTo(s * 0.04, s * 0.84);
             folder.closeSubpath();
             folder.moveTo(s * 0.04, s * 0.42);
             folder.lineTo(s * 0.96, s * 0.42);
             p.setPen(QPen(Qt::black, s * 0.07, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.setBrush(Qt::NoBrush);
             p.drawPath(folder);
         }},
        {QStringLiteral("arrow.up.left.and.arrow.down.right"),
         [](QPainter& p, double s) {
             // Two arrows pointing apart along the diagonal: unfold.
             p.setPen(QPen(Qt::black, s * 0.08, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.setBrush(Qt::NoBrush);
             p.drawLine(QPointF(s * 0.12, s * 0.12), QPointF(s * 0.42, s * 0.42));
             p.drawPolyline(QPolygonF({QPointF(s * 0.12, s * 0.4), QPointF(s * 0.12, s * 0.12), QPointF(s * 0.4, s * 0.12)}));
             p.drawLine(QPointF(s * 0.88, s * 0.88), QPointF(s * 0.58, s * 0.58));
             p.drawPolyline(QPolygonF({QPointF(s * 0.88, s * 0.6), QPointF(s * 0.88, s * 0.88), QPointF(s * 0.6, s * 0.88)}));
         }},
        {QStringLiteral("arrow.down.right.and.arrow.up.left"),
         [](QPainter& p, double s) {
             // Two arrows pointing together along the diagonal: fold.
             p.setPen(QPen(Qt::black, s * 0.08, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.setBrush(Qt::NoBrush);
             p.drawLine(QPointF(s * 0.12, s * 0.12), QPointF(s * 0.42, s * 0.42));
             p.drawPolyline(QPolygonF({QPointF(s * 0.42, s * 0.16), QPointF(s * 0.42, s * 0.42), QPointF(s * 0.16, s * 0.42)}));
             p.drawLine(QPointF(s * 0.88, s * 0.88), QPointF(s * 0.58, s * 0.58));
             p.drawPolyline(QPolygonF({QPointF(s * 0.58, s * 0.84), QPointF(s * 0.58, s * 0.58), QPointF(s * 0.84, s * 0.58)}));
         }},
        {QStringLiteral("list.bullet.indent"),
         [](QPainter& p, double s) {
             // Three bulleted lines, the lower two indented one step: an outline.
             const double rows[] = {0.2, 0.5, 0.8};
             const double indents[] = {0.0, 0.22, 0.22};
             for (int i = 0; i < 3; ++i) {
                 const double x = s * (0.1 + indents[i]);
                 const double y = s * rows[i];
                 p.setPen(Qt::NoPen);
                 p.setBrush(Qt::black);
                 p.drawEllipse(QPointF(x, y), s * 0.075, s * 0.075);
                 p.setPen(QPen(Qt::black, s * 0.08, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                 p.drawLine(QPointF(x + s * 0.18, y), QPointF(s * 0.92, y));
             }
         }},
        {QStringLiteral("xmark.octagon.fill"),
         [](QPainter& p, double s) {
             QPolygonF octagon;
             for (int i = 0; i < 8; ++i) {
                 const double angle = (22.5 + 45.0 * i) * M_PI / 180.0;
                 octagon << QPointF(s * 0.5 + s * 0.52 * std::cos(angle),
                                    s * 0.5 + s * 0.52 * std::sin(angle));
             }
             p.drawPolygon(octagon);
             cutOut(p, [&] {
                 p.setPen(cutPen(s * 0.11));
                 p.drawLine(QPointF(s * 0.32, s * 0.32), QPointF(s * 0.68, s * 0.68));
                 p.drawLine(QPointF(s * 0.68, s * 0.32), QPointF(s * 0.32, s * 0.68));
             });
         }},
    };
    return table;
}

}  // namespace

std::optional<QImage> SystemSymbol::image(const QString& name, double pointSize,
                                          const QString& description) {
    const auto& table = drawings();
    const auto it = table.find(name);
    if (it == table.end() || !(pointSize > 0) || pointSize > 1024) {
        return std::nullopt;
    }
    const int side = std::max(1, static_cast<int>(std::ceil(pointSize * 1.15)));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        const double margin = side * 0.04;
        painter.translate(margin, margin);
        it->second(painter, side - 2 * margin);
    }
    if (!description.isEmpty()) {
        image.setText(QStringLiteral("Description"), description);
    }
    return image;
}

QStringList SystemSymbol::names() {
    QStringList result;
    for (const auto& [name, drawing] : drawings()) {
        result << name;
    }
    return result;
}

}  // namespace CarvexPlatform
