// The completion list's icons: one image per kind, loaded once, tinted per kind; a missing image
// is no icon and stays uncached.

#include "Carvex/Completion/CompletionIconRenderer.h"
#include "platform/SystemColor.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <set>

namespace Carvex {
namespace {

using CarvexPlatform::SystemColor;

const std::vector<CompletionItemKind> allKinds = {
    CompletionItemKind::property,  CompletionItemKind::value,     CompletionItemKind::keyword,
    CompletionItemKind::snippet,   CompletionItemKind::pathItem,  CompletionItemKind::operation,
    CompletionItemKind::parameter, CompletionItemKind::requestBody, CompletionItemKind::response,
    CompletionItemKind::server,    CompletionItemKind::security,  CompletionItemKind::schema,
    CompletionItemKind::tag,       CompletionItemKind::component, CompletionItemKind::link,
    CompletionItemKind::callback,  CompletionItemKind::webhook,   CompletionItemKind::unknown,
};

TEST(CompletionIconRendererTest, EveryKindHasItsImageAndTint) {
    CarvexPlatform::TestApplication::ensure();
    CompletionIconRenderer renderer;
    std::set<QString> names;
    for (const CompletionItemKind kind : allKinds) {
        const QString name = CompletionIconRenderer::imageName(kind);
        names.insert(name);
        const std::shared_ptr<QSvgRenderer> icon = renderer.icon(kind);
        ASSERT_NE(icon, nullptr) << name.toStdString();
        EXPECT_TRUE(icon->isValid());
        for (const bool isDark : {false, true}) {
            EXPECT_TRUE(CarvexPlatform::systemColor(CompletionIconRenderer::tintColor(kind), isDark).isValid());
        }
        // Drawn at 16 points for a pixel ratio of 2, every covered pixel in the tint.
        const QColor tint = CarvexPlatform::systemColor(CompletionIconRenderer::tintColor(kind), false);
        const QImage image = renderer.pixmap(kind, 2.0, tint).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(32, 32)) << name.toStdString();
        EXPECT_DOUBLE_EQ(image.devicePixelRatio(), 2.0);
        int covered = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                // Fully covered pixels carry the tint, its alpha included (some tints are translucent).
                const QColor pixel = image.pixelColor(x, y);
                if (pixel.alpha() == tint.alpha()) {
                    ++covered;
                    EXPECT_NEAR(pixel.red(), tint.red(), 2) << name.toStdString();
                    EXPECT_NEAR(pixel.green(), tint.green(), 2) << name.toStdString();
                    EXPECT_NEAR(pixel.blue(), tint.blue(), 2) << name.toStdString();
                }
            }
        }
        EXPECT_GT(covered, 20) << name.toStdString() << " draws something";
    }
    EXPECT_EQ(names.size(), 17u) << "property shares the keyword image";
    EXPECT_EQ(CompletionIconRenderer::imageName(CompletionItemKind::property), QStringLiteral("keyword"));
    EXPECT_EQ(CompletionIconRenderer::tintColor(CompletionItemKind::property), SystemColor::systemBlue);
    EXPECT_EQ(CompletionIconRenderer::tintColor(CompletionItemKind::keyword), SystemColor::systemPurple);
    EXPECT_EQ(CompletionIconRenderer::tintColor(CompletionItemKind::unknown), SystemColor::secondaryLabel);
}

TEST(CompletionIconRendererTest, LoadsOnceAndNeverCachesAMissingImage) {
    CarvexPlatform::TestApplication::ensure();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QFile::copy(QStringLiteral(":/CompletionIcons/keyword.svg"), folder.filePath(QStringLiteral("keyword.svg"))));
    {
        QFile broken(folder.filePath(QStringLiteral("value.svg")));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("<svg");
    }
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("schema.svg")));  // a folder in place of an image

    CompletionIconRenderer renderer(folder.path());
    const std::shared_ptr<QSvgRenderer> first = renderer.icon(CompletionItemKind::keyword);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(renderer.icon(CompletionItemKind::keyword), first) << "the same image object";
    EXPECT_EQ(renderer.icon(CompletionItemKind::property), renderer.icon(CompletionItemKind::property));
    for (const CompletionItemKind missing :
         {CompletionItemKind::tag, CompletionItemKind::value, CompletionItemKind::schema}) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            EXPECT_EQ(renderer.icon(missing), nullptr);
            EXPECT_TRUE(renderer.pixmap(missing, 1.0, Qt::red).isNull());
            EXPECT_FALSE(renderer.isCached(missing));
        }
    }
    // Once the image is there, the next request finds it.
    ASSERT_TRUE(QFile::copy(QStringLiteral(":/CompletionIcons/tag.svg"), folder.filePath(QStringLiteral("tag.svg"))));
    EXPECT_NE(renderer.icon(CompletionItemKind::tag), nullptr);
    EXPECT_TRUE(renderer.isCached(CompletionItemKind::tag));
}

}  // namespace
}  // namespace Carvex
