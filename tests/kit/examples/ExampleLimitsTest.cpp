#include <gtest/gtest.h>

#include <string>

#include "ExampleDocuments.h"
#include "kit/examples/ExampleGenerationContext.h"

namespace {

using namespace CarvexExampleTest;

// Nine levels of ten properties, each referring to the next level: 10^9 values within depth 10.
std::string fanOut() {
  std::string text = "components:\n  schemas:\n";
  for (int level = 0; level < 9; ++level) {
    text += "    L" + std::to_string(level) + ":\n      properties:\n";
    for (int p = 0; p < 10; ++p)
      text += "        p" + std::to_string(p) + ": {$ref: '#/components/schemas/L" + std::to_string(level + 1) + "'}\n";
  }
  return text + "    L9: {type: string}\n";
}

// A chain of distinct components, each an allOf of the next.
std::string chain(int length) {
  std::string text = "components:\n  schemas:\n";
  for (int i = 0; i < length; ++i)
    text += "    C" + std::to_string(i) + ": {allOf: [{$ref: '#/components/schemas/C" + std::to_string(i + 1) + "'}]}\n";
  return text + "    C" + std::to_string(length) + ": {properties: {end: {type: boolean}}}\n";
}

std::string inlineNesting(int levels) {
  std::string open, close;
  for (int i = 0; i < levels; ++i) {
    open += "{properties: {n: ";
    close += "}}";
  }
  return "components:\n  schemas:\n    Deep: " + open + "{type: integer}" + close + "\n";
}

TEST(ExampleLimits, EveryRequestEndsBoundedWithTheNamedErrorOrACappedResult) {
  struct Row {
    const char* name;
    std::string schemas;
    const char* ref;
    int64_t maxDepth;
    std::string expected;  // the whole text, or its start when it ends in "..."
  };
  const Row rows[] = {
      {"fan-out of 10^9 values", fanOut(), "L0", 10, "error: Invalid schema at path p0/p0/p0/p0/p9/p0/p0/p0/p1: example exceeds 100000 values"},
      {"chain_of_10000_references", chain(10000), "C0", 10, "error: Invalid schema at path : reference chain deeper than 256"},
      {"chain within the limit", chain(200), "C0", 10, R"({"end":true})"},
      {"minItems 1e9 is capped", "components:\n  schemas:\n    S: {type: array, minItems: 1000000000, items: {type: integer}}\n",
       "S", 10, "[0,0,0,..."},
      {"nested arrays of 1000",
       "components:\n  schemas:\n    S: {type: array, minItems: 1000, items: {type: array, minItems: 1000, items: {type: integer}}}\n",
       "S", 10, "error: Invalid schema at path 99/..."},
      {"text budget",
       "components:\n  schemas:\n    S: {type: array, minItems: 1000, items: {type: array, minItems: 2, items: {type: string, minLength: 1000000}}}\n",
       "S", 10, "error: Invalid schema at path 523/1: example exceeds 10485760 bytes of text"},
      {"inline nesting past the depth limit", inlineNesting(400), "Deep", 1000000, "{\"n\":{\"n\":{..."},
  };
  for (const Row& row : rows) {
    for (const char* version : {"3.0.3", "3.1.0"}) {
      VoziZazIre::ParseResult result = parseDescription(version, row.schemas);
      ExampleGenerationOptions options = applicationOptions();
      options.maxDepth = row.maxDepth;
      const std::string text = exampleText(result, std::string("#/components/schemas/") + row.ref, options);
      if (row.expected.ends_with("...")) {
        EXPECT_EQ(text.substr(0, row.expected.size() - 3), row.expected.substr(0, row.expected.size() - 3))
            << row.name << " (" << version << ")";
      } else {
        EXPECT_EQ(text, row.expected) << row.name << " (" << version << ")";
      }
    }
  }
}

TEST(ExampleLimits, CappedArrayHoldsTheCappedCount) {
  VoziZazIre::ParseResult result = parseDescription(
      "3.1.0", "components:\n  schemas:\n    S: {type: array, minItems: 4000000000, items: {type: boolean}}\n");
  ExampleGenerator generator(applicationOptions());
  auto node = generator.generate(VoziZazIreCore::ReferenceOr<ExampleModel31::Schema>(reference("#/components/schemas/S")),
                                 result.document.v3_1()->components.get());
  EXPECT_EQ(node->count(), static_cast<std::size_t>(ExampleGenerationContext::kMaxArrayItems));
}

}  // namespace
