#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "kit/core/GenericNode.h"
#include "kit/core/PointerText.h"

namespace VoziZazIreTransform {

// The store of pointer texts for the locations of one transform. A model holds one location per
// object; here their texts share a few large blocks instead of one allocation each, and a pointer that
// begins the text stored just before (a container read after its last child) borrows that text.
class PointerTextPool {
 public:
  // While a Scope is alive, `pointerOf` on this thread stores texts in the scope's pool. Scopes nest.
  class Scope {
   public:
    Scope();
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    std::unique_ptr<PointerTextPool> pool_;
    PointerTextPool* outer_;
  };

  // The node's pointer text: from the innermost scope's pool, or a copy of its own without a scope.
  static VoziZazIreCore::PointerText pointerOf(const VoziZazIreCore::GenericNode& node);

  PointerTextPool();

 private:
  struct Storage;
  VoziZazIreCore::PointerText store(const VoziZazIreCore::GenericNode& node);

  std::shared_ptr<Storage> storage_;
  std::string scratch_;
  std::string_view last_;
};

}  // namespace VoziZazIreTransform
