#pragma once

#include "Carvex/Documents/NewDocumentConfiguration.h"
#include "Carvex/Documents/ValidationResult.h"

namespace Carvex {

// Checks a new-document configuration before its skeleton is written.
class NewDocumentConfigurationValidator {
public:
    static inline const QString invalidPathMessage =
        QStringLiteral("The path must start with '/' and contain no spaces.");
    static inline const QString noMethodMessage = QStringLiteral("At least one HTTP method must be selected.");

    // Without a first path: success whatever the methods. With one: a path of more than a bare "/",
    // holding no blank, and at least one method.
    ValidationResult validate(const NewDocumentConfiguration& configuration) const;

    // `path` with a leading "/" when it is not empty and lacks one; an empty path stays empty.
    static QString normalizePath(const QString& path);
};

}  // namespace Carvex
