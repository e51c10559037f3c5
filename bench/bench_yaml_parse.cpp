// Parsing a multi-megabyte YAML description into the node tree (positions and pointers on every node)
// beside yaml-cpp building its own node tree from the same bytes, in one run.
//
//   build/bench/bench_yaml_parse
//
// Two inputs of about 4 MB each, made from the synthetic description: "quoted" is the generator's own
// YAML (block style, every string double-quoted); "plain" is the same description written the way
// people and most tools write YAML (plain scalars wherever they read back the same, literal block
// scalars for multi-line text, sequences at their key's indentation). Before timing, each input is
// checked: our tree must equal the JSON parser's tree of the same description, and yaml-cpp must read
// as many nodes as we do. After the runs the time ratios yaml-cpp / YAMLParser are printed.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "SyntheticDescription.h"
#include "kit/core/GenericNode.h"
#include "kit/core/TextServices.h"
#include "kit/parsing/JSONParser.h"
#include "kit/parsing/YAMLParser.h"
#include "kit/parsing/YAMLScalarResolver.h"

#ifdef CARVEX_HAVE_YAMLCPP
#include <yaml-cpp/yaml.h>
#endif

namespace {

using VoziZazIreCore::GenericNode;
using VoziZazIreCore::GenericNodeKind;

constexpr std::size_t kSize = 4u << 20;

// --- Writing a node tree as YAML in the plain style --------------------------------------------------

bool plainSafe(std::string_view text) {
  if (text.empty() || text.front() == ' ' || text.back() == ' ' || text.back() == ':') return false;
  if (std::string_view("-?:,[]{}#&*!|>'\"%@`").find(text.front()) != std::string_view::npos) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n' || c == '\r' || c == '\t') return false;
    if (c == ':' && i + 1 < text.size() && text[i + 1] == ' ') return false;
    if (c == '#' && i > 0 && text[i - 1] == ' ') return false;
  }
  return VoziZazIreParsing::YAMLScalarResolver::resolve(text).kind == VoziZazIreParsing::YAMLScalarResolver::Kind::string;
}

void doubleQuoted(std::string_view text, std::string& out) {
  out.push_back('"');
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c == '\n') {
      out += "\\n";
    } else if (c < 0x20) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\x%02x", c);
      out += buffer;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  out.push_back('"');
}

// A scalar after "key: " or "- "; `indent` is the indentation of the key or dash.
void scalar(const GenericNode* node, int indent, std::string& out) {
  switch (node->kind()) {
    case GenericNodeKind::null: out += "null"; return;
    case GenericNodeKind::bool_: out += *node->boolValue() ? "true" : "false"; return;
    case GenericNodeKind::number: out += VoziZazIreCore::TextServices::shortestDouble(*node->numberValue()); return;
    default: break;
  }
  const std::string_view text = *node->stringValue();
  if (plainSafe(text)) {
    out += text;
    return;
  }
  // Multi-line text without leading blanks on its lines, ending in at most one line break: literal.
  if (text.find('\n') != std::string_view::npos && text.find('\r') == std::string_view::npos && text.front() != ' ' &&
      text.find("\n ") == std::string_view::npos && text.find("\n\t") == std::string_view::npos &&
      text.find("\n\n") == std::string_view::npos && text.front() != '\n') {
    const bool finalBreak = text.back() == '\n';
    if (finalBreak && text.size() >= 2 && text[text.size() - 2] == '\n') {
      doubleQuoted(text, out);
      return;
    }
    out += finalBreak ? "|" : "|-";
    std::string_view body = finalBreak ? text.substr(0, text.size() - 1) : text;
    std::size_t start = 0;
    for (;;) {
      const std::size_t nl = body.find('\n', start);
      out.push_back('\n');
      out.append(static_cast<std::size_t>(indent + 2), ' ');
      out += body.substr(start, nl == std::string_view::npos ? std::string_view::npos : nl - start);
      if (nl == std::string_view::npos) break;
      start = nl + 1;
    }
    return;
  }
  doubleQuoted(text, out);
}

