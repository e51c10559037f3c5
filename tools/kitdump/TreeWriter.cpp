#include "tools/kitdump/TreeWriter.h"

#include <cmath>
#include <vector>

#include "kit/core/TextServices.h"

namespace Kitdump {

using VoziZazIreCore::GenericNode;
using VoziZazIreCore::GenericNodeKind;

void TreeWriter::appendString(std::string& out, std::string_view value) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  for (char ch : value) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out.append("\\\""); break;
      case '\\': out.append("\\\\"); break;
      case '\b': out.append("\\b"); break;
      case '\f': out.append("\\f"); break;
      case '\n': out.append("\\n"); break;
      case '\r': out.append("\\r"); break;
      case '\t': out.append("\\t"); break;
      default:
        if (c < 0x20) {
          out.append("\\u00");
          out.push_back(kHex[c >> 4]);
          out.push_back(kHex[c & 15]);
        } else {
          out.push_back(ch);
        }
    }
  }
  out.push_back('"');
}

std::string TreeWriter::number(double value) {
  if (std::isnan(value)) return "null";
  if (std::isinf(value)) return value < 0 ? "-1e999" : "1e999";
  if (value == 0) return std::signbit(value) ? "-0" : "0";
  if (auto integer = VoziZazIreCore::TextServices::exactInt64(value)) return std::to_string(*integer);
  return VoziZazIreCore::TextServices::shortestDouble(value);
}

void TreeWriter::scalar(const GenericNode& node) {
  switch (node.kind()) {
    case GenericNodeKind::string:
      scratch_.clear();
      appendString(scratch_, *node.stringValue());
      out_ << scratch_;
      break;
    case GenericNodeKind::number: out_ << number(*node.numberValue()); break;
    case GenericNodeKind::bool_: out_ << (*node.boolValue() ? "true" : "false"); break;
    default: out_ << "null"; break;
  }
}

void TreeWriter::write(const GenericNode& root) {
  // Explicit stack: the node being written and the index of its next child.
  struct Frame {
    const GenericNode* node;
    std::size_t next;
  };
  std::vector<Frame> stack;
  auto enter = [&](const GenericNode& node) {
    if (node.kind() == GenericNodeKind::object) {
      out_ << '{';
      stack.push_back({&node, 0});
    } else if (node.kind() == GenericNodeKind::array) {
      out_ << '[';
      stack.push_back({&node, 0});
    } else {
      scalar(node);
    }
  };
  enter(root);
  while (!stack.empty()) {
    Frame& top = stack.back();
    const GenericNode& node = *top.node;
    const bool object = node.kind() == GenericNodeKind::object;
    if (top.next == node.count()) {
      out_ << (object ? '}' : ']');
      stack.pop_back();
      continue;
    }
    const std::size_t i = top.next++;
    if (i > 0) out_ << ',';
    if (object) {
      const GenericNode::Member& member = (*node.objectValue())[i];
      scratch_.clear();
      appendString(scratch_, member.key);
      scratch_.push_back(':');
      out_ << scratch_;
      enter(*member.value);
    } else {
      enter(*node[i]);
    }
  }
  out_ << '\n';
}

}  // namespace Kitdump
