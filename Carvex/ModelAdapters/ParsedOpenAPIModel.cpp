#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"

#include "Carvex/ModelAdapters/VersionedDocumentAdapter.h"

namespace Carvex {

namespace {
const ParsedOpenAPIModel::Document30 kNo30;
const ParsedOpenAPIModel::Document31 kNo31;
} // namespace

ParsedOpenAPIModel::ParsedOpenAPIModel(const VoziZazIre::OpenAPIDocument& document)
    : value_(std::visit([](const auto& shared) -> std::variant<Document30, Document31> { return shared; },
                        document.value()))
{
}

std::shared_ptr<const OpenAPIDocumentAdapter> ParsedOpenAPIModel::makeAdapter() const
{
    return adapter_->get([this]() -> std::shared_ptr<const OpenAPIDocumentAdapter> {
        if (const Document30* document = std::get_if<0>(&value_))
            return std::make_shared<const OpenAPI30DocumentAdapter>(*document);
        return std::make_shared<const OpenAPI31DocumentAdapter>(std::get<1>(value_));
    });
}

const ParsedOpenAPIModel::Document30& ParsedOpenAPIModel::document30() const noexcept
{
    const Document30* document = std::get_if<0>(&value_);
    return document ? *document : kNo30;
}

const ParsedOpenAPIModel::Document31& ParsedOpenAPIModel::document31() const noexcept
{
    const Document31* document = std::get_if<1>(&value_);
    return document ? *document : kNo31;
}

} // namespace Carvex
