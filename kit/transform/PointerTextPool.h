#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kit/core/GenericNode.h"
#include "kit/core/PointerText.h"

namespace VoziZazIreTransform {

// The store of pointer texts for the locations of one transform. A model holds one location per
// object; here their texts share a few large blocks instead of one allocation each. Readers go through
// the tree in order, so each pointer is made from the one stored before it: the part above their
// nearest common ancestor is copied, and a container read after its last child borrows that child's
// text outright.
class PointerTextPool {
 public:
  // While a Scope is alive, `pointerOf` on this thread stores texts in the scope's pool. Scopes nest.
  // The nodes of `tree`, which must outlive the scope, are made from one another; others afresh.
  class Scope {
   public:
    explicit Scope(const VoziZazIreCore::GenericNode* tree = nullptr);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    std::unique_ptr<PointerTextPool> pool_;
    PointerTextPool* outer_;
  };

  // The node's pointer text: from the innermost scope's pool, or a copy of its own without a scope.
  static VoziZazIreCore::PointerText pointerOf(const VoziZazIreCore::GenericNode& node);

  explicit PointerTextPool(const VoziZazIreCore::GenericNode* tree);

 private:
  struct Storage;
  VoziZazIreCore::PointerText store(const VoziZazIreCore::GenericNode& node);

  const VoziZazIreCore::GenericNode* tree_;
  std::shared_ptr<Storage> storage_;
  std::string scratch_;
  std::vector<const VoziZazIreCore::GenericNode*> steps_;
  const VoziZazIreCore::GenericNode* lastNode_ = nullptr;
  std::string_view last_;
  // lastEnds_[k]: the length of the text of the last node's ancestor at depth k (the last node's own
  // at its depth).
  std::vector<std::size_t> lastEnds_;
};

}  // namespace VoziZazIreTransform
