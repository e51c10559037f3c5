#include "Carvex/Properties/DescriptionDocument.h"

#include "Carvex/Properties/InertImageHandler.h"

#include <QAbstractTextDocumentLayout>

namespace Carvex {

DescriptionDocument::DescriptionDocument(QObject* parent) : QTextDocument(parent) {
    // Descriptions stand in their rows without a margin of their own; set while the document is
    // empty, so that no text is laid out again for it.
    setDocumentMargin(0);
    // It is laid out once it is given a width: while it is prepared, its layout would otherwise lay
    // the text out again after every step, at a width nobody shows.
    setPageSize(QSizeF(0, 0));
    documentLayout()->registerHandler(QTextFormat::ImageObject, new InertImageHandler(this));
    // Nobody edits a description: its preparation keeps no undo steps.
    setUndoRedoEnabled(false);
}

QVariant DescriptionDocument::loadResource(int, const QUrl&) {
    ++refusedResourceCount_;
    return {};
}

}  // namespace Carvex
