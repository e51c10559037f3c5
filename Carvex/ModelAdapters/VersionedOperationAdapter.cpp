#include "Carvex/ModelAdapters/VersionedOperationAdapter.h"

#include "Carvex/ModelAdapters/AdapterConversion.h"
#include "Carvex/ModelAdapters/VersionedParameterAdapter.h"
#include "Carvex/ModelAdapters/VersionedRequestBodyAdapter.h"
#include "Carvex/ModelAdapters/VersionedResponsesAdapter.h"
#include "Carvex/ModelAdapters/VersionedSecurityRequirementAdapter.h"
#include "Carvex/ModelAdapters/VersionedServerAdapter.h"

namespace Carvex {

namespace Convert = AdapterConversion;

template<class Model>
std::optional<int64_t> VersionedOperationAdapter<Model>::sourceLine() const
{
    return Convert::startLine(operation->location);
}

template<class Model>
std::optional<OperationAdapter::SourceRange> VersionedOperationAdapter<Model>::sourceRange() const
{
    const auto& range = operation->location.locationRange;
    return SourceRange{range.start.offset, range.end.offset};
}

template<class Model>
std::optional<std::string> VersionedOperationAdapter<Model>::summary() const
{
    return operation->summary.toOptional();
}

template<class Model>
std::optional<std::string> VersionedOperationAdapter<Model>::description() const
{
    return operation->description.toOptional();
}

template<class Model>
std::optional<std::string> VersionedOperationAdapter<Model>::operationId() const
{
    return operation->operationId;
}

template<class Model>
bool VersionedOperationAdapter<Model>::deprecated() const
{
    return Convert::flag(operation->deprecated);
}

template<class Model>
std::vector<std::string> VersionedOperationAdapter<Model>::tags() const
{
    return operation->tags.value_or(std::vector<std::string>());
}

template<class Model>
std::optional<std::vector<RefOrValue<ParameterAdapter>>> VersionedOperationAdapter<Model>::parameters() const
{
    return parameters_.get([&]() -> typename decltype(parameters_)::Value {
        return Convert::refOrValueList<ParameterAdapter, VersionedParameterAdapter<Model>>(operation->parameters, document, document);
    });
}

template<class Model>
std::optional<RefOrValue<RequestBodyAdapter>> VersionedOperationAdapter<Model>::requestBody() const
{
    return requestBody_.get([&]() -> typename decltype(requestBody_)::Value {
        if (!operation->requestBody)
            return std::nullopt;
        return Convert::refOrValue<RequestBodyAdapter, VersionedRequestBodyAdapter<Model>>(*operation->requestBody, document, document);
    });
}

template<class Model>
std::shared_ptr<const ResponsesAdapter> VersionedOperationAdapter<Model>::responses() const
{
    return responses_.get([&]() -> typename decltype(responses_)::Value {
        return std::make_shared<const VersionedResponsesAdapter<Model>>(operation->responses.get(), document);
    });
}

template<class Model>
std::optional<std::vector<std::shared_ptr<const ServerAdapter>>> VersionedOperationAdapter<Model>::servers() const
{
    if (!operation->servers)
        return std::nullopt;
    return Convert::adapterList<ServerAdapter, VersionedServerAdapter<Model>>(*operation->servers);
}

template<class Model>
std::optional<std::vector<std::shared_ptr<const SecurityRequirementAdapter>>>
VersionedOperationAdapter<Model>::security() const
{
    if (!operation->security)
        return std::nullopt;
    return Convert::adapterList<SecurityRequirementAdapter, VersionedSecurityRequirementAdapter<Model>>(
        *operation->security);
}

template<class Model>
std::optional<std::string> VersionedOperationAdapter<Model>::externalDocsURL() const
{
    if (!operation->externalDocs)
        return std::nullopt;
    return operation->externalDocs->url;
}

template class VersionedOperationAdapter<OpenAPI30Model>;
template class VersionedOperationAdapter<OpenAPI31Model>;

} // namespace Carvex
