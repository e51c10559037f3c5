#pragma once

#include "Carvex/ModelAdapters/RefOrValue.h"
#include "Carvex/ModelAdapters/ResponseAdapter.h"

#include <optional>
#include <string>
#include <vector>

namespace Carvex {

// The responses of an operation, of either version.
class ResponsesAdapter {
public:
    struct Item {
        std::string statusCode;
        RefOrValue<ResponseAdapter> response;
    };

    virtual ~ResponsesAdapter() = default;
    // Every entry, "default" included, in the order written; the key unchanged as status code.
    virtual std::vector<Item> items() const = 0;
    // The entry under "default".
    virtual std::optional<RefOrValue<ResponseAdapter>> defaultResponse() const = 0;
};

} // namespace Carvex
