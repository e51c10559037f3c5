// kitdump: a developer tool that prints what the document kit reads from a file.
//
//   kitdump [--format json|yaml|auto] [--level none|low|high] <command> FILE
//   kitdump [--format ...] [--level ...] example FILE REF [--yaml]
//
// Commands are listed in kCommands; each takes the parsed options and returns the exit status.
// Exit status: 0 success, 2 the file does not parse or cannot be read into the model (the ParseError's or
// TransformError's printed form goes to standard error), 64 bad usage, 66 the file cannot be read.
//
// `parse` prints the detected version ("3.0" or "3.1") on the first line, then one line per finding in
// order: "<severity>\t<pointer>\t<line>:<column>\t<message>" (see FindingLister.h for absent parts).
// Without --format it follows the parse facade's file rules: the extension decides, else the content.
//
// `example` prints the example of one schema reference (such as "#/components/schemas/Pet") as the
// editor generates it (no provided examples, optional properties, depth 10, null for cycles), as
// indented JSON or with --yaml as YAML; a generation error goes to standard error with status 2. The
// file is read without validation unless --level says otherwise.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kit/core/ParseError.h"
#include "kit/core/TransformError.h"
#include "kit/core/ValidationLevel.h"
#include "kit/examples/ExampleGenerationError.h"
#include "kit/examples/ExampleGenerator.h"
#include "kit/facade/OpenApiParser.h"
#include "kit/parsing/DocumentFormat.h"
#include "kit/parsing/JSONParser.h"
#include "kit/parsing/YAMLParser.h"
#include "tools/kitdump/FindingLister.h"
#include "tools/kitdump/NodeLister.h"
#include "tools/kitdump/OutputBuffer.h"
#include "tools/kitdump/TreeWriter.h"

namespace {

using VoziZazIreCore::NodePtr;
using VoziZazIreParsing::DocumentFormat;

constexpr int kExitParseError = 2;
constexpr int kExitUsage = 64;
constexpr int kExitNoInput = 66;

struct Options {
  std::optional<DocumentFormat> format;  // nothing: detect
  VoziZazIreCore::ValidationLevel level = VoziZazIreCore::ValidationLevel::high;
  bool levelGiven = false;
  std::string file;
  // example: the schema reference and the output form.
  std::string reference;
  bool yaml = false;
};

struct Command {
  std::string_view name;
  std::string_view summary;
  int (*run)(const Options&);
  // FILE, and REF for example.
  std::size_t operands = 1;
};

int printUsage(std::FILE* stream, int status);

// Reads and parses the file; the exit status when that fails.
struct Loaded {
  std::string text;
  NodePtr root;
  int status = 0;
};

Loaded load(const Options& options) {
  Loaded loaded;
  std::ifstream in(options.file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "kitdump: cannot read %s\n", options.file.c_str());
    loaded.status = kExitNoInput;
    return loaded;
  }
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size >= 0) {
    // Sized once: no transient copies of a large file.
    in.seekg(0, std::ios::beg);
    loaded.text.resize(static_cast<std::size_t>(size));
    in.read(loaded.text.data(), size);
  } else {
    // A pipe or another stream without a size.
    in.clear();
    loaded.text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  if (!in) {
    std::fprintf(stderr, "kitdump: cannot read %s\n", options.file.c_str());
    loaded.status = kExitNoInput;
    return loaded;
  }
  const auto bytes = VoziZazIreParsing::DocumentParser::bytesOf(loaded.text);
  const DocumentFormat format = options.format.value_or(VoziZazIreParsing::DocumentFormats::detect(bytes));
  try {
    if (format == DocumentFormat::json) {
      loaded.root = VoziZazIreParsing::JSONParser().parse(bytes);
    } else {
      loaded.root = VoziZazIreParsing::YAMLParser().parse(bytes);
    }
  } catch (const VoziZazIreCore::ParseError& error) {
    std::fprintf(stderr, "%s\n", error.description().c_str());
    loaded.status = kExitParseError;
  }
  // The text is no longer needed once the tree holds its own copies.
  loaded.text = std::string();
  return loaded;
}

int runTree(const Options& options) {
  Loaded loaded = load(options);
  if (loaded.status) return loaded.status;
  Kitdump::OutputBuffer out(stdout);
  Kitdump::TreeWriter(out).write(*loaded.root);
  return 0;
}

int runNodes(const Options& options) {
  Loaded loaded = load(options);
  if (loaded.status) return loaded.status;
  Kitdump::OutputBuffer out(stdout);
  Kitdump::NodeLister(out).write(*loaded.root);
  return 0;
}

int runParse(const Options& options) {
  VoziZazIre::Format format = VoziZazIre::Format::auto_;
  if (options.format) format = *options.format == DocumentFormat::json ? VoziZazIre::Format::json : VoziZazIre::Format::yaml;
  try {
    const VoziZazIre::ParseResult result = VoziZazIre::OpenApiParser().parseContentsOf(options.file, format, options.level);
    Kitdump::OutputBuffer out(stdout);
    out << rawValue(result.version) << "\n";
    Kitdump::FindingLister(out).write(result.diagnostics);
    return 0;
  } catch (const VoziZazIreCore::ParseError& error) {
    std::fprintf(stderr, "%s\n", error.description().c_str());
  } catch (const VoziZazIreCore::TransformError& error) {
    std::fprintf(stderr, "%s\n", error.description().c_str());
  } catch (const std::filesystem::filesystem_error&) {
    std::fprintf(stderr, "kitdump: cannot read %s\n", options.file.c_str());
    return kExitNoInput;
  }
  return kExitParseError;
}

