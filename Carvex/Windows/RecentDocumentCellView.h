#pragma once

#include "Carvex/Windows/RecentDocumentItem.h"

#include <QWidget>

class QLabel;

namespace Carvex {

// A row of the recent list: the file's icon, its name (cut at the end when long) and its folder,
// right-aligned and cut at the start, with the home folder written "~".
class RecentDocumentCellView : public QWidget {
    Q_OBJECT

public:
    static inline const QString reuseIdentifier = QStringLiteral("RecentDocumentCell");

    explicit RecentDocumentCellView(QWidget* parent = nullptr);

    QLabel* iconImageView = nullptr;
    QLabel* fileNameLabel = nullptr;
    QLabel* folderPathLabel = nullptr;

    void configure(const RecentDocumentItem& item);

    // The texts shown before any cutting.
    const QString& fileNameText() const { return fileName_; }
    const QString& folderPathText() const { return folderPath_; }

    // `folder` with `home` written "~" when it is the home folder or lies below it.
    static QString abbreviatingHome(const QString& folder, const QString& home);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    QString fileName_;
    QString folderPath_;
};

}  // namespace Carvex
