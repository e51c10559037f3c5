#pragma once
#include <vector>

#include "kit/core/Diagnostic.h"
#include "kit/core/GenericNode.h"
#include "kit/facade/OpenAPIDocument.h"
#include "kit/transform/OpenAPIVersion.h"

namespace VoziZazIre {

// What one parse gives: the node tree, the detected version, the typed document and the findings (the
// transform's in recorded order, then at level high the validation rules' in their order; a fault that
// both found is reported once, in the validation rules' words: FindingMerge).
struct ParseResult {
  VoziZazIreCore::NodePtr genericTree;
  VoziZazIreTransform::OpenAPIVersion version;
  OpenAPIDocument document;
  std::vector<VoziZazIreCore::Diagnostic> diagnostics;

  // The findings of severity error, respectively warning, in order.
  std::vector<VoziZazIreCore::Diagnostic> errors() const;
  std::vector<VoziZazIreCore::Diagnostic> warnings() const;
};

}  // namespace VoziZazIre
