#pragma once

#include "Carvex/CaretContext/DocumentFormat.h"
#include "Carvex/ModelAdapters/OpenAPIParseError.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"

#include <QString>

#include <variant>

namespace Carvex {

// The outcome of one parse: the model, or why there is none.
class OpenAPIModelParseResult {
public:
    OpenAPIModelParseResult(ParsedOpenAPIModel model) : value_(std::move(model)) {}
    OpenAPIModelParseResult(OpenAPIParseError error) : value_(std::move(error)) {}

    bool isSuccess() const noexcept { return value_.index() == 0; }
    // The model of a success, else null.
    const ParsedOpenAPIModel* model() const noexcept { return std::get_if<0>(&value_); }
    // The error of a failure, else null.
    const OpenAPIParseError* error() const noexcept { return std::get_if<1>(&value_); }

private:
    std::variant<ParsedOpenAPIModel, OpenAPIParseError> value_;
};

// Turns a document's text into its typed model. Never throws: every failure is a failure value.
class OpenAPIModelParsing {
public:
    virtual ~OpenAPIModelParsing() = default;
    virtual OpenAPIModelParseResult parse(const QString& text, DocumentFormat format) const = 0;
};

} // namespace Carvex