int runExample(const Options& options) {
  namespace Examples = VoziZazIreExampleGeneration;
  VoziZazIre::Format format = VoziZazIre::Format::auto_;
  if (options.format) format = *options.format == DocumentFormat::json ? VoziZazIre::Format::json : VoziZazIre::Format::yaml;
  const VoziZazIreCore::ValidationLevel level = options.levelGiven ? options.level : VoziZazIreCore::ValidationLevel::none;
  try {
    const VoziZazIre::ParseResult result = VoziZazIre::OpenApiParser().parseContentsOf(options.file, format, level);
    const Examples::ExampleGenerator generator(Examples::ExampleGenerationOptions(
        false, true, true, 10, Examples::CycleHandling::useNeutralValue, Examples::ResponseSelection::prefer200,
        Examples::ContentTypeSelection::firstDefined));
    const VoziZazIreCore::Reference reference(options.reference, std::nullopt, std::nullopt, std::nullopt);
    NodePtr example;
    if (const auto* document = result.document.v3_0()) {
      example = generator.generate(VoziZazIreCore::ReferenceOr<Examples::ExampleModel30::Schema>(reference),
                                   document->components.get());
    } else {
      const auto* document31 = result.document.v3_1();
      example = generator.generate(VoziZazIreCore::ReferenceOr<Examples::ExampleModel31::Schema>(reference),
                                   document31->components.get());
    }
    Kitdump::OutputBuffer out(stdout);
    out << (options.yaml ? generator.toYAML(*example) : generator.toJSON(*example, true)) << "\n";
    return 0;
  } catch (const Examples::ExampleGenerationError& error) {
    std::fprintf(stderr, "%s\n", error.what());
  } catch (const VoziZazIreCore::ParseError& error) {
    std::fprintf(stderr, "%s\n", error.description().c_str());
  } catch (const VoziZazIreCore::TransformError& error) {
    std::fprintf(stderr, "%s\n", error.description().c_str());
  } catch (const std::filesystem::filesystem_error&) {
    std::fprintf(stderr, "kitdump: cannot read %s\n", options.file.c_str());
    return kExitNoInput;
  }
  return kExitParseError;
}

constexpr Command kCommands[] = {
    {"tree", "print the node tree as one line of JSON", runTree},
    {"nodes", "print one line per node: pointer, kind, start and end (line:column:offset)", runNodes},
    {"parse",
     "print the detected version, then one line per finding:\n"
     "         <severity>TAB<pointer>TAB<line>:<column>TAB<message>\n"
     "         (absent pointer: empty; absent range: 0:0; \\ TAB LF CR in texts as \\\\ \\t \\n \\r)",
     runParse},
    {"example",
     "print the example of the schema reference REF (FILE REF) as indented JSON,\n"
     "         or with --yaml as YAML",
     runExample, 2},
};

int printUsage(std::FILE* stream, int status) {
  std::fprintf(stream,
               "usage: kitdump [--format json|yaml|auto] [--level none|low|high] <command> FILE [REF] [--yaml]\n"
               "commands:\n");
  for (const Command& command : kCommands)
    std::fprintf(stream, "  %-6s %.*s\n", std::string(command.name).c_str(), static_cast<int>(command.summary.size()),
                 command.summary.data());
  return status;
}

int usageError(const std::string& message) {
  std::fprintf(stderr, "kitdump: %s\n", message.c_str());
  return printUsage(stderr, kExitUsage);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help") return printUsage(stdout, 0);
    if (arg == "--format" || arg.starts_with("--format=")) {
      std::string_view value;
      if (arg == "--format") {
        if (i + 1 >= argc) return usageError("--format needs a value");
        value = argv[++i];
      } else {
        value = arg.substr(9);
      }
      if (value == "json") {
        options.format = DocumentFormat::json;
      } else if (value == "yaml") {
        options.format = DocumentFormat::yaml;
      } else if (value == "auto") {
        options.format.reset();
      } else {
        return usageError("unknown format '" + std::string(value) + "'");
      }
      continue;
    }
    if (arg == "--level" || arg.starts_with("--level=")) {
      std::string_view value;
      if (arg == "--level") {
        if (i + 1 >= argc) return usageError("--level needs a value");
        value = argv[++i];
      } else {
        value = arg.substr(8);
      }
      if (value == "none") {
        options.level = VoziZazIreCore::ValidationLevel::none;
        options.levelGiven = true;
      } else if (value == "low") {
        options.level = VoziZazIreCore::ValidationLevel::low;
        options.levelGiven = true;
      } else if (value == "high") {
        options.level = VoziZazIreCore::ValidationLevel::high;
        options.levelGiven = true;
      } else {
        return usageError("unknown level '" + std::string(value) + "'");
      }
      continue;
    }
    if (arg == "--yaml") {
      options.yaml = true;
      continue;
    }
    if (arg.size() > 1 && arg.starts_with("-")) return usageError("unknown option '" + std::string(arg) + "'");
    positional.emplace_back(arg);
  }
  if (positional.empty()) return usageError("missing command");
  const Command* command = nullptr;
  for (const Command& candidate : kCommands)
    if (candidate.name == positional[0]) command = &candidate;
  if (!command) return usageError("unknown command '" + positional[0] + "'");
  if (command->operands == 2) {
    if (positional.size() != 3) return usageError("expected FILE and REF");
    options.reference = positional[2];
  } else {
    if (positional.size() != 2) return usageError("expected exactly one FILE");
    if (options.yaml) return usageError("--yaml is an option of example");
  }
  options.file = positional[1];
  return command->run(options);
}
