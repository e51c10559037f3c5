#pragma once

#include "Carvex/ModelAdapters/AdapterMemo.h"
#include "Carvex/ModelAdapters/ModelOpenAPIVersion.h"
#include "kit/facade/OpenAPIDocument.h"

#include <memory>
#include <optional>
#include <variant>

namespace Carvex {

class OpenAPIDocumentAdapter;

// The typed document of the last successful parse: an OpenAPI 3.0 or 3.1 document, shared with the
// library's result (never copied). Cheap to copy and safe to hand between threads: the document is
// immutable.
class ParsedOpenAPIModel {
public:
    using Document30 = VoziZazIre::OpenAPIDocument::Document30;
    using Document31 = VoziZazIre::OpenAPIDocument::Document31;

    // The document must not be null.
    static ParsedOpenAPIModel v3_0(Document30 document) { return ParsedOpenAPIModel(std::move(document)); }
    static ParsedOpenAPIModel v3_1(Document31 document) { return ParsedOpenAPIModel(std::move(document)); }
    // The same case as the facade's typed document, sharing it.
    explicit ParsedOpenAPIModel(const VoziZazIre::OpenAPIDocument& document);

    // openAPI30 or openAPI31 after the case; never unknown.
    ModelOpenAPIVersion version() const noexcept
    {
        return value_.index() == 0 ? ModelOpenAPIVersion::openAPI30 : ModelOpenAPIVersion::openAPI31;
    }

    // The version-neutral adapter over the document (OpenAPI30DocumentAdapter or OpenAPI31DocumentAdapter),
    // sharing it. Consumers walk the model through it and never switch on the version. Made once and shared
    // by the copies of this model, so what the adapters work out is reused by later walks.
    std::shared_ptr<const OpenAPIDocumentAdapter> makeAdapter() const;

    // The hash of the text the model was parsed from (qHash of the whole text, seed 0), when the parser
    // recorded it: a model whose hash differs from that of the current text is stale.
    std::optional<std::size_t> sourceTextHash() const noexcept { return sourceTextHash_; }
    ParsedOpenAPIModel withSourceTextHash(std::size_t hash) const
    {
        ParsedOpenAPIModel copy = *this;
        copy.sourceTextHash_ = hash;
        return copy;
    }

    // The document of the case, or null for the other case.
    const Document30& document30() const noexcept;
    const Document31& document31() const noexcept;
    const std::variant<Document30, Document31>& value() const noexcept { return value_; }

    // The same case sharing the same document object (the text hash is not compared).
    friend bool operator==(const ParsedOpenAPIModel& a, const ParsedOpenAPIModel& b) noexcept
    {
        return a.value_ == b.value_;
    }

private:
    explicit ParsedOpenAPIModel(Document30 document) : value_(std::move(document)) {}
    explicit ParsedOpenAPIModel(Document31 document) : value_(std::move(document)) {}

    std::variant<Document30, Document31> value_;
    std::optional<std::size_t> sourceTextHash_;
    std::shared_ptr<AdapterMemo<std::shared_ptr<const OpenAPIDocumentAdapter>>> adapter_ =
        std::make_shared<AdapterMemo<std::shared_ptr<const OpenAPIDocumentAdapter>>>();
};

} // namespace Carvex
