#pragma once
#include <cstdint>

#include "kit/examples/ContentTypeSelection.h"
#include "kit/examples/CycleHandling.h"
#include "kit/examples/ResponseSelection.h"

namespace VoziZazIreExampleGeneration {

// What a caller wants of example generation. Every field can be read and changed.
struct ExampleGenerationOptions {
  // When true a schema's own example (3.0 `example`, 3.1 first of `examples`) is used before anything
  // is generated, and parameters and media types offer theirs.
  bool useProvidedExamples;
  bool includeOptionalParameters;
  bool includeOptionalProperties;
  // Property and array-item steps after which a walk stops with `depthExceeded`; the root is at 0.
  int64_t maxDepth;
  CycleHandling cycleHandling;
  ResponseSelection responseSelection;
  ContentTypeSelection contentTypeSelection;

  ExampleGenerationOptions(bool useProvidedExamples, bool includeOptionalParameters, bool includeOptionalProperties,
                           int64_t maxDepth, CycleHandling cycleHandling, ResponseSelection responseSelection,
                           ContentTypeSelection contentTypeSelection) noexcept
      : useProvidedExamples(useProvidedExamples),
        includeOptionalParameters(includeOptionalParameters),
        includeOptionalProperties(includeOptionalProperties),
        maxDepth(maxDepth),
        cycleHandling(cycleHandling),
        responseSelection(responseSelection),
        contentTypeSelection(contentTypeSelection) {}

  // No provided examples, optional parameters but not optional properties, depth 3, neutral value on
  // cycles, "200" first, the first media type.
  static const ExampleGenerationOptions& default_();

  friend bool operator==(const ExampleGenerationOptions&, const ExampleGenerationOptions&) = default;
};

}  // namespace VoziZazIreExampleGeneration
