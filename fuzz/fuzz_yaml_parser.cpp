// libFuzzer target for the YAML parser: any input either parses into a well-formed tree or fails with
// a ParseError that has a place (undecodable input aside); nothing crashes, hangs or leaks. Aliases
// keep the ranges of their anchors, so ranges are checked one node at a time, pointers down the tree.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "kit/core/GenericNode.h"
#include "kit/core/ParseError.h"
#include "kit/parsing/DocumentFormat.h"
#include "kit/parsing/YAMLParser.h"

namespace {

using VoziZazIreCore::GenericNode;

void check(bool condition) {
  if (!condition) std::abort();
}

void checkTree(const GenericNode& root, std::size_t size) {
  std::vector<const GenericNode*> stack{&root};
  while (!stack.empty()) {
    const GenericNode* node = stack.back();
    stack.pop_back();
    const auto& range = node->range();
    check(range.start.offset <= range.end.offset);
    check(range.end.offset <= static_cast<std::int64_t>(size));
    check(range.start.line >= 1 && range.start.column >= 1);
    check(range.start.line <= range.end.line);
    std::vector<const GenericNode*> children;
    if (auto members = node->objectValue()) {
      for (const auto& member : *members) {
        check(node->operator[](member.key) != nullptr);
        children.push_back(member.value);
      }
    } else if (auto elements = node->arrayValue()) {
      for (const GenericNode* element : *elements) children.push_back(element);
    }
    const auto parentPointer = node->jsonPointer();
    for (const GenericNode* child : children) {
      const auto pointer = child->jsonPointer();
      check(pointer.size() > parentPointer.size());
      check(pointer.starts_with(parentPointer));
      check(pointer[parentPointer.size()] == '/');
      stack.push_back(child);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  (void)VoziZazIreParsing::DocumentFormats::detect(bytes);
  try {
    VoziZazIreCore::NodePtr root = VoziZazIreParsing::YAMLParser().parse(bytes);
    check(root != nullptr);
    checkTree(*root, size);
  } catch (const VoziZazIreCore::ParseError& error) {
    if (error.message() != "Failed to decode input as UTF-8") {
      check(error.range().has_value());
      check(error.range()->start.line >= 1 && error.range()->start.column >= 1);
    }
  }
  return 0;
}
