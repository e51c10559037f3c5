#include "Carvex/Manual/HelpWindowController.h"
#include "Carvex/Manual/WebViewEnvironment.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace Carvex;
using Policy = HelpWindowController::NavigationPolicy;

TEST(HelpWindowNavigationTest, WebAddressesGoToTheBrowserEverythingElseStays) {
    CarvexPlatform::TestApplication::ensure();
    HelpWindowController controller;
    std::vector<QUrl> opened;
    controller.setURLOpener([&](const QUrl& url) { opened.push_back(url); });

    const struct {
        const char* name;
        const char* url;
        Policy policy;
    } rows[] = {
        {"https", "https://spec.openapis.org/oas/latest.html", Policy::cancel},
        {"http", "http://example.com/", Policy::cancel},
        {"manual page", "manual://host/documents.html", Policy::allow},
        {"file", "file:///tmp/page.html", Policy::allow},
        {"mail", "mailto:someone@example.com", Policy::allow},
        {"other scheme", "ftp://example.com/file", Policy::allow},
        {"about", "about:blank", Policy::allow},
        {"no scheme", "documents.html", Policy::allow},
        {"empty", "", Policy::allow},
    };
    for (const auto& row : rows) {
        opened.clear();
        EXPECT_EQ(controller.decidePolicyForNavigation(QUrl(row.url)), row.policy) << row.name;
        const bool handedOver = row.policy == Policy::cancel;
        ASSERT_EQ(opened.size(), handedOver ? 1u : 0u) << row.name;
        if (handedOver) {
            EXPECT_EQ(opened.front(), QUrl(row.url)) << row.name;
        }
    }
    // Nothing so far needed the window or its web view.
    EXPECT_FALSE(controller.isWindowLoaded());
}

TEST(HelpWindowNavigationTest, EntryAddressAndTexts) {
    EXPECT_EQ(HelpWindowController::entryURL().toString(), "manual://host/index.html");
    EXPECT_EQ(HelpWindowController::windowTitle, "Carvex Help");
    EXPECT_EQ(HelpWindowController::notFoundMessage,
              "The user manual could not be found in the application bundle.");
}

TEST(HelpWindowNavigationTest, SandboxIsTurnedOffOnlyForRoot) {
    CarvexPlatform::TestApplication::ensure();
    const QByteArray before = qgetenv("QTWEBENGINE_DISABLE_SANDBOX");
    qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
    { HelpWindowController controller; }
    EXPECT_EQ(qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"), WebViewEnvironment::runsAsRoot());
    EXPECT_EQ(WebViewEnvironment::runsAsRoot(), ::geteuid() == 0);
    if (!before.isNull()) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", before);
    }
}
