// libFuzzer target for example generation: text read through the facade at level none, then the example
// of every component schema (by reference and inline) and of every operation, under two sets of options,
// printed in the three text forms. Generation either gives a node or fails with ExampleGenerationError;
// nothing else escapes, crashes, hangs or leaks, however large, deep or cyclic the schemas.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "kit/core/ParseError.h"
#include "kit/core/Reference.h"
#include "kit/core/TransformError.h"
#include "kit/core/ValidationLevel.h"
#include "kit/examples/ExampleGenerationError.h"
#include "kit/examples/ExampleGenerator.h"
#include "kit/facade/OpenApiParser.h"
#include "kit/models/OpenAPI3_0/Document.h"
#include "kit/models/OpenAPI3_0/PathItem.h"
#include "kit/models/OpenAPI3_0/Paths.h"
#include "kit/models/OpenAPI3_1/Document.h"
#include "kit/models/OpenAPI3_1/PathItem.h"
#include "kit/models/OpenAPI3_1/Paths.h"

namespace {

using namespace VoziZazIreExampleGeneration;

// Bounds the work of one input: each request is bounded by the generator (up to 100,000 values and
// megabytes of text), these bound their number, the time spent on them and how much is printed again.
constexpr int kMaxRequests = 6;
constexpr auto kTimePerInput = std::chrono::seconds(1);
constexpr std::size_t kReprintBytes = 1 << 16;

void check(bool condition) {
  if (!condition) std::abort();
}

void print(const ExampleGenerator& generator, const VoziZazIreCore::NodePtr& node) {
  if (!node) return;
  const std::string compact = generator.toJSON(*node, false);
  check(!compact.empty());
  if (compact.size() > kReprintBytes) return;
  check(generator.toJSON(*node, true).size() >= compact.size());
  check(!generator.toYAML(*node).empty());
}

template <class Model, class Document>
void generateAll(const ExampleGenerator& generator, const Document& document,
                 std::chrono::steady_clock::time_point deadline) {
  const auto* components = document.components.get();
  int requests = 0;
  auto attempt = [&](auto&& request) {
    if (++requests > kMaxRequests || std::chrono::steady_clock::now() > deadline) return;
    try {
      request();
    } catch (const ExampleGenerationError& error) {
      check(error.what()[0] != '\0');
    }
  };
  if (components && components->schemas) {
    for (const auto& entry : *components->schemas) {
      const std::string& name = entry.first;
      const auto& schema = entry.second;
      attempt([&] {
        VoziZazIreCore::Reference reference("#/components/schemas/" + name, std::nullopt, std::nullopt, std::nullopt);
        print(generator, generator.generate(VoziZazIreCore::ReferenceOr<typename Model::Schema>(reference), components));
      });
      attempt([&] { print(generator, generator.generate(schema, components)); });
    }
  }
  if (!document.paths) return;
  for (const auto& [path, item] : document.paths->items) {
    if (!item) continue;
    for (const auto& operation : {item->get, item->put, item->post, item->delete_, item->options, item->head,
                                  item->patch, item->trace}) {
      if (!operation) continue;
      attempt([&] {
        OperationExampleResult result = generator.generate(*operation, components);
        print(generator, result.requestBody);
        for (const auto& entry : result.responses) print(generator, entry.second);
        for (const auto& entry : result.parameters) print(generator, entry.second);
      });
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  try {
    const VoziZazIre::ParseResult result =
        VoziZazIre::OpenApiParser().parse(bytes, VoziZazIre::Format::auto_, VoziZazIreCore::ValidationLevel::none);
    const ExampleGenerationOptions optionSets[] = {
        ExampleGenerationOptions(false, true, true, 10, CycleHandling::useNeutralValue, ResponseSelection::prefer200,
                                 ContentTypeSelection::firstDefined),
        ExampleGenerationOptions(true, false, true, 64, CycleHandling::error, ResponseSelection::all,
                                 ContentTypeSelection::preferJSON),
    };
    const auto deadline = std::chrono::steady_clock::now() + kTimePerInput;
    for (const ExampleGenerationOptions& options : optionSets) {
      const ExampleGenerator generator(options);
      if (const auto* document = result.document.v3_0()) {
        generateAll<ExampleModel30>(generator, *document, deadline);
      } else if (const auto* document31 = result.document.v3_1()) {
        generateAll<ExampleModel31>(generator, *document31, deadline);
      }
    }
  } catch (const VoziZazIreCore::ParseError&) {
  } catch (const VoziZazIreCore::TransformError&) {
  }
  return 0;
}
