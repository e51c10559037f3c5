#pragma once

namespace CarvexPlatform {

// The modal windows on screen: sheets, alerts and file panels, window- or application-modal. Main
// thread only.
class ModalWindows {
public:
    // Ends each at once as cancelled, as its Cancel button or its close button would: a sheet or a
    // panel ends with nothing chosen, an alert as `AlertPresenter::cancelAll` ends it. What waits in
    // a modal window's own event loop returns once control gets back to that loop.
    static void cancelAll();
};

}  // namespace CarvexPlatform
