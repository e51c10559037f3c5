#include "tools/kitdump/NodeLister.h"

#include <vector>

namespace Kitdump {

using VoziZazIreCore::GenericNode;
using VoziZazIreCore::GenericNodeKind;
using VoziZazIreCore::SourceLocation;

namespace {

void appendLocation(std::string& out, const SourceLocation& location) {
  out.append(std::to_string(location.line));
  out.push_back(':');
  out.append(std::to_string(location.column));
  out.push_back(':');
  out.append(std::to_string(location.offset));
}

}  // namespace

void NodeLister::line(const GenericNode& node) {
  static constexpr char kHex[] = "0123456789abcdef";
  scratch_.clear();
  pointer_.clear();
  node.appendJsonPointer(pointer_);
  for (char ch : pointer_) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F) {
      scratch_.append("\\u00");
      scratch_.push_back(kHex[c >> 4]);
      scratch_.push_back(kHex[c & 15]);
    } else {
      scratch_.push_back(ch);
    }
  }
  scratch_.push_back('\t');
  scratch_.append(VoziZazIreCore::kindName(node.kind()));
  scratch_.push_back('\t');
  appendLocation(scratch_, node.range().start);
  scratch_.push_back('\t');
  appendLocation(scratch_, node.range().end);
  scratch_.push_back('\n');
  out_ << scratch_;
}

void NodeLister::write(const GenericNode& root) {
  // Pre-order with an explicit stack; children are pushed in reverse to come out in document order.
  std::vector<const GenericNode*> stack{&root};
  while (!stack.empty()) {
    const GenericNode* node = stack.back();
    stack.pop_back();
    line(*node);
    if (node->kind() == GenericNodeKind::object) {
      const GenericNode::ObjectView members = *node->objectValue();
      for (std::size_t i = members.size(); i-- > 0;) stack.push_back(members[i].value);
    } else if (node->kind() == GenericNodeKind::array) {
      for (std::size_t i = node->count(); i-- > 0;) stack.push_back((*node)[i]);
    }
  }
}

}  // namespace Kitdump
