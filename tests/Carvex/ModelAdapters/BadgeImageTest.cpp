#include "Carvex/ModelAdapters/HTTPMethod.h"
#include "platform/TestApplication.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

using Carvex::HTTPMethod;

// The columns holding text pixels of a badge (opaque, at least halfway from the badge colour to
// white in every channel), as [first, last]; none is (-1, -1).
std::pair<int, int> textColumns(const QImage& image, const QColor& background) {
    auto halfway = [](int pixel, int badge) { return pixel * 2 >= badge + 255; };
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() == 255 && halfway(pixel.red(), background.red()) &&
                halfway(pixel.green(), background.green()) && halfway(pixel.blue(), background.blue())) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

// Every badge has one size at a ratio, the widest name's; each name lies inside its badge with room
// on both sides.
TEST(BadgeImageTest, EveryMethodHasOneSizeAndItsNameInside) {
    CarvexPlatform::TestApplication::ensure();
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        const QSizeF size = Carvex::badgeImage(HTTPMethod::get, ratio).deviceIndependentSize();
        EXPECT_GT(size.width(), size.height());
        for (const HTTPMethod method : Carvex::allHTTPMethods) {
            SCOPED_TRACE(std::string(Carvex::rawValue(method)));
            const QPixmap badge = Carvex::badgeImage(method, ratio);
            EXPECT_EQ(badge.deviceIndependentSize(), size);
            EXPECT_EQ(badge.devicePixelRatio(), ratio);
            EXPECT_EQ(badge.width(), qRound(size.width() * ratio));
            const QImage image = badge.toImage();
            const QColor centreLeft = image.pixelColor(int(2 * ratio), image.height() / 2);
            const QColor colour = Carvex::badgeColor(method);
            EXPECT_LE(std::abs(centreLeft.red() - colour.red()) + std::abs(centreLeft.green() - colour.green()) +
                          std::abs(centreLeft.blue() - colour.blue()),
                      3)
                << "filled in the badge colour";
            EXPECT_LT(image.pixelColor(0, 0).alpha(), 128) << "rounded corners";
            const auto [first, last] = textColumns(image, Carvex::badgeColor(method));
            ASSERT_GE(first, 0) << "the name is drawn";
            // Six points each side around the widest name; a pixel of anti-aliasing either way.
            EXPECT_GE(first, 5 * ratio - 1);
            EXPECT_LE(last, image.width() - 1 - (5 * ratio - 1));
        }
    }
    EXPECT_EQ(Carvex::badgeImage(HTTPMethod::post, 1.0).cacheKey(), Carvex::badgeImage(HTTPMethod::post, 1.0).cacheKey())
        << "drawn once";
    for (const qreal odd : {0.0, -3.0, std::numeric_limits<qreal>::quiet_NaN(), 1e9}) {
        EXPECT_FALSE(Carvex::badgeImage(HTTPMethod::trace, odd).isNull());
    }
}

}  // namespace
