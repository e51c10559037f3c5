#pragma once
#include <vector>

#include "kit/core/Diagnostic.h"

namespace VoziZazIreValidation {

// The role of a validator for one model version: a second pass over a typed document that returns its
// findings in walk order. Never throws.
template <class Document>
class OpenAPIValidator {
 public:
  using DocumentType = Document;

  virtual ~OpenAPIValidator() = default;
  virtual std::vector<VoziZazIreCore::Diagnostic> validate(const DocumentType& document,
                                                           bool validateRefs) const = 0;
};

}  // namespace VoziZazIreValidation
