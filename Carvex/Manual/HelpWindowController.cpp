#include "Carvex/Manual/HelpWindowController.h"

#include "Carvex/Manual/ManualSchemeHandler.h"
#include "Carvex/Manual/ManualWebPage.h"
#include "Carvex/Manual/WebViewEnvironment.h"
#include "platform/SystemColor.h"
#include "platform/Workspace.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <utility>

namespace Carvex {

QUrl HelpWindowController::entryURL() { return QUrl(QStringLiteral("manual://host/index.html")); }

namespace {

HelpWindowController*& sharedInstance() {
    static HelpWindowController* instance = nullptr;
    return instance;
}

}  // namespace

HelpWindowController& HelpWindowController::shared() {
    HelpWindowController*& instance = sharedInstance();
    if (instance == nullptr) {
        instance = new HelpWindowController();
    }
    return *instance;
}

void HelpWindowController::releaseShared() { delete std::exchange(sharedInstance(), nullptr); }

HelpWindowController::HelpWindowController(ManualResourceLocator resourceLocator)
    : resourceLocator_(std::move(resourceLocator)),
      urlOpener_(&CarvexPlatform::Workspace::openURL),
      schemeHandler_(new ManualSchemeHandler(resourceLocator_, this)) {
    WebViewEnvironment::disableSandboxWhenRoot();
}

HelpWindowController::~HelpWindowController() {
    // The page goes before the profile it was made with: the engine would otherwise take the page
    // from under the view. The view takes its page, a child, with it; a view outliving its page
    // would make a page of the default profile when next asked.
    delete webView_.data();
    delete profile_;
}

QMainWindow* HelpWindowController::loadWindow() {
    profile_ = new QWebEngineProfile();
    profile_->installUrlSchemeHandler(ManualSchemeHandler::scheme, schemeHandler_);

    auto* window = new QMainWindow();
    auto* content = new QWidget(window);
    auto* layout = new QGridLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);

    webView_ = new QWebEngineView(content);
    auto* page = new ManualWebPage(
        profile_,
        [this](const QUrl& url) { return decidePolicyForNavigation(url) == NavigationPolicy::allow; },
        webView_);
    page->settings()->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
    webView_->setPage(page);
    connect(page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus) {
            didFailProvisionalNavigation(info.errorString());
        }
    });

    errorPlaceholder_ = new QWidget(content);
    errorPlaceholder_->setAutoFillBackground(true);
    errorPlaceholder_->hide();
    errorLabel_ = new QLabel(unableToLoadMessage, errorPlaceholder_);
    QFont labelFont = errorLabel_->font();
    labelFont.setPointSizeF(14);
    errorLabel_->setFont(labelFont);
    errorLabel_->setAlignment(Qt::AlignCenter);
    errorLabel_->setWordWrap(true);
    QPalette labelPalette = errorLabel_->palette();
    labelPalette.setColor(QPalette::WindowText,
                          CarvexPlatform::systemColor(CarvexPlatform::SystemColor::secondaryLabel));
    errorLabel_->setPalette(labelPalette);
    retryButton_ = new QPushButton(retryTitle, errorPlaceholder_);
    connect(retryButton_, &QPushButton::clicked, this, &HelpWindowController::retryLoadManual);

    // The label sits a little above the centre, the button 12 points below it.
    auto* placeholderLayout = new QVBoxLayout(errorPlaceholder_);
    placeholderLayout->addStretch(1);
    placeholderLayout->addWidget(errorLabel_, 0, Qt::AlignHCenter);
    placeholderLayout->addSpacing(12);
    placeholderLayout->addWidget(retryButton_, 0, Qt::AlignHCenter);
    placeholderLayout->addStretch(1);

    layout->addWidget(webView_, 0, 0);
    layout->addWidget(errorPlaceholder_, 0, 0);
    window->setCentralWidget(content);

    window->setWindowTitle(windowTitle);
    window->resize(1000, 750);
    window->setMinimumSize(600, 400);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    return window;
}

void HelpWindowController::loadManualIfNeeded() {
    QWebEngineView* view = webView();
    if (view->url().isEmpty() || isShowingError()) {
        loadManual();
    }
}

void HelpWindowController::loadManual() {
    QWebEngineView* view = webView();
    if (!resourceLocator_.entryPagePath()) {
        showError(notFoundMessage);
        return;
    }
    view->load(entryURL());
    showManual();
}

void HelpWindowController::retryLoadManual() { loadManual(); }

HelpWindowController::NavigationPolicy HelpWindowController::decidePolicyForNavigation(const QUrl& url) {
    if (url.isEmpty()) {
        return NavigationPolicy::allow;
    }
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("https") || scheme == QLatin1String("http")) {
        if (urlOpener_) {
            urlOpener_(url);
        }
        return NavigationPolicy::cancel;
    }
    // Files, the manual's own pages, mail links and anything else stay with the web view.
    return NavigationPolicy::allow;
}

void HelpWindowController::didFailProvisionalNavigation(const QString& localizedDescription) {
    showError(failedToLoadMessage + u'\n' + localizedDescription);
}

QWebEngineView* HelpWindowController::webView() {
    window();
    return webView_;
}

QWidget* HelpWindowController::errorPlaceholder() {
    window();
    return errorPlaceholder_;
}

QLabel* HelpWindowController::errorLabel() {
    window();
    return errorLabel_;
}

QPushButton* HelpWindowController::retryButton() {
    window();
    return retryButton_;
}

bool HelpWindowController::isShowingError() {
    window();
    return errorPlaceholder_ && !errorPlaceholder_->isHidden();
}

void HelpWindowController::showManual() {
    webView_->show();
    errorPlaceholder_->hide();
}

void HelpWindowController::showError(const QString& message) {
    errorLabel_->setText(message);
    webView_->hide();
    errorPlaceholder_->show();
    errorPlaceholder_->raise();
}

}  // namespace Carvex
