#pragma once
#include "kit/core/GenericNode.h"
#include "kit/core/OrderedMap.h"

namespace VoziZazIreExampleGeneration {

// The examples of one operation.
struct OperationExampleResult {
  // The request body's example; null when the operation has no inline body or it gave none.
  VoziZazIreCore::NodePtr requestBody;
  // One example per selected response that gave one, under its status-code key as written.
  VoziZazIreCore::OrderedMap<VoziZazIreCore::NodePtr> responses;
  // One example per included parameter, under its name alone (of two with one name, the later wins).
  VoziZazIreCore::OrderedMap<VoziZazIreCore::NodePtr> parameters;
};

}  // namespace VoziZazIreExampleGeneration
