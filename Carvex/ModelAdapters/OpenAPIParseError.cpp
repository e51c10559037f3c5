#include "Carvex/ModelAdapters/OpenAPIParseError.h"

namespace Carvex {

QString OpenAPIParseError::localizedDescription() const
{
    switch (kind_) {
    case Kind::decodingFailed: return QStringLiteral("Failed to parse OpenAPI document: ") + payload_;
    case Kind::unsupportedVersion:
        return QStringLiteral("OpenAPI version '") + payload_ + QStringLiteral("' is not supported. Please use OpenAPI 3.1.");
    case Kind::unsupportedFormat: return QStringLiteral("The document format is not supported. Please use JSON or YAML.");
    case Kind::emptyDocument: return QStringLiteral("The document is empty or contains no parseable content.");
    }
    return {};
}

} // namespace Carvex
