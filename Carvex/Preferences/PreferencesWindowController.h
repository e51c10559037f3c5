#pragma once

#include "platform/WindowController.h"

#include <QPointer>
#include <QPropertyAnimation>
#include <QToolBar>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class QAction;
class QVBoxLayout;
class QWidget;

namespace Carvex {

// The one preferences window: a toolbar of panes over the shown pane. Pane views are made on
// first use and kept (switching only re-parents them); the window takes the pane's title and
// height, its top edge staying where it is. Main thread only.
class PreferencesWindowController : public CarvexPlatform::WindowController {
    Q_OBJECT

public:
    struct PaneConfig {
        QString identifier;
        QString title;
        QString iconName;
        std::function<QWidget*()> makeView;
    };

    static inline const QString generalPaneIdentifier = QStringLiteral("prefs.general");
    static inline const QString syntaxColorsPaneIdentifier = QStringLiteral("prefs.syntaxColors");
    static inline const QString toolbarIdentifier = QStringLiteral("PreferencesToolbar");
    static constexpr int contentWidth = 680;
    static constexpr int frameAnimationMs = 200;

    // General and Syntax Colors over the shared stores.
    static std::vector<PaneConfig> standardPaneConfigs();

    // The application's preferences window, made on first use and kept until the application ends.
    static PreferencesWindowController& shared();

    // Builds the window and shows the first pane.
    explicit PreferencesWindowController(std::vector<PaneConfig> paneConfigs = standardPaneConfigs());
    ~PreferencesWindowController() override;

    const std::vector<PaneConfig>& paneConfigs() const { return paneConfigs_; }
    // The identifiers in toolbar order (the toolbar's default, allowed and selectable items).
    QStringList toolbarItemIdentifiers() const;
    const std::optional<QString>& currentPaneIdentifier() const { return currentPaneIdentifier_; }
    // The pane's view when it has been made, else null.
    QWidget* cachedPane(const QString& identifier) const;

    QToolBar* toolbar() const { return toolbar_; }
    // The toolbar item of a pane, or null.
    QAction* toolbarItem(const QString& identifier) const;

    // The toolbar items' action.
    void toolbarItemClicked(const QString& identifier);
    // Shows the pane (nothing for an unknown or the shown pane), sized to fit.
    void showPane(const QString& identifier, bool animated);

    // The running resize, or null (tests move it to its end).
    QPropertyAnimation* frameAnimation() const { return frameAnimation_; }

protected:
    QMainWindow* loadWindow() override;

private:
    std::vector<PaneConfig> paneConfigs_;
    std::map<QString, QPointer<QWidget>> cachedPanes_;
    std::optional<QString> currentPaneIdentifier_;
    QPointer<QToolBar> toolbar_;
    QPointer<QWidget> content_;
    QVBoxLayout* contentLayout_ = nullptr;
    QPointer<QPropertyAnimation> frameAnimation_;
};

}  // namespace Carvex
