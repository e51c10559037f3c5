#include "Carvex/Documents/DocumentTypes.h"

#include <QFileInfo>

namespace Carvex {

std::optional<FileFormat> DocumentTypes::fileFormat(const QString& typeName) {
    if (typeName == jsonDocument || typeName == publicJSON) {
        return FileFormat::json;
    }
    if (typeName == yamlDocument || typeName == yamlUTI) {
        return FileFormat::yaml;
    }
    return std::nullopt;
}

std::optional<QString> DocumentTypes::fileNameExtension(const QString& typeName) {
    if (const auto format = fileFormat(typeName)) {
        return fileNameExtension(*format);
    }
    return std::nullopt;
}

QString DocumentTypes::fileNameExtension(FileFormat format) {
    return format == FileFormat::json ? QStringLiteral("json") : QStringLiteral("yaml");
}

const QString& DocumentTypes::typeName(FileFormat format) {
    return format == FileFormat::json ? jsonDocument : yamlDocument;
}

std::optional<QString> DocumentTypes::typeNameForPath(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("json")) {
        return jsonDocument;
    }
    if (suffix == QLatin1String("yaml") || suffix == QLatin1String("yml")) {
        return yamlDocument;
    }
    return std::nullopt;
}

}  // namespace Carvex
