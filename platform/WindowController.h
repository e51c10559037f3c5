#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include <QMainWindow>

namespace CarvexPlatform {

class Document;
class ViewController;

// The controller of one window: the window is made on first request (`loadWindow`, then
// `windowDidLoad`), shows the view of its content controller, and belongs to at most one document,
// which owns the controller (a controller without a document is owned by whoever made it). Closing the window asks the document first (an edited document may
// have to be saved, or the user may cancel); once closed, the document lets the controller go.
// The controller owns its window. Main thread only.
class WindowController : public QObject {
    Q_OBJECT

public:
    // Posted with the window as sender just before a window of a controller closes.
    static inline const QString windowWillCloseNotification = QStringLiteral("NSWindowWillCloseNotification");

    WindowController();
    ~WindowController() override;
    WindowController(const WindowController&) = delete;
    WindowController& operator=(const WindowController&) = delete;

    // The window, loaded on first request.
    QMainWindow* window();
    bool isWindowLoaded() const { return window_ != nullptr; }

    // The content controller (owned); its view becomes the window's central widget.
    ViewController* contentViewController() const { return content_.get(); }
    void setContentViewController(std::unique_ptr<ViewController> controller);

    // The document this window shows, or null; set by the document.
    Document* document() const { return document_; }
    void setDocument(Document* document);

    // The controller whose window `window` is, or null.
    static WindowController* controllerOfWindow(const QWidget* window);

    // Shows the window and brings it forward; its `initialFirstResponder` takes the keys.
    void showWindow();
    // Gives `widget`, a widget of this window, the keyboard focus of its window (of its host, for a
    // tab): it has the keys now when the window is active, else once the window becomes active. A
    // widget whose show is still to come (just put in a window on screen) takes the focus again once
    // shown.
    void makeFirstResponder(QWidget* widget);
    // Closes the window as if the user had asked: the document may keep it open (cancel). The
    // answer arrives later when an alert has to ask first.
    void close();
    // Closes the window without asking the document.
    void closeWithoutAsking();

    // Sets the window title to the document's display name and marks the window modified while the
    // document is edited: the shown title gets Qt's mark ("api.yaml*"). An unmarked window's title is
    // the plain name; a marked one's ends in the "[*]" placeholder, which never reaches the screen.
    virtual void synchronizeWindowTitleWithDocumentName();

protected:
    // Makes the window; the default is an empty main window.
    virtual QMainWindow* loadWindow();
    virtual void windowDidLoad() {}
    // The widget that takes the keys whenever the window is brought forward; null (the default)
    // leaves the focus where the window had it.
    virtual QWidget* initialFirstResponder() const { return nullptr; }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QMainWindow> window_;
    std::unique_ptr<ViewController> content_;
    Document* document_ = nullptr;  // the owner: it clears this before it goes
    bool closeApproved_ = false;
    bool askingToClose_ = false;
    // Given the focus before its show: it takes it again when shown.
    QPointer<QWidget> focusOnShow_;
};

}  // namespace CarvexPlatform
