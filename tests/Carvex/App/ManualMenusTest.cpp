// The manual names the application's menus and keys as they are. Its pages mark a menu path as
// <span class="menu">File ▸ Save</span> and a key as <kbd> elements joined by "+"; a path and the key
// of its item stand together in an element of class "command". Every path must lead to an item of the
// real menus, every key written beside a path must be that item's key, every key of a menu item must
// be written beside its path somewhere, and a key written alone must be one the editor handles itself,
// which no menu item takes.

#include "Carvex/App/AppDelegate.h"
#include "Carvex/Manual/ManualResourceLocator.h"
#include "platform/FakeMainScheduler.h"
#include "platform/MainMenu.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace Carvex {
namespace {

struct Page {
    QString name;
    QString html;
};

std::vector<Page> manualPages() {
    std::vector<Page> pages;
    const std::optional<QString> root = ManualResourceLocator::main().rootFolder();
    if (!root) {
        return pages;
    }
    for (const QString& name : QDir(*root).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
        QFile file(QDir(*root).filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            pages.push_back(Page{name, QString::fromUtf8(file.readAll())});
        }
    }
    return pages;
}

QString plainText(const QString& html) { return QTextDocumentFragment::fromHtml(html).toPlainText().simplified(); }

// The keys the editor handles itself, outside the menus (as the manual writes them).
const std::set<QString>& editorKeys() {
    static const std::set<QString> keys = {
        QStringLiteral("Return"), QStringLiteral("Tab"),  QStringLiteral("Shift+Tab"), QStringLiteral("Alt+Return"),
        QStringLiteral("Esc"),    QStringLiteral("Up"),   QStringLiteral("Down"),      QStringLiteral("Ctrl"),
    };
    return keys;
}

// The application's menus as a launch builds them.
class ManualMenusTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppDelegate::SharedWindows windows;
        windows.showWelcome = [] {};
        windows.welcomeWindow = [this] { return &stub; };
        windows.helpWindow = [this] { return &stub; };
        windows.preferencesWindow = [this] { return &stub; };
        delegate = std::make_unique<AppDelegate>(menu, windows, CarvexPlatform::Settings::isolated());
        delegate->setLog([](const QString&) {});
        delegate->buildMainMenu();
        delegate->applicationWillFinishLaunching();
        delegate->applicationDidFinishLaunching();
        for (QMenu* top : menu.menus()) {
            collect(top, top->title());
        }
    }
    void TearDown() override { clock->runPending(); }

    // Every item by its path ("File ▸ Save"), with its keys.
    void collect(QMenu* parent, const QString& path) {
        for (QAction* item : parent->actions()) {
            if (item->isSeparator()) {
                continue;
            }
            const QString itemPath = path + QStringLiteral(" \u25B8 ") + item->text();
            items[itemPath] = item->shortcuts();
            if (item->menu()) {
                collect(item->menu(), itemPath);
            }
        }
    }

    struct ApplicationFirst {
        ApplicationFirst() { CarvexPlatform::TestApplication::ensure(); }
    } applicationFirst;
    std::shared_ptr<CarvexPlatform::FakeMainScheduler> clock = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    CarvexPlatform::ScopedMainScheduler scoped{clock};
    QMainWindow stub;
    CarvexPlatform::MainMenu menu;
    std::unique_ptr<AppDelegate> delegate;
    std::map<QString, QList<QKeySequence>> items;
};

const QRegularExpression& menuPattern() {
    static const QRegularExpression pattern(QStringLiteral("<span class=\"menu\">(.*?)</span>"),
                                            QRegularExpression::DotMatchesEverythingOption);
    return pattern;
}

const QRegularExpression& keysPattern() {
    static const QRegularExpression pattern(QStringLiteral("<kbd>[^<]*</kbd>(?:\\s*\\+\\s*<kbd>[^<]*</kbd>)*"));
    return pattern;
}

QStringList keysIn(const QString& html) {
    QStringList keys;
    for (auto it = keysPattern().globalMatch(html); it.hasNext();) {
        keys.append(plainText(it.next().captured()).remove(QLatin1Char(' ')));
    }
    return keys;
}

