#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/examples/ExampleGenerationContext.h"
#include "kit/examples/ExampleGenerationError.h"
#include "kit/examples/ExampleGenerationOptions.h"

namespace {

using namespace VoziZazIreExampleGeneration;
using Kind = ExampleGenerationError::Kind;

ExampleGenerationOptions withCycles(CycleHandling handling, int64_t maxDepth = 3) {
  ExampleGenerationOptions options = ExampleGenerationOptions::default_();
  options.cycleHandling = handling;
  options.maxDepth = maxDepth;
  return options;
}

TEST(ExampleGenerationOptions, DefaultValues) {
  const auto& d = ExampleGenerationOptions::default_();
  EXPECT_EQ(d, ExampleGenerationOptions(false, true, false, 3, CycleHandling::useNeutralValue,
                                        ResponseSelection::prefer200, ContentTypeSelection::firstDefined));
  EXPECT_EQ(&d, &ExampleGenerationOptions::default_());
}

TEST(ExampleGenerationContext, PathsAndDepthsOfSteps) {
  struct Row {
    const char* name;
    std::vector<std::string> segments;
    const char* path;
  };
  const Row rows[] = {
      {"root", {}, ""},
      {"one step", {"items"}, "items"},
      {"index after name", {"items", "0"}, "items/0"},
      {"slash stays unescaped", {"a/b", "c~d"}, "a/b/c~d"},
  };
  for (const Row& row : rows) {
    ExampleGenerationContext context(ExampleGenerationOptions::default_());
    for (const auto& segment : row.segments) context = context.descend(segment);
    EXPECT_EQ(context.path(), row.path) << row.name;
    EXPECT_EQ(context.depth(), static_cast<int64_t>(row.segments.size())) << row.name;
  }
}

TEST(ExampleGenerationContext, DepthLimit) {
  ExampleGenerationContext root(withCycles(CycleHandling::useNeutralValue, 0));
  EXPECT_TRUE(root.isDepthExceeded());
  try {
    root.validateDepth();
    FAIL() << "no throw";
  } catch (const ExampleGenerationError& e) {
    EXPECT_EQ(e.kind(), Kind::depthExceeded);
    EXPECT_STREQ(e.what(), "Maximum recursion depth (0) exceeded at path: ");
  }

  ExampleGenerationContext context(withCycles(CycleHandling::useNeutralValue, 3));
  context = context.descend("a").descend("b");
  EXPECT_NO_THROW(context.validateDepth());
  context = context.descend("c");
  try {
    context.validateDepth();
    FAIL() << "no throw";
  } catch (const ExampleGenerationError& e) {
    EXPECT_EQ(e, ExampleGenerationError::depthExceeded(3, "a/b/c"));
    EXPECT_EQ(e.description(), "Maximum recursion depth (3) exceeded at path: a/b/c");
  }
}

TEST(ExampleGenerationContext, ReferencesByCycleHandling) {
  const std::string ref = "#/components/schemas/Node";
  for (CycleHandling handling : {CycleHandling::useNeutralValue, CycleHandling::truncate, CycleHandling::error}) {
    ExampleGenerationContext context(withCycles(handling));
    EXPECT_TRUE(context.validateReference(ref));
    ExampleGenerationContext inside = context.visitingReference(ref).descend("next");
    EXPECT_EQ(inside.depth(), 1);
    EXPECT_TRUE(inside.hasVisitedReference(ref));
    EXPECT_FALSE(context.hasVisitedReference(ref)) << "the original context is unchanged";
    EXPECT_TRUE(inside.validateReference("#/components/schemas/Other"));
    if (handling == CycleHandling::error) {
      try {
        inside.validateReference(ref);
        FAIL() << "no throw";
      } catch (const ExampleGenerationError& e) {
        EXPECT_EQ(e.description(), "Cyclic reference detected for '#/components/schemas/Node' at path: next");
      }
    } else {
      EXPECT_FALSE(inside.validateReference(ref));
    }
  }
  ExampleGenerationContext both =
      ExampleGenerationContext(ExampleGenerationOptions::default_()).visitingReference("#/a").visitingReference("#/b");
  EXPECT_EQ(both.visitedReferences(), (std::set<std::string>{"#/a", "#/b"}));
}

TEST(ExampleGenerationContext, LongReferenceListIsReleasedWithoutRecursion) {
  ExampleGenerationContext context(ExampleGenerationOptions::default_());
  for (int i = 0; i < 300000; ++i) context = context.visitingReference("#/components/schemas/S" + std::to_string(i));
  EXPECT_TRUE(context.hasVisitedReference("#/components/schemas/S0"));
}

TEST(ExampleGenerationError, Texts) {
  struct Row {
    ExampleGenerationError error;
    const char* text;
  };
  const Row rows[] = {
      {ExampleGenerationError::depthExceeded(10, "a/b"), "Maximum recursion depth (10) exceeded at path: a/b"},
      {ExampleGenerationError::cycleDetected("#/x", "p"), "Cyclic reference detected for '#/x' at path: p"},
      {ExampleGenerationError::missingRequiredField("name", "p"), "Required field 'name' missing at path: p"},
      {ExampleGenerationError::unsupportedType("file", "p"), "Unsupported schema type 'file' at path: p"},
      {ExampleGenerationError::referenceNotFound("#/y", ""), "Reference '#/y' not found at path: "},
      {ExampleGenerationError::invalidSchema("r", "p"), "Invalid schema at path p: r"},
      {ExampleGenerationError::noContentType("p"), "No content type available at path: p"},
      {ExampleGenerationError::noResponse(""), "No response available at path: "},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.error.description(), row.text);
    EXPECT_EQ(row.error.errorDescription(), row.text);
    EXPECT_STREQ(row.error.what(), row.text);
  }
}

}  // namespace
