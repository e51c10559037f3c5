#pragma once

#include <QUrl>
#include <QWebEnginePage>
#include <functional>

class QWebEngineProfile;

namespace Carvex {

// The manual's page: asks `decide` whether a navigation may go ahead (true) or is cancelled.
class ManualWebPage : public QWebEnginePage {
    Q_OBJECT

public:
    using Decision = std::function<bool(const QUrl&)>;

    ManualWebPage(QWebEngineProfile* profile, Decision decide, QObject* parent);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    Decision decide_;
};

}  // namespace Carvex
