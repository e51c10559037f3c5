// Input-controlled nesting: callbacks inside operations inside callbacks, and headers inside encodings
// inside media types inside headers, as deep as the parser admits. The readers recurse once per nesting
// level of the text, so the parser's depth limit bounds them; these must finish without a crash.

#include <gtest/gtest.h>

#include "kit/core/Limits.h"
#include "kit/parsing/JSONParser.h"
#include "kit/transform/ContentReaders.h"
#include "kit/transform/PathReaders.h"
#include "tests/kit/transform/ReaderTesting.h"

namespace {

using namespace CarvexTest;
using namespace VoziZazIreTransform;

// `cycles` operations, each holding the next one in a callback; the innermost has a duplicate id.
std::string nestedCallbacks(std::size_t cycles) {
  std::string open, close;
  for (std::size_t i = 0; i < cycles; ++i) {
    open += R"({"responses":{"200":{"description":"ok"}},"operationId":"op)" + std::to_string(i % 2) +
            R"(","callbacks":{"c":{"e":{"post":)";
    close += "}}}}";
  }
  return open + R"({"responses":{}})" + close;
}

// `cycles` headers, each holding the next one in content -> encoding -> headers.
std::string nestedHeaders(std::size_t cycles) {
  std::string open, close;
  for (std::size_t i = 0; i < cycles; ++i) {
    open += R"({"style":"odd","content":{"m":{"encoding":{"p":{"headers":{"h":)";
    close += "}}}}}}";
  }
  return open + "{}" + close;
}

template <class V>
std::size_t countCallbackDepth(const typename V::Operation& operation) {
  std::size_t depth = 0;
  const typename V::Operation* current = &operation;
  while (current->callbacks) {
    const auto* callback = current->callbacks->find("c")->inlineValue();
    const auto& items = [&]() -> const auto& {
      if constexpr (V::is31) return callback->expression;
      else return callback->expressions;
    }();
    current = items.find("e")->get()->post.get();
    ++depth;
  }
  return depth;
}

TEST(OperationNestingTest, DeepestCallbackChainTheParserAdmits) {
  // Four nesting levels per cycle; stay just inside the parser's limit.
  const std::size_t cycles = (VoziZazIreCore::kMaxNestingDepth - 2) / 4;
  auto tree = VoziZazIreParsing::JSONParser().parse(nestedCallbacks(cycles));
  TransformContext context30(ValidationLevel::high);
  auto op30 = parseOperation<Version30>(*tree, context30);
  EXPECT_EQ(countCallbackDepth<Version30>(*op30), cycles);
  EXPECT_EQ(context30.diagnostics.size(), cycles - 2);  // every operation after the first two repeats an id

  TransformContext context31(ValidationLevel::high);
  auto op31 = parseOperation<Version31>(*tree, context31, PathTemplateNames(), "POST");
  EXPECT_EQ(countCallbackDepth<Version31>(*op31), cycles);
}

TEST(OperationNestingTest, DeepestHeaderChainTheParserAdmits) {
  const std::size_t cycles = (VoziZazIreCore::kMaxNestingDepth - 2) / 6;
  auto tree = VoziZazIreParsing::JSONParser().parse(nestedHeaders(cycles));
  TransformContext context(ValidationLevel::high);
  auto header = parseHeader<Version31>(*tree, context);
  ASSERT_TRUE(header);
  EXPECT_EQ(context.diagnostics.size(), cycles);  // one HDR-STYLE per level
  // Tearing the model down must not recurse past what building it did either.
  header.reset();
}

}  // namespace
