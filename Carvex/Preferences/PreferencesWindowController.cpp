#include "Carvex/Preferences/PreferencesWindowController.h"

#include "Carvex/Preferences/GeneralPreferencesPane.h"
#include "Carvex/Preferences/SyntaxColorsPreferencesPane.h"
#include "platform/SystemSymbol.h"

#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPixmap>
#include <QPropertyAnimation>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

namespace Carvex {

std::vector<PreferencesWindowController::PaneConfig> PreferencesWindowController::standardPaneConfigs() {
    return {
        {generalPaneIdentifier, QStringLiteral("General"), QStringLiteral("gearshape"),
         [] { return new GeneralPreferencesPane(); }},
        {syntaxColorsPaneIdentifier, QStringLiteral("Syntax Colors"), QStringLiteral("paintpalette"),
         [] { return new SyntaxColorsPreferencesPane(); }},
    };
}

PreferencesWindowController& PreferencesWindowController::shared() {
    // Kept for the whole run: closing the window only hides it.
    static PreferencesWindowController* const instance = new PreferencesWindowController();
    return *instance;
}

PreferencesWindowController::PreferencesWindowController(std::vector<PaneConfig> paneConfigs)
    : paneConfigs_(std::move(paneConfigs)) {
    window();
    if (!paneConfigs_.empty()) {
        showPane(paneConfigs_.front().identifier, false);
    }
}

PreferencesWindowController::~PreferencesWindowController() {
    if (frameAnimation_) {
        frameAnimation_->stop();
    }
}

QMainWindow* PreferencesWindowController::loadWindow() {
    auto* window = new QMainWindow();
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::CustomizeWindowHint);
    window->setWindowTitle(QStringLiteral("Preferences"));
    content_ = new QWidget(window);
    contentLayout_ = new QVBoxLayout(content_);
    contentLayout_->setContentsMargins(0, 0, 0, 0);
    contentLayout_->setSpacing(0);
    window->setCentralWidget(content_);

    toolbar_ = new QToolBar(window);
    toolbar_->setObjectName(toolbarIdentifier);
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
    toolbar_->toggleViewAction()->setEnabled(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setIconSize(QSize(24, 24));
    auto* group = new QActionGroup(toolbar_);
    group->setExclusive(true);
    for (const PaneConfig& config : paneConfigs_) {
        auto* item = new QAction(config.title, toolbar_);
        item->setObjectName(config.identifier);
        item->setCheckable(true);
        if (const auto image = CarvexPlatform::SystemSymbol::image(config.iconName, 24, config.title)) {
            item->setIcon(QIcon(QPixmap::fromImage(*image)));
        }
        item->setToolTip(config.title);
        const QString identifier = config.identifier;
        connect(item, &QAction::triggered, this, [this, identifier] { toolbarItemClicked(identifier); });
        group->addAction(item);
        toolbar_->addAction(item);
    }
    if (!paneConfigs_.empty()) {
        toolbarItem(paneConfigs_.front().identifier)->setChecked(true);
    }
    window->addToolBar(Qt::TopToolBarArea, toolbar_);

    window->resize(contentWidth, toolbar_->sizeHint().height() + 200);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    return window;
}

QStringList PreferencesWindowController::toolbarItemIdentifiers() const {
    QStringList identifiers;
    for (const PaneConfig& config : paneConfigs_) {
        identifiers << config.identifier;
    }
    return identifiers;
}

QWidget* PreferencesWindowController::cachedPane(const QString& identifier) const {
    const auto it = cachedPanes_.find(identifier);
    return it == cachedPanes_.end() ? nullptr : it->second.data();
}

QAction* PreferencesWindowController::toolbarItem(const QString& identifier) const {
    if (!toolbar_) {
        return nullptr;
    }
    for (QAction* item : toolbar_->actions()) {
        if (item->objectName() == identifier) {
            return item;
        }
    }
    return nullptr;
}

void PreferencesWindowController::toolbarItemClicked(const QString& identifier) { showPane(identifier, true); }

void PreferencesWindowController::showPane(const QString& identifier, bool animated) {
    const auto config = std::find_if(paneConfigs_.begin(), paneConfigs_.end(),
                                     [&](const PaneConfig& pane) { return pane.identifier == identifier; });
    if (config == paneConfigs_.end() || currentPaneIdentifier_ == identifier) {
        return;
    }
    QWidget* pane = cachedPane(identifier);
    if (pane == nullptr) {
        pane = config->makeView();
        cachedPanes_[identifier] = pane;
    }
    QMainWindow* shownWindow = isWindowLoaded() ? window() : nullptr;
    if (shownWindow == nullptr || !content_) {
        return;
    }
    for (const auto& [other, view] : cachedPanes_) {
        if (view && view != pane && view->parentWidget() == content_) {
            contentLayout_->removeWidget(view);
            view->hide();
        }
    }
    pane->setParent(content_);
    contentLayout_->addWidget(pane);
    pane->show();

    // The window keeps its top edge and width; only its height follows the pane.
    const int paneHeight = pane->hasHeightForWidth() ? pane->heightForWidth(contentWidth)
                                                     : pane->sizeHint().height();
    const int toolbarHeight = toolbar_ && !toolbar_->isHidden() ? toolbar_->sizeHint().height() : 0;
    const QRect current = shownWindow->geometry();
    const QRect target(current.topLeft(), QSize(current.width(), toolbarHeight + paneHeight));

    shownWindow->setWindowTitle(config->title);
    if (QAction* item = toolbarItem(identifier)) {
        item->setChecked(true);
    }
    currentPaneIdentifier_ = identifier;

    if (frameAnimation_) {
        frameAnimation_->stop();
        delete frameAnimation_.data();
    }
    // The user cannot resize the window: its size is fixed except while it follows a pane.
    shownWindow->setMinimumSize(0, 0);
    shownWindow->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (animated) {
        frameAnimation_ = new QPropertyAnimation(shownWindow, "geometry", this);
        frameAnimation_->setDuration(frameAnimationMs);
        frameAnimation_->setEasingCurve(QEasingCurve::InOutQuad);
        frameAnimation_->setStartValue(current);
        frameAnimation_->setEndValue(target);
        QPointer<QMainWindow> resized(shownWindow);
        connect(frameAnimation_, &QPropertyAnimation::finished, this, [resized, target] {
            if (resized) {
                resized->setFixedSize(target.size());
            }
        });
        frameAnimation_->start();
    } else {
        shownWindow->setGeometry(target);
        shownWindow->setFixedSize(target.size());
    }
}

}  // namespace Carvex