void key(std::string_view name, std::string& out) {
  if (plainSafe(name) || (!name.empty() && name.find_first_of(":#'\"\n\t") == std::string_view::npos && name.front() != ' ' &&
                          name.back() != ' ' && std::string_view("-?,[]{}&*!|>%@`").find(name.front()) == std::string_view::npos)) {
    out += name;
  } else {
    doubleQuoted(name, out);
  }
}

bool emptyCollection(const GenericNode* node) {
  return (node->kind() == GenericNodeKind::object || node->kind() == GenericNodeKind::array) && node->count() == 0;
}

void value(const GenericNode* node, int indent, std::string& out);

// Members of an object at `indent`; the first one goes where the output stands when `inlineFirst`.
void members(const GenericNode* node, int indent, bool inlineFirst, std::string& out) {
  bool first = true;
  const auto view = *node->objectValue();
  for (const auto& member : view) {
    if (!(first && inlineFirst)) {
      out.push_back('\n');
      out.append(static_cast<std::size_t>(indent), ' ');
    }
    first = false;
    key(member.key, out);
    out.push_back(':');
    const GenericNode* v = member.value;
    if (v->kind() == GenericNodeKind::object && !emptyCollection(v)) {
      members(v, indent + 2, false, out);
    } else if (v->kind() == GenericNodeKind::array && !emptyCollection(v)) {
      value(v, indent, out);  // sequences stand at the key's indentation
    } else {
      out.push_back(' ');
      value(v, indent, out);
    }
  }
}

void value(const GenericNode* node, int indent, std::string& out) {
  if (emptyCollection(node)) {
    out += node->kind() == GenericNodeKind::object ? "{}" : "[]";
    return;
  }
  if (node->kind() == GenericNodeKind::object) {
    members(node, indent, false, out);
    return;
  }
  if (node->kind() == GenericNodeKind::array) {
    const auto elements = *node->arrayValue();
    for (const GenericNode* element : elements) {
      out.push_back('\n');
      out.append(static_cast<std::size_t>(indent), ' ');
      out += "- ";
      if (element->kind() == GenericNodeKind::object && !emptyCollection(element)) {
        members(element, indent + 2, true, out);
      } else if (element->kind() == GenericNodeKind::array && !emptyCollection(element)) {
        out.pop_back();
        value(element, indent + 2, out);
      } else {
        value(element, indent, out);
      }
    }
    return;
  }
  scalar(node, indent, out);
}

// --- Inputs and answer checks -------------------------------------------------------------------------

const std::string& jsonText() {
  static const std::string text = SyntheticDescription::generate(kSize, SyntheticDescription::Syntax::json);
  return text;
}

// The JSON twin of the generator's YAML: the same description, written as JSON.
const std::string& quotedTwin() {
  static const std::string text = [] {
    using SyntheticDescription::Syntax;
    std::string one, two;
    SyntheticDescription::detail::write(one, Syntax::yaml, 1, 1);
    SyntheticDescription::detail::write(two, Syntax::yaml, 2, 2);
    const std::size_t count = (kSize - one.size()) / (two.size() - one.size()) + 1;
    std::string out;
    SyntheticDescription::detail::write(out, Syntax::json, static_cast<int>(count), static_cast<int>(count));
    return out;
  }();
  return text;
}

const std::string& quotedInput() {
  static const std::string text = SyntheticDescription::generate(kSize, SyntheticDescription::Syntax::yaml);
  return text;
}

const std::string& plainInput() {
  static const std::string text = [] {
    const auto root = VoziZazIreParsing::JSONParser().parse(std::string_view(jsonText()));
    std::string out;
    members(root.get(), 0, true, out);
    out.push_back('\n');
    return out;
  }();
  return text;
}

const std::string& input(int which) { return which == 0 ? quotedInput() : plainInput(); }

std::size_t countNodes(const GenericNode& root) {
  std::size_t count = 0;
  std::vector<const GenericNode*> stack{&root};
  while (!stack.empty()) {
    const GenericNode* node = stack.back();
    stack.pop_back();
    ++count;
    if (auto members = node->objectValue()) {
      for (const auto& member : *members) stack.push_back(member.value);
    } else if (auto elements = node->arrayValue()) {
      for (const GenericNode* element : *elements) stack.push_back(element);
    }
  }
  return count;
}

