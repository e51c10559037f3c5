#pragma once

#include "Carvex/Conversion/ConversionResult.h"
#include "Carvex/Conversion/DocumentConversionService.h"
#include "Carvex/Text/FileFormat.h"

#include <QString>

#include <optional>

namespace Carvex {

// The document window's side of conversion: remembers the format of the document shown, says which
// direction is open, and names the output. Main thread only.
class DocumentConversionController {
public:
    DocumentConversionController() = default;

    const DocumentConversionService& conversionService() const { return conversionService_; }
    std::optional<FileFormat> currentFormat() const { return currentFormat_; }

    void updateFormat(std::optional<FileFormat> format) { currentFormat_ = format; }
    bool canConvertToJSON() const { return currentFormat_ == FileFormat::yaml; }
    bool canConvertToYAML() const { return currentFormat_ == FileFormat::json; }

    // Convert whatever the current format; the service's ConversionError passes through.
    ConversionResult convertToJSON(const QString& content, const std::optional<QString>& sourceName) const;
    ConversionResult convertToYAML(const QString& content, const std::optional<QString>& sourceName) const;

    // "<name>_converted.<extension>", the name cut before its last "."; "Untitled_converted.<extension>"
    // without a name.
    static QString suggestedName(const std::optional<QString>& sourceName, FileFormat format);

private:
    DocumentConversionService conversionService_;
    std::optional<FileFormat> currentFormat_;
};

}  // namespace Carvex
