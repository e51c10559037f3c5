#pragma once

#include "Carvex/ModelAdapters/ExampleAdapter.h"
#include "Carvex/ModelAdapters/OpenAPI30Model.h"
#include "Carvex/ModelAdapters/OpenAPI31Model.h"

#include <memory>

namespace Carvex {

// ExampleAdapter over the Example object of one version's model (Model: OpenAPI30Model or OpenAPI31Model).
template<class Model>
class VersionedExampleAdapter final : public ExampleAdapter {
public:
    explicit VersionedExampleAdapter(std::shared_ptr<const typename Model::Example> example) : example(std::move(example)) {}

    std::optional<std::string> summary() const override { return example->summary.toOptional(); }
    std::optional<std::string> description() const override { return example->description.toOptional(); }
    std::optional<VoziZazIreCore::AnyValue> value() const override { return example->value; }
    std::optional<std::string> externalValue() const override { return example->externalValue.toOptional(); }

    const std::shared_ptr<const typename Model::Example> example;
};

using OpenAPI30ExampleAdapter = VersionedExampleAdapter<OpenAPI30Model>;
using OpenAPI31ExampleAdapter = VersionedExampleAdapter<OpenAPI31Model>;

} // namespace Carvex
