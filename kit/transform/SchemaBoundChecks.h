#pragma once
// Contradictory or unsatisfiable numeric, length and pattern constraints of one schema node.

#include "kit/core/GenericNode.h"
#include "kit/transform/ModelVersion.h"
#include "kit/transform/SchemaMembers.h"
#include "kit/transform/TransformContext.h"

namespace VoziZazIreTransform {

// Looks the bound members up on the schema node itself and records SCH-001 to SCH-003 (3.0), or SCH-001 to
// SCH-009 and SCH-013 (3.1), at the schema node, at level high only. Never throws.
template <class V>
void checkSchemaBounds(const VoziZazIreCore::GenericNode& node, TransformContext& context);
// The same on the members the schema reader has already found.
template <class V>
void checkSchemaBounds(const SchemaMembers& members, TransformContext& context);

}  // namespace VoziZazIreTransform
