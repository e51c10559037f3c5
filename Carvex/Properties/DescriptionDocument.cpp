#include "Carvex/Properties/DescriptionDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QTextObjectInterface>

#include <algorithm>

namespace Carvex {

namespace {

// Stands in for the layout's own image handler, which reads an image's file by its path when the
// document gives it no resource.
class InertImageHandler : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    using QObject::QObject;

    QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat& format) override {
        const QTextImageFormat image = format.toImageFormat();
        const auto side = [](qreal asked) { return asked > 0 ? std::min<qreal>(asked, 2000) : 0; };
        return {side(image.width()), side(image.height())};
    }
    void drawObject(QPainter*, const QRectF&, QTextDocument*, int, const QTextFormat&) override {}
};

}  // namespace

DescriptionDocument::DescriptionDocument(QObject* parent) : QTextDocument(parent) {
    documentLayout()->registerHandler(QTextFormat::ImageObject, new InertImageHandler(this));
}

QVariant DescriptionDocument::loadResource(int, const QUrl&) {
    ++refusedResourceCount_;
    return {};
}

}  // namespace Carvex

#include "DescriptionDocument.moc"
