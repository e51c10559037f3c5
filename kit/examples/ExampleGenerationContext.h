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
//
// A request is bounded whatever the schema: the contexts derived from one made by the constructor share
// one budget of values and text, and each path allows a limited number of `$ref` and composition steps
// (which do not count towards the depth). Past a bound the walk stops with `invalidSchema`.
class ExampleGenerationContext {
 public:
  // The most values (nodes) one request makes.
  static constexpr int64_t kMaxValues = 100000;
  // The most bytes of text (strings, keys and the values' paths) one request makes.
  static constexpr int64_t kMaxTextBytes = 10 * 1024 * 1024;
  // The most items of one array, whatever its `minItems`.
  static constexpr int64_t kMaxArrayItems = 1000;
  // The most `$ref` and composition steps on one path.
  static constexpr int64_t kMaxChainSteps = 256;

  // A request's root: depth 0, the empty path, no references, a fresh budget.
  explicit ExampleGenerationContext(ExampleGenerationOptions options);

  int64_t depth() const noexcept { return depth_; }
  const std::string& path() const noexcept { return *path_; }
  // The path text, shared by the contexts of one place (and by the values made there).
  const std::shared_ptr<const std::string>& sharedPath() const noexcept { return path_; }
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

  // The same place one `$ref` or composition step further; throws `invalidSchema` past
  // kMaxChainSteps steps on this path.
  ExampleGenerationContext chained() const;
  // `chained()` with `reference` being expanded. The reference text is borrowed: it must outlive this
  // context and those derived from it (the walker passes the model's own text).
  ExampleGenerationContext followingReference(std::string_view reference) const;
  // Charges the request's budget with `values` nodes and `textBytes` bytes of text; throws
  // `invalidSchema` naming the limit once either is exceeded.
  void spend(int64_t values, int64_t textBytes) const;

 private:
  struct Budget {
    int64_t values = 0;
    int64_t textBytes = 0;
  };

  // The visited references form a list shared between a context and those derived from it, so that a
  // step copies no strings.
  struct Visit {
    std::string owned;  // empty when the text is borrowed
    std::string_view reference;
    std::shared_ptr<const Visit> next;
    // Releases a long list one node at a time instead of recursing.
    ~Visit();
  };

  int64_t depth_ = 0;
  int64_t chainSteps_ = 0;
  std::shared_ptr<const std::string> path_;
  std::shared_ptr<const Visit> visited_;
  ExampleGenerationOptions options_;
  std::shared_ptr<Budget> budget_;
};

}  // namespace VoziZazIreExampleGeneration
