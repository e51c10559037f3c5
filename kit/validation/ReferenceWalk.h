#pragma once
#include "kit/transform/ModelVersion.h"
#include "kit/validation/ValidationContext.h"

namespace VoziZazIreValidation {

// The places of a document that the reference rules visit, each "$ref" checked against the section its
// place calls for (parameters, requestBodies, responses, callbacks, headers, links, schemas, pathItems).
// Inline values are walked further where they may hold more references; targets are never followed.
// Schemas are walked with an explicit stack, so deep nesting costs no call depth; every other level of
// the walk has a fixed depth.
template <class V>
class ReferenceWalk {
 public:
  explicit ReferenceWalk(ValidationContext& context) : context_(context) {}

  void walkPathItem(const typename V::PathItem& item);
  void walkOperation(const typename V::Operation& operation);
  void walkResponse(const typename V::Response& response);
  void walkContent(const VoziZazIreModels::OrderedMap<std::shared_ptr<const typename V::MediaType>>& content);
  void walkSchema(const typename V::Schema& schema);
  void walkComponents(const typename V::Components& components);

 private:
  ValidationContext& context_;
};

}  // namespace VoziZazIreValidation
