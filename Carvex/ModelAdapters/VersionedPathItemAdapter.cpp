#include "Carvex/ModelAdapters/VersionedPathItemAdapter.h"

#include "Carvex/ModelAdapters/AdapterConversion.h"
#include "Carvex/ModelAdapters/VersionedOperationAdapter.h"
#include "Carvex/ModelAdapters/VersionedParameterAdapter.h"
#include "Carvex/ModelAdapters/VersionedServerAdapter.h"

namespace Carvex {

namespace Convert = AdapterConversion;

namespace {

template<class Model>
std::shared_ptr<const OperationAdapter> operationAdapter(const std::shared_ptr<const typename Model::Operation>& operation,
                                                         const std::shared_ptr<const typename Model::Document>& document)
{
    if (!operation)
        return nullptr;
    return std::make_shared<const VersionedOperationAdapter<Model>>(operation.get(), document);
}

} // namespace

template<class Model>
std::optional<std::string> VersionedPathItemAdapter<Model>::summary() const
{
    return pathItem->summary.toOptional();
}

template<class Model>
std::optional<std::string> VersionedPathItemAdapter<Model>::description() const
{
    return pathItem->description.toOptional();
}

template<class Model>
std::optional<std::vector<RefOrValue<ParameterAdapter>>> VersionedPathItemAdapter<Model>::parameters() const
{
    return parameters_.get([&]() -> typename decltype(parameters_)::Value {
        return Convert::refOrValueList<ParameterAdapter, VersionedParameterAdapter<Model>>(pathItem->parameters, document, document);
    });
}

template<class Model>
std::optional<std::vector<std::shared_ptr<const ServerAdapter>>> VersionedPathItemAdapter<Model>::servers() const
{
    if (!pathItem->servers)
        return std::nullopt;
    return Convert::adapterList<ServerAdapter, VersionedServerAdapter<Model>>(*pathItem->servers);
}

template<class Model>
std::shared_ptr<const OperationAdapter> VersionedPathItemAdapter<Model>::get() const
{
    return operationAdapter<Model>(pathItem->get, document);
}

template<class Model>
std::shared_ptr<const OperationAdapter> VersionedPathItemAdapter<Model>::post() const
{
    return operationAdapter<Model>(pathItem->post, document);
}

template<class Model>
std::shared_ptr<const OperationAdapter> VersionedPathItemAdapter<Model>::put() const
{
    return operationAdapter<Model>(pathItem->put, document);
}

template<class Model>
std::shared_ptr<const OperationAdapter> VersionedPathItemAdapter<Model>::delete_() const
{
    return operationAdapter<Model>(pathItem->delete_, document);
}

template<class Model>
std::shared_ptr<const OperationAdapter> VersionedPathItemAdapter<Model>::patch() const
{
    return operationAdapter<Model>(pathItem->patch, document);
}

template<class Model>
std::shared_ptr<const OperationAdapter> VersionedPathItemAdapter<Model>::head() const
{
    return operationAdapter<Model>(pathItem->head, document);
}

template<class Model>
std::shared_ptr<const OperationAdapter> VersionedPathItemAdapter<Model>::options() const
{
    return operationAdapter<Model>(pathItem->options, document);
}

template<class Model>
std::shared_ptr<const OperationAdapter> VersionedPathItemAdapter<Model>::trace() const
{
    return operationAdapter<Model>(pathItem->trace, document);
}

template<class Model>
std::vector<PathItemAdapter::MethodOperation> VersionedPathItemAdapter<Model>::allOperations() const
{
    std::vector<MethodOperation> result;
    for (const auto& [method, operation] : Model::operations(*pathItem))
        result.push_back({method, std::make_shared<const VersionedOperationAdapter<Model>>(operation.get(), document)});
    return result;
}

template class VersionedPathItemAdapter<OpenAPI30Model>;
template class VersionedPathItemAdapter<OpenAPI31Model>;

} // namespace Carvex
