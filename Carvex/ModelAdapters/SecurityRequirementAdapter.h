#pragma once

#include <string>
#include <vector>

namespace Carvex {

// One security requirement of either version: the schemes it names, each with its scopes.
class SecurityRequirementAdapter {
public:
    struct Item {
        std::string schemeName;
        std::vector<std::string> scopes;
    };

    virtual ~SecurityRequirementAdapter() = default;
    // One element per scheme, in the order written.
    virtual std::vector<Item> items() const = 0;
};

} // namespace Carvex
