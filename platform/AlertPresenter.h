#pragma once
#include "platform/Alert.h"
#include "platform/AlertScript.h"

#include <functional>
#include <memory>

class QWidget;

namespace CarvexPlatform {

// Shows alerts: window-modal on `window` when there is one (the completion runs later, when the
// user has pressed a button), application-modal otherwise (the completion runs before `present`
// returns). The completion receives the index of the pressed button, 0 for the first; closing the
// alert without a button counts as the last button, the dismissive one by convention.
// Tests install an `AlertScript` to answer instead of a person. Main thread only.
class AlertPresenter {
public:
    using Completion = std::function<void(int buttonIndex)>;

    static AlertPresenter& shared();

    void present(const Alert& alert, QWidget* window, Completion completion);

    // Installs (or, with null, removes) the script that answers in place of the user.
    void setScript(std::shared_ptr<AlertScript> script) { script_ = std::move(script); }
    const std::shared_ptr<AlertScript>& script() const { return script_; }

private:
    std::shared_ptr<AlertScript> script_;
};

}  // namespace CarvexPlatform
