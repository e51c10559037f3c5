#include "Carvex/Properties/DescriptionTabViewController.h"

#include "Carvex/Properties/DetailFonts.h"
#include "Carvex/Properties/TopAlignedScrollArea.h"
#include "Carvex/Properties/ElidingLabel.h"
#include "Carvex/Properties/SelfSizingTextView.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace Carvex {

namespace {

bool hasText(const std::optional<QString>& text) { return text && !text->isEmpty(); }

}  // namespace

QWidget* DescriptionTabViewController::loadView() {
    auto* root = new QWidget();
    root->setObjectName(QStringLiteral("descriptionTab"));
    auto* layout = new QVBoxLayout(root);
    layout->setContentsMargins(0, 0, 0, 0);

    emptyLabel_ = DetailFonts::label(tr("No description"), DetailFonts::system(13),
                                     CarvexPlatform::SystemColor::tertiaryLabel);
    emptyLabel_->setAlignment(Qt::AlignCenter);
    emptyLabel_->hide();

    documentView_ = new QWidget();
    stackView_ = new QVBoxLayout(documentView_);
    stackView_->setContentsMargins(12, 8, 12, 12);
    stackView_->setSpacing(8);

    scrollView_ = makeTopAlignedScrollArea(documentView_);
    scrollView_->viewport()->setAutoFillBackground(false);
    documentView_->setAutoFillBackground(false);
    scrollView_->widget()->setAutoFillBackground(false);

    layout->addWidget(scrollView_);
    layout->addWidget(emptyLabel_);
    return root;
}

QWidget* DescriptionTabViewController::makeKeyValueRow(const QString& key, const QString& value) {
    auto* row = new QWidget();
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    QLabel* keyLabel = DetailFonts::label(key + QLatin1Char(':'), DetailFonts::system(11, QFont::Medium),
                                          CarvexPlatform::SystemColor::secondaryLabel);
    keyLabel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* valueLabel = new ElidingLabel(value, Qt::ElideRight);
    valueLabel->setFont(key == QLatin1String("Operation ID") ? DetailFonts::monospaced(11) : DetailFonts::system(11));
    DetailFonts::setTextColor(valueLabel, CarvexPlatform::SystemColor::label);
    layout->addWidget(keyLabel, 0, Qt::AlignBaseline);
    layout->addWidget(valueLabel, 1, Qt::AlignBaseline);
    return row;
}

void DescriptionTabViewController::configure(const OperationDetailsViewModel& details) {
    view();
    while (QLayoutItem* item = stackView_->takeAt(0)) {
        // No row's own signal rebuilds the tab, so the rows can go at once.
        delete item->widget();
        delete item;
    }

    const bool hasContent = hasText(details.operationId) || hasText(details.summary) || hasText(details.description);
    scrollView_->setVisible(hasContent);
    emptyLabel_->setVisible(!hasContent);
    if (!hasContent) {
        return;
    }

    if (hasText(details.operationId)) {
        stackView_->addWidget(makeKeyValueRow(QStringLiteral("Operation ID"), *details.operationId));
    }
    if (hasText(details.summary)) {
        QLabel* summary = DetailFonts::label(*details.summary, DetailFonts::system(13, QFont::DemiBold),
                                             CarvexPlatform::SystemColor::label);
        summary->setObjectName(QStringLiteral("summaryLabel"));
        summary->setWordWrap(true);
        summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
        stackView_->addWidget(summary);
    }
    if (hasText(details.description)) {
        auto* description = SelfSizingTextView::makeDescriptionView(*details.description, 12);
        // Made as wide as the column is now, the text is first measured at the width the column will
        // give it, not at a new view's arbitrary width.
        const QMargins margins = stackView_->contentsMargins();
        description->resize(std::max(1, documentView_->width() - margins.left() - margins.right()), 0);
        stackView_->addWidget(description);
    }

    std::vector<std::pair<QString, QString>> facts;
    if (!details.tags.isEmpty()) {
        facts.emplace_back(QStringLiteral("Tags"), details.tags.join(QStringLiteral(", ")));
    }
    if (details.deprecated) {
        facts.emplace_back(QStringLiteral("Status"), QStringLiteral("Deprecated"));
    }
    if (hasText(details.externalDocsURL)) {
        facts.emplace_back(QStringLiteral("External Docs"), *details.externalDocsURL);
    }
    if (!facts.empty() && (details.summary || details.description)) {
        auto* separator = new QFrame();
        separator->setObjectName(QStringLiteral("separator"));
        separator->setFrameShape(QFrame::HLine);
        separator->setFrameShadow(QFrame::Plain);
        DetailFonts::setTextColor(separator, CarvexPlatform::SystemColor::separator);
        stackView_->addWidget(separator);
    }
    for (const auto& [key, value] : facts) {
        stackView_->addWidget(makeKeyValueRow(key, value));
    }
}

}  // namespace Carvex
