#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

#include <QDialog>
#include <QWidget>

namespace CarvexPlatform {

// The controller of one view: the view is made on first request (`loadView`, then `viewDidLoad`)
// and announces its appearance (`viewWillAppear`/`viewDidAppear` when it is shown,
// `viewWillDisappear`/`viewDidDisappear` when it is hidden). Child controllers are owned by their
// parent. A controller presents another as a sheet: a window-modal dialog on its view's window,
// ended by `dismiss`. The controller owns its view; when a parent widget deletes the view first,
// the controller simply has none any more. Main thread only.
class ViewController : public QObject {
    Q_OBJECT

public:
    ViewController();
    ~ViewController() override;
    ViewController(const ViewController&) = delete;
    ViewController& operator=(const ViewController&) = delete;

    // The view, loaded on first request.
    QWidget* view();
    // The controller whose view `view` is, or null.
    static ViewController* controllerOfView(const QWidget* view);
    bool isViewLoaded() const { return view_ != nullptr; }
    // Installs a view of one's own (before the first `view()`, instead of `loadView`); no
    // `viewDidLoad` follows: call `view()` for that.
    void setView(QWidget* view);

    const QString& title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }

    // Child controllers, in the order added; the parent owns them.
    void addChildViewController(std::unique_ptr<ViewController> child);
    // Removes `child` and hands it back (null when it is not a child).
    std::unique_ptr<ViewController> removeChildViewController(ViewController* child);
    const std::vector<ViewController*>& childViewControllers() const { return children_; }
    ViewController* parentViewController() const { return parent_; }

    // Shows `controller`'s view in a window-modal dialog over this view's window (an ordinary
    // dialog when the view has no window). This controller owns the presented one until it is
    // dismissed.
    void presentAsSheet(std::unique_ptr<ViewController> controller);
    // The sheet this controller shows, or null.
    ViewController* presentedViewController() const { return presented_.get(); }
    // The controller that shows this one as a sheet, or null.
    ViewController* presentingViewController() const { return presenting_; }
    // Ends the sheet this controller is shown in (or the one it shows); the sheet controller is
    // deleted on a later turn.
    void dismiss();
    // The dialog of the sheet this controller shows (null when none).
    QDialog* sheetDialog() const;

protected:
    // Makes the view; the default is an empty widget.
    virtual QWidget* loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear() {}
    virtual void viewDidAppear() {}
    virtual void viewWillDisappear() {}
    virtual void viewDidDisappear() {}

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void adopt(QWidget* view);
    void endSheet();

    QPointer<QWidget> view_;
    QString title_;
    ViewController* parent_ = nullptr;
    std::vector<ViewController*> children_;
    std::unique_ptr<ViewController> presented_;
    ViewController* presenting_ = nullptr;
    QPointer<QDialog> sheet_;
    bool appeared_ = false;
};

}  // namespace CarvexPlatform
