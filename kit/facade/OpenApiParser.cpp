#include "kit/facade/OpenApiParser.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <system_error>

#include "kit/core/ParseError.h"
#include "kit/core/TextServices.h"
#include "kit/core/TransformError.h"
#include "kit/facade/FindingMerge.h"
#include "kit/parsing/DocumentFormat.h"
#include "kit/parsing/JSONParser.h"
#include "kit/parsing/YAMLParser.h"
#include "kit/transform/OpenAPI3_0Transformer.h"
#include "kit/transform/OpenAPI3_1Transformer.h"
#include "kit/validation/OpenAPI30Validator.h"
#include "kit/validation/OpenAPI31Validator.h"

namespace VoziZazIre {

using namespace VoziZazIreCore;
using VoziZazIreParsing::DocumentFormat;
using VoziZazIreTransform::OpenAPIVersion;

namespace {

NodePtr parseTree(std::span<const std::uint8_t> bytes, Format format) {
  DocumentFormat syntax = DocumentFormat::json;
  switch (format) {
    case Format::auto_: syntax = VoziZazIreParsing::DocumentFormats::detect(bytes); break;
    case Format::json: syntax = DocumentFormat::json; break;
    case Format::yaml: syntax = DocumentFormat::yaml; break;
  }
  if (syntax == DocumentFormat::json) return VoziZazIreParsing::JSONParser().parse(bytes);
  return VoziZazIreParsing::YAMLParser().parse(bytes);
}

// The transform's findings, then at level high the validator's, a fault both of them found reported once.
template <class Transformer, class Validator>
ParseResult transformAndValidate(NodePtr root, OpenAPIVersion version, ValidationLevel level) {
  auto result = Transformer().transform(*root, level);
  std::vector<Diagnostic> diagnostics = std::move(result.diagnostics);
  if (level == ValidationLevel::high)
    diagnostics = FindingMerge::merge(std::move(diagnostics), Validator().validate(*result.model, true));
  return ParseResult{.genericTree = std::move(root),
                     .version = version,
                     .document = OpenAPIDocument(std::move(result.model)),
                     .diagnostics = std::move(diagnostics)};
}

[[noreturn]] void throwReadError(const std::filesystem::path& file, int error) {
  throw std::filesystem::filesystem_error("cannot read file", file, std::error_code(error, std::generic_category()));
}

// The whole file, read in one sized block where the size is known.
std::string readFile(const std::filesystem::path& file) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(file.c_str(), "rb"), &std::fclose);
  if (!stream) throwReadError(file, errno);
  std::string contents;
  std::error_code sizeError;
  const auto size = std::filesystem::file_size(file, sizeError);
  if (!sizeError && std::filesystem::is_regular_file(file, sizeError)) contents.reserve(size);
  char buffer[1 << 16];
  for (;;) {
    const std::size_t count = std::fread(buffer, 1, sizeof buffer, stream.get());
    contents.append(buffer, count);
    if (count < sizeof buffer) break;
  }
  if (std::ferror(stream.get())) throwReadError(file, errno ? errno : EIO);
  return contents;
}

// Version detection, the refusal of 2.0, the version's transform and, at level high, its validator.
ParseResult resultFor(NodePtr root, ValidationLevel validationLevel) {
  const OpenAPIVersion version = VoziZazIreTransform::OpenAPIVersions::detect(*root);
  switch (version) {
    case OpenAPIVersion::v2_0:
      throw TransformError("OpenAPI version 2.0 is not yet supported", std::string(root->jsonPointer()),
                           root->range());
    case OpenAPIVersion::v3_0:
      return transformAndValidate<VoziZazIreTransform::OpenAPI3_0Transformer, VoziZazIreValidation::OpenAPI30Validator>(
          std::move(root), version, validationLevel);
    case OpenAPIVersion::v3_1: break;
  }
  return transformAndValidate<VoziZazIreTransform::OpenAPI3_1Transformer, VoziZazIreValidation::OpenAPI31Validator>(
      std::move(root), OpenAPIVersion::v3_1, validationLevel);
}

}  // namespace

ParseResult OpenApiParser::parse(std::string_view text, Format format, ValidationLevel validationLevel) const {
  if (!TextServices::isValidUtf8(text)) throw ParseError("Failed to convert string to UTF-8 data");
  return parse(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), format,
               validationLevel);
}

ParseResult OpenApiParser::parse(std::span<const std::uint8_t> bytes, Format format,
                                 ValidationLevel validationLevel) const {
  return resultFor(parseTree(bytes, format), validationLevel);
}

ParseResult OpenApiParser::parseContentsOf(const std::filesystem::path& file, Format format,
                                           ValidationLevel validationLevel) const {
  std::string contents = readFile(file);
  if (format == Format::auto_) {
    std::string extension = file.extension().string();
    if (!extension.empty()) extension.erase(0, 1);
    if (auto known = VoziZazIreParsing::DocumentFormats::fromExtension(extension))
      format = *known == DocumentFormat::json ? Format::json : Format::yaml;
  }
  NodePtr root = parseTree(
      std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(contents.data()), contents.size()), format);
  // The tree holds copies of every text it needs: let the file's bytes go before the model is built.
  std::string().swap(contents);
  return resultFor(std::move(root), validationLevel);
}

}  // namespace VoziZazIre
