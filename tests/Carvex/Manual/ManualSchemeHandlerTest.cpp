#include "Carvex/Manual/ManualSchemeHandler.h"
#include "platform/TestApplication.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Carvex;
using Failure = ManualSchemeHandler::Answer::Failure;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A bundle on disk: Manual/index.html, Manual/css/site.css and a secret beside the manual.
struct DiskBundle {
    QTemporaryDir dir;
    DiskBundle() {
        writeFile(dir.filePath("Manual/index.html"), "<title>Disk</title>");
        writeFile(dir.filePath("Manual/css/site.css"), "body{}");
        writeFile(dir.filePath("secret.txt"), "secret");
    }
    ManualResourceLocator locator() const {
        return {.bundle = dir.path(), .subdirectory = "Manual", .entryFile = "index"};
    }
};

}  // namespace

TEST(ManualSchemeHandlerTest, MimeTypesByExtensionIgnoringCase) {
    const struct {
        const char* extension;
        const char* mimeType;
    } rows[] = {
        {"html", "text/html"},          {"HTML", "text/html"},
        {"css", "text/css"},            {"js", "application/javascript"},
        {"png", "image/png"},           {"PNG", "image/png"},
        {"jpg", "image/jpeg"},          {"JPEG", "image/jpeg"},
        {"svg", "image/svg+xml"},       {"gif", "image/gif"},
        {"webp", "image/webp"},         {"htm", "application/octet-stream"},
        {"", "application/octet-stream"}, {"json", "application/octet-stream"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ManualSchemeHandler::mimeType(row.extension), row.mimeType) << row.extension;
    }
}

TEST(ManualSchemeHandlerTest, PathsUnderTheRootAndRefusedEscapes) {
    const QString root = "/bundle/Manual";
    const struct {
        const char* name;
        const char* url;
        const char* expected;  // nullptr: refused
    } rows[] = {
        {"entry page", "manual://host/index.html", "/bundle/Manual/index.html"},
        {"host is ignored", "manual://elsewhere/css/site.css", "/bundle/Manual/css/site.css"},
        {"dot segments fold", "manual://host/css/./site.css", "/bundle/Manual/css/site.css"},
        {"percent-encoded name", "manual://host/a%20b.html", "/bundle/Manual/a b.html"},
        {"the root itself", "manual://host/", nullptr},
        {"parent step", "manual://host/../secret.txt", nullptr},
        {"encoded parent step", "manual://host/%2e%2e/secret.txt", nullptr},
        {"upper-case encoding", "manual://host/%2E%2E/secret.txt", nullptr},
        {"encoded slash", "manual://host/css%2f..%2f..%2fsecret.txt", nullptr},
        {"backslashes", "manual://host/..%5csecret.txt", nullptr},
        {"parent step that comes back", "manual://host/css/../index.html", nullptr},
        {"NUL byte", "manual://host/index.html%00.png", nullptr},
    };
    for (const auto& row : rows) {
        const std::optional<QString> path = ManualSchemeHandler::filePath(root, QUrl(row.url));
        if (row.expected == nullptr) {
            EXPECT_FALSE(path.has_value()) << row.name << ": " << path.value_or("").toStdString();
        } else {
            EXPECT_EQ(path.value_or("<refused>").toStdString(), row.expected) << row.name;
        }
    }
}

TEST(ManualSchemeHandlerTest, AnswersFromTheCompiledInManual) {
    CarvexPlatform::TestApplication::ensure();
    const ManualSchemeHandler handler(ManualResourceLocator::main());
    ASSERT_EQ(handler.resourceLocator().entryPagePath().value_or(""), ":/Manual/index.html");

    const auto page = handler.answer(QUrl("manual://host/index.html"));
    ASSERT_TRUE(page.succeeded());
    EXPECT_EQ(page.mimeType, "text/html");
    EXPECT_EQ(page.textEncodingName, "utf-8");
    EXPECT_TRUE(page.data.startsWith("<!DOCTYPE html>"));

    const auto style = handler.answer(QUrl("manual://other/css/site.css"));
    ASSERT_TRUE(style.succeeded());
    EXPECT_EQ(style.mimeType, "text/css");
    EXPECT_EQ(style.textEncodingName, "utf-8");

    const auto logo = handler.answer(QUrl("manual://host/images/logo.svg"));
    ASSERT_TRUE(logo.succeeded());
    EXPECT_EQ(logo.mimeType, "image/svg+xml");
    EXPECT_TRUE(logo.textEncodingName.isEmpty());

    for (const char* missing : {"manual://host/missing.png", "manual://host/css", "manual://host/",
                                "manual://host/%2e%2e/Manual/index.html"}) {
        const auto answer = handler.answer(QUrl(missing));
        EXPECT_EQ(answer.failure, Failure::fileDoesNotExist) << missing;
        EXPECT_TRUE(answer.data.isEmpty()) << missing;
    }
    EXPECT_EQ(handler.answer(QUrl()).failure, Failure::fileDoesNotExist);
}

TEST(ManualSchemeHandlerTest, EveryLinkOfEveryPageResolves) {
    CarvexPlatform::TestApplication::ensure();
    const ManualSchemeHandler handler(ManualResourceLocator::main());
    const QRegularExpression reference(R"re((?:href|src)="([^"#]*)(?:#[^"]*)?")re");
    const QStringList pages = QDir(":/Manual").entryList({"*.html"}, QDir::Files);
    ASSERT_GE(pages.size(), 5);
    int local = 0;
    for (const QString& page : pages) {
        const auto answer = handler.answer(QUrl("manual://host/" + page));
        ASSERT_TRUE(answer.succeeded()) << page.toStdString();
        const QString html = QString::fromUtf8(answer.data);
        EXPECT_TRUE(html.contains("<title>")) << page.toStdString();
        for (const auto& match : reference.globalMatch(html)) {
            const QUrl target = QUrl("manual://host/" + page).resolved(QUrl(match.captured(1)));
            if (target.scheme() != "manual") {
                continue;
            }
            ++local;
            EXPECT_TRUE(handler.answer(target).succeeded())
                << page.toStdString() << " links to " << target.toString().toStdString();
        }
    }
    EXPECT_GT(local, 20);
}

TEST(ManualSchemeHandlerTest, FolderOnDiskServesOnlyFilesInsideIt) {
    DiskBundle bundle;
    const ManualSchemeHandler handler(bundle.locator());
    EXPECT_EQ(handler.answer(QUrl("manual://host/index.html")).data, "<title>Disk</title>");
    EXPECT_EQ(handler.answer(QUrl("manual://host/css/site.css")).data, "body{}");
    EXPECT_EQ(handler.answer(QUrl("manual://host/..%2fsecret.txt")).failure, Failure::fileDoesNotExist);

    // A link inside the manual that points outside it is not followed.
    ASSERT_TRUE(QFile::link(bundle.dir.filePath("secret.txt"), bundle.dir.filePath("Manual/leak.txt")));
    EXPECT_EQ(handler.answer(QUrl("manual://host/leak.txt")).failure, Failure::fileDoesNotExist);
}

TEST(ManualSchemeHandlerTest, MissingManualFailsEveryRequest) {
    QTemporaryDir empty;
    const ManualResourceLocator locator{.bundle = empty.path(), .subdirectory = "Manual", .entryFile = "index"};
    EXPECT_FALSE(locator.entryPagePath());
    EXPECT_FALSE(locator.rootFolder());
    const ManualSchemeHandler handler(locator);
    EXPECT_EQ(handler.answer(QUrl("manual://host/index.html")).failure, Failure::fileDoesNotExist);
}