// Structural equality by value, with an explicit stack.
bool sameValue(const GenericNode* a, const GenericNode* b) {
  std::vector<std::pair<const GenericNode*, const GenericNode*>> stack{{a, b}};
  while (!stack.empty()) {
    auto [x, y] = stack.back();
    stack.pop_back();
    if (x->kind() != y->kind()) return false;
    switch (x->kind()) {
      case GenericNodeKind::null: break;
      case GenericNodeKind::bool_: if (*x->boolValue() != *y->boolValue()) return false; break;
      case GenericNodeKind::number: if (*x->numberValue() != *y->numberValue()) return false; break;
      case GenericNodeKind::string: if (*x->stringValue() != *y->stringValue()) return false; break;
      case GenericNodeKind::array: {
        if (x->count() != y->count()) return false;
        for (std::size_t i = 0; i < x->count(); ++i) stack.push_back({(*x)[i], (*y)[i]});
        break;
      }
      case GenericNodeKind::object: {
        if (x->count() != y->count()) return false;
        const auto view = *x->objectValue();
        for (const auto& member : view) {
          const GenericNode* other = (*y)[member.key];
          if (!other) return false;
          stack.push_back({member.value, other});
        }
        break;
      }
    }
  }
  return true;
}

#ifdef CARVEX_HAVE_YAMLCPP
std::size_t countNodes(const YAML::Node& root) {
  std::size_t count = 0;
  std::vector<YAML::Node> stack{root};
  while (!stack.empty()) {
    YAML::Node node = stack.back();
    stack.pop_back();
    ++count;
    if (node.IsMap()) {
      for (const auto& entry : node) stack.push_back(entry.second);
    } else if (node.IsSequence()) {
      for (const auto& element : node) stack.push_back(element);
    }
  }
  return count;
}
#endif

bool answersAgree(int which, std::string* why) {
  const std::string& text = input(which);
  const auto ours = VoziZazIreParsing::YAMLParser().parse(std::string_view(text));
  const auto reference = VoziZazIreParsing::JSONParser().parse(std::string_view(which == 0 ? quotedTwin() : jsonText()));
  if (!sameValue(ours.get(), reference.get())) {
    *why = "the YAML tree differs from the JSON tree of the same description";
    return false;
  }
#ifdef CARVEX_HAVE_YAMLCPP
  const std::size_t theirs = countNodes(YAML::Load(text));
  if (countNodes(*ours) != theirs) {
    *why = "node counts differ: " + std::to_string(countNodes(*ours)) + " vs " + std::to_string(theirs);
    return false;
  }
#endif
  return true;
}

void BM_YAMLParser(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  std::string why;
  if (!answersAgree(which, &why)) {
    state.SkipWithError(why.c_str());
    return;
  }
  const std::string& text = input(which);
  const auto bytes = VoziZazIreParsing::DocumentParser::bytesOf(text);
  for (auto _ : state) {
    VoziZazIreCore::NodePtr root = VoziZazIreParsing::YAMLParser().parse(bytes);
    benchmark::DoNotOptimize(root.get());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
  state.SetLabel(which == 0 ? "quoted" : "plain");
}
BENCHMARK(BM_YAMLParser)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

#ifdef CARVEX_HAVE_YAMLCPP
void BM_YamlCppLoad(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  const std::string& text = input(which);
  for (auto _ : state) {
    YAML::Node root = YAML::Load(text);
    benchmark::DoNotOptimize(root.IsMap());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
  state.SetLabel(which == 0 ? "quoted" : "plain");
}
BENCHMARK(BM_YamlCppLoad)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
#endif

// Prints the usual table, then the ratios the target is stated in.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      times_[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const char* arg : {"0", "1"}) {
      auto ours = times_.find(std::string("BM_YAMLParser/") + arg);
      auto theirs = times_.find(std::string("BM_YamlCppLoad/") + arg);
      if (ours != times_.end() && theirs != times_.end() && ours->second > 0)
        std::printf("yaml-cpp / YAMLParser time (%s): %.2fx (target: at least 3x)\n",
                    arg[0] == '0' ? "quoted" : "plain", theirs->second / ours->second);
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
