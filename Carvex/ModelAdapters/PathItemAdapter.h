#pragma once

#include "Carvex/ModelAdapters/HTTPMethod.h"
#include "Carvex/ModelAdapters/OperationAdapter.h"
#include "Carvex/ModelAdapters/ParameterAdapter.h"
#include "Carvex/ModelAdapters/RefOrValue.h"
#include "Carvex/ModelAdapters/ServerAdapter.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Carvex {

// One path item of either version.
class PathItemAdapter {
public:
    struct MethodOperation {
        HTTPMethod method;
        std::shared_ptr<const OperationAdapter> operation;
    };

    virtual ~PathItemAdapter() = default;
    virtual std::optional<std::string> summary() const = 0;
    virtual std::optional<std::string> description() const = 0;
    virtual std::optional<std::vector<RefOrValue<ParameterAdapter>>> parameters() const = 0;
    virtual std::optional<std::vector<std::shared_ptr<const ServerAdapter>>> servers() const = 0;
    // The operation under one method key; null when the key is absent.
    virtual std::shared_ptr<const OperationAdapter> get() const = 0;
    virtual std::shared_ptr<const OperationAdapter> post() const = 0;
    virtual std::shared_ptr<const OperationAdapter> put() const = 0;
    virtual std::shared_ptr<const OperationAdapter> delete_() const = 0;
    virtual std::shared_ptr<const OperationAdapter> patch() const = 0;
    virtual std::shared_ptr<const OperationAdapter> head() const = 0;
    virtual std::shared_ptr<const OperationAdapter> options() const = 0;
    virtual std::shared_ptr<const OperationAdapter> trace() const = 0;
    // The operations present, in the version's fixed method order: 3.0 lists get, post, put, delete,
    // patch, head, options, trace; 3.1 lists get, put, post, delete, options, head, patch, trace.
    virtual std::vector<MethodOperation> allOperations() const = 0;

    // The operation under the method's key; null when the key is absent.
    std::shared_ptr<const OperationAdapter> operation(HTTPMethod method) const
    {
        switch (method) {
        case HTTPMethod::get: return get();
        case HTTPMethod::post: return post();
        case HTTPMethod::put: return put();
        case HTTPMethod::patch: return patch();
        case HTTPMethod::delete_: return delete_();
        case HTTPMethod::head: return head();
        case HTTPMethod::options: return options();
        case HTTPMethod::trace: return trace();
        }
        return nullptr;
    }
};

} // namespace Carvex
