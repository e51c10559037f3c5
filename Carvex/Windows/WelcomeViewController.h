#pragma once

#include "Carvex/Windows/RecentDocumentItem.h"
#include "platform/Storyboard.h"
#include "platform/ViewController.h"

#include <QColor>
#include <QIcon>
#include <QPointer>
#include <QUrl>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace Carvex {

class RecentDocumentCellView;

// The welcome window's content: the application's icon and name on a gradient panel, New, Open and
// a link to the OpenAPI Specification, and the recent documents that still exist (a double click
// opens one).
class WelcomeViewController : public CarvexPlatform::ViewController {
    Q_OBJECT

public:
    static inline const QString sceneIdentifier = QStringLiteral("WelcomeViewController");
    static inline const QUrl learnOpenAPIURL = QUrl(QStringLiteral("https://spec.openapis.org/oas/latest.html"));
    static void registerScene(CarvexPlatform::Storyboard& storyboard = CarvexPlatform::Storyboard::main());

    // The application's own icon, from the resources.
    static QIcon applicationIcon();

    // The panel's gradient: the colour at its top and at its bottom.
    struct Gradient {
        QColor top;
        QColor bottom;
        bool operator==(const Gradient&) const = default;
    };
    static Gradient gradientColors(bool isDark);

    WelcomeViewController();
    ~WelcomeViewController() override;

    QPointer<QWidget> leftPanelView;
    QPointer<QLabel> appIconImageView;
    QPointer<QLabel> titleLabel;
    QPointer<QPushButton> newDocumentButton;
    QPointer<QPushButton> openDocumentButton;
    QPointer<QLabel> recentDocumentsLabel;
    QPointer<QTableWidget> recentDocumentsTableView;
    QPointer<QPushButton> learnOpenAPIButton;
    QPointer<QLabel> noRecentDocumentsLabel;

    const std::vector<RecentDocumentItem>& recentDocuments() const { return recentDocuments_; }
    // The gradient the panel paints (none before the view is set up).
    const std::optional<Gradient>& gradientLayer() const { return gradientLayer_; }

    // Opens web pages (the default browser unless replaced).
    std::function<void(const QUrl&)> openURL;

    // The recent documents that still exist, newest first.
    void reloadRecentDocuments();
    // The row's cell (reused when the table has one), or null outside the list.
    RecentDocumentCellView* viewForRow(int row);

    void newDocumentClicked();
    void openDocumentClicked();
    void learnOpenAPIClicked();
    void tableViewDoubleClicked();
    // Takes the panel's colours afresh for the current appearance.
    void viewDidLayout();

protected:
    QWidget* loadView() override;
    void viewDidLoad() override;
    void viewDidAppear() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setUpAppearance();
    void setUpTable();

    std::vector<RecentDocumentItem> recentDocuments_;
    std::optional<Gradient> gradientLayer_;
};

}  // namespace Carvex
