#pragma once

#include "Carvex/ModelAdapters/OpenAPIModelParsing.h"
#include "kit/facade/OpenApiParser.h"

#include <QByteArray>

#include <optional>

namespace Carvex {

// Parses a document's text with the syntax of its own format, without validation, and sorts every
// failure into one of the four kinds. Keeps nothing between calls.
class OpenAPIModelParsingService final : public OpenAPIModelParsing {
public:
    OpenAPIModelParsingService() = default;

    OpenAPIModelParseResult parse(const QString& text, DocumentFormat format) const override;

    // The text as UTF-8, or nothing when it holds a surrogate without its partner (which would
    // otherwise be replaced silently).
    static std::optional<QByteArray> strictUtf8(const QString& text);
    // True when the text holds nothing but white space and line breaks.
    static bool isBlank(const QString& text);

    VoziZazIre::OpenApiParser parser;
};

} // namespace Carvex
