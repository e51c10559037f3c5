#pragma once
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "kit/examples/ExampleGenerationOptions.h"

namespace VoziZazIreExampleGeneration {

// Where a walk stands: its depth (property and array-item steps from the root schema), its path (the
// steps joined by "/", names unescaped, no leading "/") and the `$ref` targets being expanded on the
// way here. A value: every change makes a new context, so siblings never see each other's references.
class ExampleGenerationContext {
 public:
  explicit ExampleGenerationContext(ExampleGenerationOptions options);

  int64_t depth() const noexcept { return depth_; }
  const std::string& path() const noexcept { return path_; }
  // The references being expanded, as a set (built on request).
  std::set<std::string> visitedReferences() const;
  const ExampleGenerationOptions& options() const noexcept { return options_; }

  // One property or array-item step: depth + 1, the segment appended to the path.
  ExampleGenerationContext descend(std::string_view pathSegment) const;
  // The same place with `reference` being expanded.
  ExampleGenerationContext visitingReference(std::string_view reference) const;

  bool isDepthExceeded() const noexcept { return depth_ >= options_.maxDepth; }
  bool hasVisitedReference(std::string_view reference) const noexcept;
  // Throws `depthExceeded` when the depth has reached the limit.
  void validateDepth() const;
  // True for a reference not yet being expanded. For one that is: false, or under
  // `CycleHandling::error` a thrown `cycleDetected`.
  bool validateReference(std::string_view reference) const;

 private:
  // The visited references form a list shared between a context and those derived from it, so that a
  // step copies no strings.
  struct Visit {
    std::string reference;
    std::shared_ptr<const Visit> next;
  };

  int64_t depth_ = 0;
  std::string path_;
  std::shared_ptr<const Visit> visited_;
  ExampleGenerationOptions options_;
};

}  // namespace VoziZazIreExampleGeneration
