#include "Carvex/Conversion/DocumentConversionController.h"

namespace Carvex {

ConversionResult DocumentConversionController::convertToJSON(const QString& content,
                                                              const std::optional<QString>& sourceName) const {
    QString json = conversionService_.convertToJSON(content);
    return ConversionResult{std::move(json), FileFormat::json, suggestedName(sourceName, FileFormat::json)};
}

ConversionResult DocumentConversionController::convertToYAML(const QString& content,
                                                              const std::optional<QString>& sourceName) const {
    QString yaml = conversionService_.convertToYAML(content);
    return ConversionResult{std::move(yaml), FileFormat::yaml, suggestedName(sourceName, FileFormat::yaml)};
}

QString DocumentConversionController::suggestedName(const std::optional<QString>& sourceName, FileFormat format) {
    const QString extension = format == FileFormat::json ? QStringLiteral("json") : QStringLiteral("yaml");
    if (!sourceName || sourceName->isEmpty()) return QStringLiteral("Untitled_converted.") + extension;
    const qsizetype dot = sourceName->lastIndexOf(u'.');
    const QString base = dot < 0 ? *sourceName : sourceName->left(dot);
    return base + QStringLiteral("_converted.") + extension;
}

}  // namespace Carvex
