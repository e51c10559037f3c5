#pragma once

#include "Carvex/Manual/ManualResourceLocator.h"
#include "platform/WindowController.h"

#include <QPointer>
#include <QString>
#include <QUrl>
#include <functional>

class QLabel;
class QPushButton;
class QWebEngineProfile;
class QWebEngineView;
class QWidget;

namespace Carvex {

class ManualSchemeHandler;

// The one help window: the manual in a web view, served through the scheme "manual" from the
// manual's resources. Links to web sites open in the desktop's browser. When the manual cannot be
// shown, a message with a Retry button takes the web view's place. The web view and its page live
// with the controller, so a page the user went to survives closing and reopening. Main thread only.
class HelpWindowController : public CarvexPlatform::WindowController {
    Q_OBJECT

public:
    enum class NavigationPolicy { allow, cancel };
    using URLOpener = std::function<void(const QUrl&)>;

    static inline const QString windowTitle = QStringLiteral("Carvex Help");
    static inline const QString unableToLoadMessage = QStringLiteral("Unable to load the user manual.");
    static inline const QString notFoundMessage =
        QStringLiteral("The user manual could not be found in the application bundle.");
    static inline const QString failedToLoadMessage = QStringLiteral("Failed to load the user manual.");
    static inline const QString retryTitle = QStringLiteral("Retry");

    // "manual://host/index.html".
    static QUrl entryURL();

    // The application's help window, made on first use and kept until `releaseShared`.
    static HelpWindowController& shared();
    // Deletes the shared help window, if made, page before profile; a later `shared` makes a new
    // one. The web engine ends with the application object and takes every profile still standing
    // from under its pages, so this runs while the application object stands.
    static void releaseShared();

    explicit HelpWindowController(ManualResourceLocator resourceLocator = ManualResourceLocator::main());
    ~HelpWindowController() override;

    const ManualResourceLocator& resourceLocator() const { return resourceLocator_; }

    // Loads the manual unless the web view already shows a page (an open manual keeps its page).
    void loadManualIfNeeded();
    // Loads the entry page when the manual exists; shows the not-found message otherwise.
    void loadManual();
    // The Retry button's action.
    void retryLoadManual();

    // The decision on a navigation to `url`: web addresses (exactly "http" or "https") are handed
    // to the URL opener and cancelled here; everything else is allowed.
    NavigationPolicy decidePolicyForNavigation(const QUrl& url);
    // A load that failed before its page came: the failure message in place of the web view.
    void didFailProvisionalNavigation(const QString& localizedDescription);

    // Opens web addresses; the desktop's browser unless replaced (tests script it).
    void setURLOpener(URLOpener opener) { urlOpener_ = std::move(opener); }

    // The window's parts (the window is made first when needed).
    QWebEngineView* webView();
    QWidget* errorPlaceholder();
    QLabel* errorLabel();
    QPushButton* retryButton();
    // Whether the message takes the web view's place.
    bool isShowingError();

protected:
    QMainWindow* loadWindow() override;

private:
    void showManual();
    void showError(const QString& message);

    ManualResourceLocator resourceLocator_;
    URLOpener urlOpener_;
    ManualSchemeHandler* schemeHandler_ = nullptr;  // a child of this controller
    QWebEngineProfile* profile_ = nullptr;          // owned; outlives the page
    QPointer<QWebEngineView> webView_;
    QPointer<QWidget> errorPlaceholder_;
    QPointer<QLabel> errorLabel_;
    QPointer<QPushButton> retryButton_;
};

}  // namespace Carvex
