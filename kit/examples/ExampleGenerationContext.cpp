#include "kit/examples/ExampleGenerationContext.h"

#include <utility>

#include "kit/examples/ExampleGenerationError.h"

namespace VoziZazIreExampleGeneration {

ExampleGenerationContext::ExampleGenerationContext(ExampleGenerationOptions options) : options_(options) {}

std::set<std::string> ExampleGenerationContext::visitedReferences() const {
  std::set<std::string> result;
  for (const Visit* v = visited_.get(); v; v = v->next.get()) result.insert(v->reference);
  return result;
}

ExampleGenerationContext ExampleGenerationContext::descend(std::string_view pathSegment) const {
  ExampleGenerationContext next = *this;
  next.depth_ = depth_ + 1;
  if (!path_.empty()) next.path_.push_back('/');
  next.path_.append(pathSegment);
  return next;
}

ExampleGenerationContext ExampleGenerationContext::visitingReference(std::string_view reference) const {
  ExampleGenerationContext next = *this;
  next.visited_ = std::make_shared<const Visit>(Visit{std::string(reference), visited_});
  return next;
}

bool ExampleGenerationContext::hasVisitedReference(std::string_view reference) const noexcept {
  for (const Visit* v = visited_.get(); v; v = v->next.get())
    if (v->reference == reference) return true;
  return false;
}

void ExampleGenerationContext::validateDepth() const {
  if (isDepthExceeded()) throw ExampleGenerationError::depthExceeded(options_.maxDepth, path_);
}

bool ExampleGenerationContext::validateReference(std::string_view reference) const {
  if (!hasVisitedReference(reference)) return true;
  if (options_.cycleHandling == CycleHandling::error)
    throw ExampleGenerationError::cycleDetected(std::string(reference), path_);
  return false;
}

}  // namespace VoziZazIreExampleGeneration