// The elements of class "command" in `html` (whole, from their opening to their own closing tag).
QStringList commandsIn(const QString& html) {
    static const QRegularExpression opening(QStringLiteral("<(\\w+) class=\"command\">"));
    QStringList commands;
    for (auto it = opening.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QRegularExpression tag(QStringLiteral("<(/?)%1\\b[^>]*>").arg(match.captured(1)));
        int depth = 0;
        for (auto tags = tag.globalMatch(html, match.capturedStart()); tags.hasNext();) {
            const QRegularExpressionMatch found = tags.next();
            depth += found.captured(1).isEmpty() ? 1 : -1;
            if (depth == 0) {
                commands.append(html.mid(match.capturedStart(), found.capturedEnd() - match.capturedStart()));
                break;
            }
        }
    }
    return commands;
}

TEST_F(ManualMenusTest, everyMenuPathAndKeyInTheManualIsTheApplicationsOwn) {
    const std::vector<Page> pages = manualPages();
    ASSERT_FALSE(pages.empty()) << "the manual's pages are not in the resources";
    ASSERT_TRUE(items.count(QStringLiteral("Carvex \u25B8 Check for Updates...")));
    std::set<QString> pairedPaths;
    int paths = 0;
    for (const Page& page : pages) {
        const std::string where = page.name.toStdString();
        QString loose = page.html;
        // A path with its keys.
        for (const QString& body : commandsIn(page.html)) {
            loose.replace(body, QString());
            const QRegularExpressionMatch named = menuPattern().match(body);
            ASSERT_TRUE(named.hasMatch()) << where << ": a command without a menu path: " << body.toStdString();
            const QString path = plainText(named.captured(1));
            ++paths;
            const auto item = items.find(path);
            if (item == items.end()) {
                ADD_FAILURE() << where << " names " << path.toStdString() << ", which no menu holds";
                continue;
            }
            const QStringList keys = keysIn(body);
            EXPECT_FALSE(keys.isEmpty()) << where << ": " << path.toStdString() << " without its keys";
            for (const QString& key : keys) {
                EXPECT_TRUE(item->second.contains(QKeySequence::fromString(key, QKeySequence::PortableText)))
                    << where << " gives " << key.toStdString() << " for " << path.toStdString() << ", whose keys are "
                    << QKeySequence::listToString(item->second, QKeySequence::PortableText).toStdString();
            }
            pairedPaths.insert(path);
        }
        // A path named alone.
        for (auto it = menuPattern().globalMatch(loose); it.hasNext();) {
            const QString path = plainText(it.next().captured(1));
            ++paths;
            EXPECT_TRUE(items.count(path)) << where << " names " << path.toStdString() << ", which no menu holds";
        }
        // A key named alone: the editor's, never a menu item's.
        for (const QString& key : keysIn(loose)) {
            EXPECT_TRUE(editorKeys().count(key)) << where << " names " << key.toStdString()
                                                 << " without a menu item, and the editor has no such key";
            const QKeySequence sequence = QKeySequence::fromString(key, QKeySequence::PortableText);
            for (const auto& [path, keys] : items) {
                EXPECT_FALSE(keys.contains(sequence))
                    << where << " names " << key.toStdString() << " alone, but it is the key of " << path.toStdString();
            }
        }
    }
    EXPECT_GT(paths, 0) << "the manual names no menu item";

    // Every key of the menus is in the manual, beside its item.
    for (const auto& [path, keys] : items) {
        if (!keys.isEmpty()) {
            EXPECT_TRUE(pairedPaths.count(path))
                << path.toStdString() << " ("
                << QKeySequence::listToString(keys, QKeySequence::PortableText).toStdString()
                << ") is not in the manual with its keys";
        }
    }
}

// The manual's own words about the keys the issue found wrong: Ctrl+W closes the tab, and completion is
// offered.
TEST_F(ManualMenusTest, closeIsTheTabsAndCompletionIsOffered) {
    QString all;
    for (const Page& page : manualPages()) {
        all += plainText(page.html) + QLatin1Char('\n');
    }
    EXPECT_TRUE(all.contains(QStringLiteral("Close the current tab, or the window when it holds one document")));
    EXPECT_FALSE(all.contains(QStringLiteral("does not offer"), Qt::CaseInsensitive));
    for (const char* feature : {"Show Completions", "ghost text", "$ref", "Ctrl+click", "Examples", "Description",
                                "Body", "Schema", "Validation Results"}) {
        EXPECT_TRUE(all.contains(QString::fromUtf8(feature))) << feature;
    }
}

}  // namespace
}  // namespace Carvex
