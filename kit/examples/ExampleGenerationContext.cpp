#include "kit/examples/ExampleGenerationContext.h"

#include <string>
#include <utility>

#include "kit/examples/ExampleGenerationError.h"

namespace VoziZazIreExampleGeneration {

ExampleGenerationContext::ExampleGenerationContext(ExampleGenerationOptions options)
    : path_(std::make_shared<const std::string>()), options_(options), budget_(std::make_shared<Budget>()) {}

ExampleGenerationContext::Visit::~Visit() {
  std::shared_ptr<const Visit> rest = std::move(next);
  // Nodes held by this list alone are unlinked before they go, so each release is shallow.
  while (rest && rest.use_count() == 1) rest = std::move(const_cast<Visit&>(*rest).next);
}

std::set<std::string> ExampleGenerationContext::visitedReferences() const {
  std::set<std::string> result;
  for (const Visit* v = visited_.get(); v; v = v->next.get()) result.insert(std::string(v->reference));
  return result;
}

ExampleGenerationContext ExampleGenerationContext::descend(std::string_view pathSegment) const {
  ExampleGenerationContext next = *this;
  next.depth_ = depth_ + 1;
  std::string path;
  path.reserve(path_->size() + 1 + pathSegment.size());
  path = *path_;
  if (!path.empty()) path.push_back('/');
  path.append(pathSegment);
  next.path_ = std::make_shared<const std::string>(std::move(path));
  return next;
}

ExampleGenerationContext ExampleGenerationContext::visitingReference(std::string_view reference) const {
  ExampleGenerationContext next = *this;
  auto visit = std::make_shared<Visit>();
  visit->owned = std::string(reference);
  visit->reference = visit->owned;
  visit->next = visited_;
  next.visited_ = std::move(visit);
  return next;
}

bool ExampleGenerationContext::hasVisitedReference(std::string_view reference) const noexcept {
  for (const Visit* v = visited_.get(); v; v = v->next.get())
    if (v->reference == reference) return true;
  return false;
}

void ExampleGenerationContext::validateDepth() const {
  if (isDepthExceeded()) throw ExampleGenerationError::depthExceeded(options_.maxDepth, *path_);
}

bool ExampleGenerationContext::validateReference(std::string_view reference) const {
  if (!hasVisitedReference(reference)) return true;
  if (options_.cycleHandling == CycleHandling::error)
    throw ExampleGenerationError::cycleDetected(std::string(reference), *path_);
  return false;
}

ExampleGenerationContext ExampleGenerationContext::chained() const {
  if (chainSteps_ >= kMaxChainSteps)
    throw ExampleGenerationError::invalidSchema("reference chain deeper than " + std::to_string(kMaxChainSteps), *path_);
  ExampleGenerationContext next = *this;
  ++next.chainSteps_;
  return next;
}

ExampleGenerationContext ExampleGenerationContext::followingReference(std::string_view reference) const {
  ExampleGenerationContext next = chained();
  auto visit = std::make_shared<Visit>();
  visit->reference = reference;
  visit->next = std::move(next.visited_);
  next.visited_ = std::move(visit);
  return next;
}

void ExampleGenerationContext::spend(int64_t values, int64_t textBytes) const {
  budget_->values += values;
  budget_->textBytes += textBytes;
  if (budget_->values > kMaxValues)
    throw ExampleGenerationError::invalidSchema("example exceeds " + std::to_string(kMaxValues) + " values", *path_);
  if (budget_->textBytes > kMaxTextBytes)
    throw ExampleGenerationError::invalidSchema("example exceeds " + std::to_string(kMaxTextBytes) + " bytes of text",
                                                *path_);
}

}  // namespace VoziZazIreExampleGeneration
