#include "kit/core/GenericNodeKind.h"

namespace VoziZazIreCore {

std::string_view kindName(GenericNodeKind kind) noexcept {
  switch (kind) {
    case GenericNodeKind::object: return "object";
    case GenericNodeKind::array: return "array";
    case GenericNodeKind::string: return "string";
    case GenericNodeKind::number: return "number";
    case GenericNodeKind::bool_: return "bool";
    case GenericNodeKind::null: return "null";
  }
  return "null";
}

}  // namespace VoziZazIreCore
