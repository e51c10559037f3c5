// libFuzzer target for the whole road at level high: text, parser, version detection, transform and
// validation. Any input gives a ParseResult or fails with ParseError or TransformError; nothing else
// escapes, crashes, hangs or leaks. Every finding carries a place inside the text when it has one.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "kit/core/ParseError.h"
#include "kit/core/TransformError.h"
#include "kit/core/ValidationLevel.h"
#include "kit/facade/OpenApiParser.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  try {
    const VoziZazIre::ParseResult result =
        VoziZazIre::OpenApiParser().parse(bytes, VoziZazIre::Format::auto_, VoziZazIreCore::ValidationLevel::high);
    check(result.genericTree != nullptr);
    check(result.document.v3_0() != nullptr || result.document.v3_1() != nullptr);
    for (const auto& diagnostic : result.diagnostics) {
      check(!diagnostic.message().empty());
      if (const auto& range = diagnostic.range()) {
        check(range->start.line >= 1 && range->start.column >= 1);
        check(range->start.offset <= range->end.offset);
      }
    }
  } catch (const VoziZazIreCore::ParseError&) {
  } catch (const VoziZazIreCore::TransformError&) {
  }
  return 0;
}
