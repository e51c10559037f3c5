#pragma once
#include "platform/Alert.h"

#include <deque>
#include <vector>

namespace CarvexPlatform {

// Test support: answers the alerts the presenter would show, in order, and records them.
class AlertScript {
public:
    struct Presented {
        Alert alert;
        bool asSheet = false;  // window-modal on a window rather than application-modal
        int response = 0;
    };

    // Queues the index of the button to press for the next alert.
    void respond(int buttonIndex) { responses_.push_back(buttonIndex); }
    // The button pressed when no response is queued (the first by default).
    void setDefaultResponse(int buttonIndex) { defaultResponse_ = buttonIndex; }

    const std::vector<Presented>& presented() const { return presented_; }

    // Called by the presenter: records the alert and returns the button to press.
    int answer(const Alert& alert, bool asSheet);

private:
    std::deque<int> responses_;
    int defaultResponse_ = 0;
    std::vector<Presented> presented_;
};

}  // namespace CarvexPlatform
