#pragma once
#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace CarvexPlatform {

// Catches the signals that ask the process to end (SIGTERM, SIGHUP, SIGINT) and hands each to
// `handler` on the main thread, on a later turn of the event loop. The signal handler itself only
// writes the signal's number into a socket pair (nothing else is safe there); a notifier on the other
// end reads it. The handlers stay installed while the object lives, so a repeated signal comes to
// `handler` again instead of ending the process; the previous dispositions come back when it goes.
// One at a time per process. Main thread only.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void(int signal)>;

    explicit TerminationSignals(Handler handler);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Whether the handlers are installed (false when the socket pair could not be made, or another
    // object has them).
    bool isInstalled() const { return installed_; }

private:
    void readSignals();

    Handler handler_;
    int sockets_[2] = {-1, -1};
    bool installed_ = false;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace CarvexPlatform
