#include "Carvex/Documents/NewDocumentConfigurationValidator.h"

namespace Carvex {

ValidationResult NewDocumentConfigurationValidator::validate(const NewDocumentConfiguration& configuration) const {
    if (!configuration.includeInitialPath) {
        return ValidationResult::success();
    }
    if (!configuration.initialPath || configuration.initialPath->isEmpty()) {
        return ValidationResult::failure(invalidPathMessage);
    }
    const QString path = normalizePath(*configuration.initialPath);
    if (path.size() <= 1 || path.contains(QLatin1Char(' '))) {
        return ValidationResult::failure(invalidPathMessage);
    }
    if (configuration.methods.empty()) {
        return ValidationResult::failure(noMethodMessage);
    }
    return ValidationResult::success();
}

QString NewDocumentConfigurationValidator::normalizePath(const QString& path) {
    if (path.isEmpty() || path.startsWith(QLatin1Char('/'))) {
        return path;
    }
    return QLatin1Char('/') + path;
}

}  // namespace Carvex
