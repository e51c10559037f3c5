#pragma once

#include "Carvex/Text/FileFormat.h"

#include <QString>
#include <optional>

namespace Carvex {

// The application's declared document types: two names per format, compared exactly.
class DocumentTypes {
public:
    static inline const QString jsonDocument = QStringLiteral("JSON Document");
    static inline const QString publicJSON = QStringLiteral("public.json");
    static inline const QString yamlDocument = QStringLiteral("YAML Document");
    static inline const QString yamlUTI = QStringLiteral("org.yaml.yaml");

    // The format of a type, or nothing for a type not declared here.
    static std::optional<FileFormat> fileFormat(const QString& typeName);
    // "json" or "yaml" for a declared type, nothing otherwise.
    static std::optional<QString> fileNameExtension(const QString& typeName);
    // The type a new document of `format` gets: "JSON Document" or "YAML Document".
    static const QString& typeName(FileFormat format);
    // The type of a file by its name's extension ("json"; "yaml" or "yml", any case), or nothing.
    static std::optional<QString> typeNameForPath(const QString& path);
    // "json" or "yaml".
    static QString fileNameExtension(FileFormat format);
};

}  // namespace Carvex
