#pragma once

#include "Carvex/ModelAdapters/OperationDetailsBuilding.h"

namespace Carvex {

// Builds the details of one operation through the version-neutral adapters:
// - parameters: the path item's, then the operation's, each operation parameter replacing those of the
//   same name and location; references that do not resolve are left out; sorted required first, then by
//   location raw value, then by name with the localized standard comparison;
// - the request body and responses, resolving their references one step; media types in document order;
//   the schema described is that of the first of application/json, application/xml, text/plain with a
//   schema, else of the first media type; the schema named is chosen the same way among references;
// - responses sorted by numeric status code, then other keys, then "default";
// - the operation's own servers and security when it declares them (even empty), else the document's.
// Pure; keeps nothing between calls.
class OperationDetailsBuilder final : public OperationDetailsBuilding {
public:
    std::optional<OperationDetailsViewModel> build(const OperationID& id, const ParsedOpenAPIModel& model) const override;
};

} // namespace Carvex
