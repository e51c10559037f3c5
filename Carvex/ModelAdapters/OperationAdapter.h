#pragma once

#include "Carvex/ModelAdapters/ParameterAdapter.h"
#include "Carvex/ModelAdapters/RefOrValue.h"
#include "Carvex/ModelAdapters/RequestBodyAdapter.h"
#include "Carvex/ModelAdapters/ResponsesAdapter.h"
#include "Carvex/ModelAdapters/SecurityRequirementAdapter.h"
#include "Carvex/ModelAdapters/ServerAdapter.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Carvex {

// One operation of either version.
class OperationAdapter {
public:
    struct SourceRange {
        int64_t startOffset = 0;
        int64_t endOffset = 0;
    };

    virtual ~OperationAdapter() = default;
    // Start line of the operation object.
    virtual std::optional<int64_t> sourceLine() const = 0;
    // Start and end offsets of the operation object, in the parser's units.
    virtual std::optional<SourceRange> sourceRange() const = 0;
    virtual std::optional<std::string> summary() const = 0;
    virtual std::optional<std::string> description() const = 0;
    virtual std::optional<std::string> operationId() const = 0;
    virtual bool deprecated() const = 0;
    virtual std::vector<std::string> tags() const = 0;
    // The operation's own parameters only; path-level ones are on the path item.
    virtual std::optional<std::vector<RefOrValue<ParameterAdapter>>> parameters() const = 0;
    virtual std::optional<RefOrValue<RequestBodyAdapter>> requestBody() const = 0;
    virtual std::shared_ptr<const ResponsesAdapter> responses() const = 0;
    virtual std::optional<std::vector<std::shared_ptr<const ServerAdapter>>> servers() const = 0;
    virtual std::optional<std::vector<std::shared_ptr<const SecurityRequirementAdapter>>> security() const = 0;
    // The url of externalDocs.
    virtual std::optional<std::string> externalDocsURL() const = 0;
};

} // namespace Carvex
