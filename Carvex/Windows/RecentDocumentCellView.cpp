#include "Carvex/Windows/RecentDocumentCellView.h"

#include "platform/DynamicColor.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>

namespace Carvex {

RecentDocumentCellView::RecentDocumentCellView(QWidget* parent) : QWidget(parent) {
    setObjectName(reuseIdentifier);
    // Clicks go to the table underneath, which selects and opens.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 0, 8, 0);
    layout->setSpacing(8);

    iconImageView = new QLabel(this);
    iconImageView->setFixedSize(16, 16);
    iconImageView->setScaledContents(false);
    layout->addWidget(iconImageView, 0, Qt::AlignVCenter);

    fileNameLabel = new QLabel(this);
    QFont nameFont = fileNameLabel->font();
    nameFont.setPixelSize(13);
    fileNameLabel->setFont(nameFont);
    fileNameLabel->setMinimumWidth(100);
    fileNameLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    layout->addWidget(fileNameLabel, 1, Qt::AlignVCenter);

    layout->addSpacing(8);
    folderPathLabel = new QLabel(this);
    QFont folderFont = folderPathLabel->font();
    folderFont.setPixelSize(11);
    folderPathLabel->setFont(folderFont);
    folderPathLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    folderPathLabel->setMaximumWidth(200);
    folderPathLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    layout->addWidget(folderPathLabel, 0, Qt::AlignVCenter);
}

QString RecentDocumentCellView::abbreviatingHome(const QString& folder, const QString& home) {
    if (home.isEmpty()) {
        return folder;
    }
    const QString base = home.endsWith(QLatin1Char('/')) && home.size() > 1 ? home.chopped(1) : home;
    if (folder == base) {
        return QStringLiteral("~");
    }
    // A sibling that merely shares the home folder's name as a prefix is not below it.
    const QString below = base.endsWith(QLatin1Char('/')) ? base : base + QLatin1Char('/');
    if (folder.startsWith(below)) {
        return QStringLiteral("~/") + folder.mid(below.size());
    }
    return folder;
}

void RecentDocumentCellView::configure(const RecentDocumentItem& item) {
    const QFileInfo info(item.url);
    iconImageView->setPixmap(QFileIconProvider().icon(info).pixmap(16, 16));
    fileName_ = info.fileName();
    folderPath_ = abbreviatingHome(info.absolutePath(), QDir::homePath());
    fileNameLabel->setToolTip(item.url);
    // The list is styled, and a label inside a styled widget paints with its style sheet's colour
    // (black when it names none), whatever its palette says.
    const auto ink = [](CarvexPlatform::SystemColor role) {
        const QColor color = CarvexPlatform::DynamicColor(role).resolved();
        return QStringLiteral("QLabel { color: rgba(%1, %2, %3, %4); }")
            .arg(color.red())
            .arg(color.green())
            .arg(color.blue())
            .arg(color.alpha());
    };
    fileNameLabel->setStyleSheet(ink(CarvexPlatform::SystemColor::label));
    folderPathLabel->setStyleSheet(ink(CarvexPlatform::SystemColor::secondaryLabel));
    elide();
}

void RecentDocumentCellView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    elide();
}

void RecentDocumentCellView::elide() {
    folderPathLabel->setText(folderPathLabel->fontMetrics().elidedText(folderPath_, Qt::ElideLeft, 200));
    const int nameWidth = std::max(fileNameLabel->width(), 100);
    fileNameLabel->setText(fileNameLabel->fontMetrics().elidedText(fileName_, Qt::ElideRight, nameWidth));
}

}  // namespace Carvex
