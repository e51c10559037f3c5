#pragma once
#include <QImage>
#include <QString>
#include <QStringList>
#include <optional>

namespace CarvexPlatform {

// Symbol images by their system names ("info.circle.fill", ...), drawn in black on a transparent
// square so that callers can tint them (for example by filling with the source-atop operation).
class SystemSymbol {
public:
    // The symbol at `pointSize` (the image is a little larger, like a symbol's bounding box), with
    // `description` as its accessibility text; nothing for an unknown name or a size that is not
    // positive.
    static std::optional<QImage> image(const QString& name, double pointSize,
                                       const QString& description = {});
    static QStringList names();
};

}  // namespace CarvexPlatform
