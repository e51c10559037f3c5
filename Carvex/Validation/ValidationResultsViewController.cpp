#include "Carvex/Validation/ValidationResultsViewController.h"

#include "platform/SystemColor.h"

#include <QApplication>
#include <QGridLayout>

namespace Carvex {

const QString& ValidationResultsViewController::placeholderText() {
    static const QString text = QStringLiteral("Validation results will appear here");
    return text;
}

ValidationResultsViewController::ValidationResultsViewController() {
    setObjectName(QStringLiteral("ValidationResultsViewController"));
}

void ValidationResultsViewController::viewDidLoad() {
    CarvexPlatform::ViewController::viewDidLoad();
    setupPlaceholder();
}

void ValidationResultsViewController::setupPlaceholder() {
    QWidget* content = view();
    if (!placeholderLabel_) {
        auto* label = new QLabel(content);
        QFont font = QApplication::font();
        font.setPointSizeF(13);
        label->setFont(font);
        label->setAlignment(Qt::AlignCenter);
        QLayout* layout = content->layout();
        if (layout == nullptr) {
            layout = new QGridLayout(content);
        }
        layout->addWidget(label);
        layout->setAlignment(label, Qt::AlignCenter);  // centred both ways
        placeholderLabel_ = label;
    }
    placeholderLabel_->setText(placeholderText());
    QPalette palette = placeholderLabel_->palette();
    palette.setColor(QPalette::WindowText,
                     CarvexPlatform::systemColor(CarvexPlatform::SystemColor::secondaryLabel));
    placeholderLabel_->setPalette(palette);
}

}  // namespace Carvex
