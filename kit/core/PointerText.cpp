#include "kit/core/PointerText.h"

#include <cstring>

namespace VoziZazIreCore {

PointerText::PointerText(std::string_view text) {
  if (text.empty()) return;
  // One allocation holds the count and the characters.
  std::shared_ptr<char[]> owned = std::make_shared<char[]>(text.size());
  std::memcpy(owned.get(), text.data(), text.size());
  text_ = std::string_view(owned.get(), text.size());
  owner_ = std::move(owned);
}

PointerText PointerText::shared(std::shared_ptr<const void> owner, std::string_view text) noexcept {
  PointerText result;
  result.owner_ = std::move(owner);
  result.text_ = text;
  return result;
}

}  // namespace VoziZazIreCore
