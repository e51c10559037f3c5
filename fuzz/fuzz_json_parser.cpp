// libFuzzer target for the JSON parser: any input either parses into a well-formed tree or fails with
// a ParseError; nothing crashes, hangs or leaks. On success the tree's ranges must nest.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "kit/core/GenericNode.h"
#include "kit/core/ParseError.h"
#include "kit/parsing/DocumentFormat.h"
#include "kit/parsing/JSONParser.h"

namespace {

using VoziZazIreCore::GenericNode;
using VoziZazIreCore::GenericNodeKind;

void check(bool condition) {
  if (!condition) std::abort();
}

void checkTree(const GenericNode& root) {
  std::vector<const GenericNode*> stack{&root};
  while (!stack.empty()) {
    const GenericNode* node = stack.back();
    stack.pop_back();
    const auto& range = node->range();
    check(range.start.offset <= range.end.offset);
    check(range.start.line >= 1 && range.start.column >= 1);
    std::vector<const GenericNode*> children;
    if (auto members = node->objectValue()) {
      for (const auto& member : *members) children.push_back(member.value);
    } else if (auto elements = node->arrayValue()) {
      for (const GenericNode* element : *elements) children.push_back(element);
    }
    for (const GenericNode* child : children) {
      check(child->range().start.offset > range.start.offset);
      check(child->range().end.offset < range.end.offset);
      check(child->jsonPointer().size() > node->jsonPointer().size());
      stack.push_back(child);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  (void)VoziZazIreParsing::DocumentFormats::detect(bytes);
  try {
    VoziZazIreCore::NodePtr root = VoziZazIreParsing::JSONParser().parse(bytes);
    check(root != nullptr);
    checkTree(*root);
  } catch (const VoziZazIreCore::ParseError&) {
  }
  return 0;
}
