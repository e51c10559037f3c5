#include "Carvex/Documents/NewDocumentConfigurationValidator.h"

#include <algorithm>

namespace Carvex {

ValidationResult NewDocumentConfigurationValidator::validate(const NewDocumentConfiguration& configuration) const {
    if (!configuration.includeInitialPath) {
        return ValidationResult::success();
    }
    if (!configuration.initialPath || configuration.initialPath->isEmpty()) {
        return ValidationResult::failure(invalidPathMessage);
    }
    const QString path = normalizePath(*configuration.initialPath);
    // Any white space or control character counts as a space: a tab or a line break would end the
    // path's key in the YAML skeleton early, and no such path names a URL.
    const bool hasSpace = std::any_of(path.begin(), path.end(), [](QChar character) {
        return character.isSpace() || character.category() == QChar::Other_Control;
    });
    if (path.size() <= 1 || hasSpace) {
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
