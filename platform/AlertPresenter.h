#pragma once
#include "platform/Alert.h"
#include "platform/AlertScript.h"

#include <QPointer>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QMessageBox;

namespace CarvexPlatform {

// Shows alerts: window-modal on `window` when there is one (the completion runs later, when the
// user has pressed a button), application-modal otherwise (the completion runs before `present`
// returns). The completion receives the index of the pressed button, 0 for the first; closing the
// alert without a button counts as the last button, the dismissive one by convention. An alert
// ended by `cancelAll` answers its Cancel button (or its only button); one whose every button is a
// choice answers `unanswered`, and the question is the asker's again.
// Tests install an `AlertScript` to answer instead of a person. Main thread only.
class AlertPresenter {
public:
    using Completion = std::function<void(int buttonIndex)>;

    // The narrowest an alert gets: the informative text of a short message would otherwise wrap
    // at that message's width, a few words a line.
    static constexpr int minimumWidth = 380;
    // The answer of an alert withdrawn without a choice (see `cancelAll`).
    static constexpr int unanswered = -1;

    static AlertPresenter& shared();

    void present(const Alert& alert, QWidget* window, Completion completion);
    // Shows an application-modal alert without waiting for the answer: no event loop of its own
    // runs, so any handler may call it. Alerts shown this way come one at a time; a later one waits
    // until the one before is answered. The completion runs when the user answers, on a later turn.
    void presentWithoutWaiting(const Alert& alert, Completion completion = {});
    // The alert of `presentWithoutWaiting` on screen (null when none, or under a script).
    QWidget* alertOnScreen() const;
    // Alerts of `presentWithoutWaiting` not yet answered, the one on screen included.
    std::size_t alertsWaiting() const { return waiting_.size() + (showing_ ? 1 : 0); }

    // Ends every alert on screen as cancelled, at once: with its Cancel button, or its only button;
    // without either, no button is pressed and the completion receives `unanswered`. Alerts waiting
    // their turn stay waiting.
    void cancelAll();

    // While set, no alert is shown: each ends at once as `cancelAll` would end it, its completion
    // running as it would after an answer (the application ends with no one there to answer).
    void setUnattended(bool unattended) { unattended_ = unattended; }
    bool isUnattended() const { return unattended_; }

    // Installs (or, with null, removes) the script that answers in place of the user.
    void setScript(std::shared_ptr<AlertScript> script) { script_ = std::move(script); }
    const std::shared_ptr<AlertScript>& script() const { return script_; }

private:
    struct Waiting {
        Alert alert;
        Completion completion;
    };
    void showNextWaiting();
    void finishShowing(const Completion& completion, int response);
    void remember(QMessageBox* box);
    // The answer of the alert when it is shown unattended or by the script.
    int answerWithoutShowing(const Alert& alert, bool asSheet);

    std::shared_ptr<AlertScript> script_;
    bool unattended_ = false;
    std::deque<Waiting> waiting_;
    bool showing_ = false;
    QPointer<QWidget> onScreen_;
    std::vector<QPointer<QMessageBox>> shown_;  // every alert on screen, in the order shown
};

}  // namespace CarvexPlatform
