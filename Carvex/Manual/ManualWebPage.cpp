#include "Carvex/Manual/ManualWebPage.h"

#include <utility>

namespace Carvex {

ManualWebPage::ManualWebPage(QWebEngineProfile* profile, Decision decide, QObject* parent)
    : QWebEnginePage(profile, parent), decide_(std::move(decide)) {}

bool ManualWebPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool) {
    return !decide_ || decide_(url);
}

}  // namespace Carvex
