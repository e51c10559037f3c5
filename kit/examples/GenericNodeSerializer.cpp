#include "kit/examples/GenericNodeSerializer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

#include "kit/core/TextServices.h"

namespace VoziZazIreExampleGeneration::GenericNodeSerializer {

using VoziZazIreCore::GenericNode;
using VoziZazIreCore::GenericNodeKind;
namespace TextServices = VoziZazIreCore::TextServices;

namespace {

constexpr double kTwo63 = 9223372036854775808.0;

bool isContainer(const GenericNode& node) {
  return node.kind() == GenericNodeKind::object || node.kind() == GenericNodeKind::array;
}

bool isNonEmptyContainer(const GenericNode& node) { return isContainer(node) && node.count() > 0; }

// The members of an object in ascending byte order of their keys, or the elements of an array.
struct Children {
  std::vector<GenericNode::Member> members;
  GenericNode::ArrayView elements;
  bool object = false;
  std::size_t size() const { return object ? members.size() : elements.size(); }
  const GenericNode& at(std::size_t i) const { return object ? *members[i].value : *elements[i]; }
};

Children childrenOf(const GenericNode& node) {
  Children children;
  if (auto object = node.objectValue()) {
    children.object = true;
    children.members.assign(object->begin(), object->end());
    std::sort(children.members.begin(), children.members.end(),
              [](const GenericNode::Member& a, const GenericNode::Member& b) { return a.key < b.key; });
  } else if (auto array = node.arrayValue()) {
    children.elements = *array;
  }
  return children;
}

// Calls `emit(codePoint, bytes)` for each scalar of the text; bytes that are not UTF-8 come as U+FFFD.
template <class Emit>
void forEachScalar(std::string_view text, Emit emit) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = pos;
    const unsigned char byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80) {
      ++pos;
      emit(static_cast<char32_t>(byte), text.substr(start, 1));
      continue;
    }
    char32_t cp = TextServices::decodeUtf8(text, pos);
    if (cp == 0xFFFD) {
      emit(cp, std::string_view("\xEF\xBF\xBD"));
    } else {
      emit(cp, text.substr(start, pos - start));
    }
  }
}

void appendHexEscape(std::string& out, char32_t cp) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kDigits[(cp >> shift) & 0xF]);
}

void appendJSONQuoted(std::string& out, std::string_view text) {
  out.push_back('"');
  forEachScalar(text, [&](char32_t cp, std::string_view bytes) {
    switch (cp) {
      case '"': out += "\\\""; return;
      case '\\': out += "\\\\"; return;
      case '\n': out += "\\n"; return;
      case '\r': out += "\\r"; return;
      case '\t': out += "\\t"; return;
      default:
        if (cp < 0x20) {
          appendHexEscape(out, cp);
        } else {
          out.append(bytes);
        }
    }
  });
  out.push_back('"');
}

// Characters that a YAML reader does not take as they stand inside a scalar: the C0 controls other
// than line feed, carriage return and tab (which have escapes of their own), DEL, the C1 controls and
// the line and paragraph separators.
bool isYAMLUnprintable(char32_t cp) {
  return (cp < 0x20 && cp != '\n' && cp != '\r' && cp != '\t') || (cp >= 0x7F && cp <= 0x9F) || cp == 0x2028 ||
         cp == 0x2029;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool equalsIgnoringCase(std::string_view text, std::string_view lowerWord) {
  if (text.size() != lowerWord.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lowerWord[i]) return false;
  }
  return true;
}

// Whether the whole text reads as a double the way the C conversion reads it: a sign, then decimal
// digits with a point and an exponent, or "0x" hexadecimal digits with a point and a binary exponent,
// or inf, infinity, nan or nan(...) in any letter case. Leading white space does not read.
bool readsAsDouble(std::string_view text) {
  std::string_view body = text;
  if (!body.empty() && (body[0] == '+' || body[0] == '-')) body.remove_prefix(1);
  if (body.empty()) return false;
  if (equalsIgnoringCase(body, "inf") || equalsIgnoringCase(body, "infinity") || equalsIgnoringCase(body, "nan"))
    return true;
  if (body.size() >= 5 && equalsIgnoringCase(body.substr(0, 4), "nan(") && body.back() == ')') {
    for (char c : body.substr(4, body.size() - 5))
      if (!(isDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') || c == '_')) return false;
    return true;
  }
  const bool hex = body.size() > 2 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X');
  auto digit = hex ? isHexDigit : isDigit;
  std::size_t i = hex ? 2 : 0, digits = 0;
  while (i < body.size() && digit(body[i])) ++i, ++digits;
  if (i < body.size() && body[i] == '.') {
    ++i;
    while (i < body.size() && digit(body[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < body.size() && (hex ? (body[i] == 'p' || body[i] == 'P') : (body[i] == 'e' || body[i] == 'E'))) {
    std::size_t e = i + 1;
    if (e < body.size() && (body[e] == '+' || body[e] == '-')) ++e;
    std::size_t exponentDigits = 0;
    while (e < body.size() && isDigit(body[e])) ++e, ++exponentDigits;
    if (exponentDigits == 0) return false;
    i = e;
  }
  return i == body.size();
}

bool needsYAMLQuoting(std::string_view text) {
  if (text.empty()) return true;
  if (text.size() <= 5) {
    std::string lowered(text);
    for (char& c : lowered)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (std::string_view word : {"true", "false", "null", "yes", "no", "on", "off", "~"})
      if (lowered == word) return true;
  }
  if (text.find_first_of(std::string_view(":{}[]&*#?|-<>=!%@`\"'\\,\n\r\t")) != std::string_view::npos) return true;
  if (readsAsDouble(text)) return true;
  // "..." at the start of a line ends the document ("---" has a hyphen and is quoted already).
  if (text.starts_with("...")) return true;
  bool ascii = true;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return true;
    if (byte >= 0x80) ascii = false;
  }
  if (ascii) {
    auto space = [](char c) { return c == ' ' || c == '\v' || c == '\f'; };
    return space(text.front()) || space(text.back());
  }
  bool quote = false;
  std::size_t count = 0;
  char32_t first = 0, last = 0;
  forEachScalar(text, [&](char32_t cp, std::string_view) {
    if (count++ == 0) first = cp;
    last = cp;
    // U+FFFD stands in for bytes that are not UTF-8: quoting keeps the replacement readable.
    if (isYAMLUnprintable(cp) || cp == 0xFFFD) quote = true;
  });
  return quote || TextServices::isWhiteSpace(first) || TextServices::isWhiteSpace(last);
}

void appendYAMLScalar(std::string& out, std::string_view text) {
  if (!needsYAMLQuoting(text)) {
    out.append(text);
    return;
  }
  out.push_back('"');
  forEachScalar(text, [&](char32_t cp, std::string_view bytes) {
    switch (cp) {
      case '"': out += "\\\""; return;
      case '\\': out += "\\\\"; return;
      case '\n': out += "\\n"; return;
      case '\r': out += "\\r"; return;
      case '\t': out += "\\t"; return;
      default:
        if (isYAMLUnprintable(cp)) {
          appendHexEscape(out, cp);
        } else {
          out.append(bytes);
        }
    }
  });
  out.push_back('"');
}

enum class Dialect { json, yaml };

void appendNumber(std::string& out, double value, Dialect dialect) {
  if (!std::isfinite(value)) {
    if (dialect == Dialect::json) {
      out += "null";
    } else {
      out += std::isnan(value) ? ".nan" : (value > 0 ? ".inf" : "-.inf");
    }
    return;
  }
  out += formatNumber(value);
}

// The text of a scalar or an empty container.
void appendLeaf(std::string& out, const GenericNode& node, Dialect dialect) {
  switch (node.kind()) {
    case GenericNodeKind::object: out += "{}"; return;
    case GenericNodeKind::array: out += "[]"; return;
    case GenericNodeKind::string:
      if (dialect == Dialect::json) {
        appendJSONQuoted(out, *node.stringValue());
      } else {
        appendYAMLScalar(out, *node.stringValue());
      }
      return;
    case GenericNodeKind::number: appendNumber(out, *node.numberValue(), dialect); return;
    case GenericNodeKind::bool_: out += *node.boolValue() ? "true" : "false"; return;
    case GenericNodeKind::null: out += "null"; return;
  }
}

struct Frame {
  Children children;
  std::size_t next = 0;
  std::size_t level = 0;
  // YAML: the first line follows a "- " already written, so it takes no indentation.
  bool inlineFirst = false;
};

std::string writeJSON(const GenericNode& root, bool pretty) {
  std::string out;
  if (!isNonEmptyContainer(root)) {
    appendLeaf(out, root, Dialect::json);
    return out;
  }
  std::vector<Frame> stack;
  auto open = [&](const GenericNode& node, std::size_t level) {
    out.push_back(node.kind() == GenericNodeKind::object ? '{' : '[');
    if (pretty) out.push_back('\n');
    stack.push_back({childrenOf(node), 0, level, false});
  };
  open(root, 0);
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next == top.children.size()) {
      if (pretty) {
        out.push_back('\n');
        out.append(2 * top.level, ' ');
      }
      out.push_back(top.children.object ? '}' : ']');
      stack.pop_back();
      continue;
    }
    const std::size_t i = top.next++;
    if (i > 0) out += pretty ? ",\n" : ",";
    if (pretty) out.append(2 * (top.level + 1), ' ');
    if (top.children.object) {
      appendJSONQuoted(out, top.children.members[i].key);
      out += pretty ? ": " : ":";
    }
    const GenericNode& child = top.children.at(i);
    if (isNonEmptyContainer(child)) {
      open(child, top.level + 1);  // `top` is not used after this
    } else {
      appendLeaf(out, child, Dialect::json);
    }
  }
  return out;
}

std::string writeYAML(const GenericNode& root) {
  std::string out;
  if (!isNonEmptyContainer(root)) {
    appendLeaf(out, root, Dialect::yaml);
    return out;
  }
  std::vector<Frame> stack;
  stack.push_back({childrenOf(root), 0, 0, false});
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next == top.children.size()) {
      stack.pop_back();
      continue;
    }
    const std::size_t i = top.next++;
    const std::size_t level = top.level;
    if (i > 0) out.push_back('\n');
    if (i > 0 || !top.inlineFirst) out.append(2 * level, ' ');
    const GenericNode& child = top.children.at(i);
    const bool nested = isNonEmptyContainer(child);
    if (top.children.object) {
      appendYAMLScalar(out, top.children.members[i].key);
      if (nested) {
        out += ":\n";
        stack.push_back({childrenOf(child), 0, level + 1, false});
      } else {
        out += ": ";
        appendLeaf(out, child, Dialect::yaml);
      }
    } else if (nested && child.kind() == GenericNodeKind::array) {
      out += "-\n";
      stack.push_back({childrenOf(child), 0, level + 1, false});
    } else if (nested) {
      out += "- ";
      stack.push_back({childrenOf(child), 0, level + 1, true});
    } else {
      out += "- ";
      appendLeaf(out, child, Dialect::yaml);
    }
  }
  return out;
}

}  // namespace

std::string formatNumber(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  char buffer[64];
  const double magnitude = std::fabs(value);
  if (std::trunc(value) == value && magnitude < kTwo63) {
    char* end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<int64_t>(value)).ptr;
    return std::string(buffer, end);
  }
  const auto format = magnitude >= 0.0001 && magnitude < kTwo63 ? std::chars_format::fixed : std::chars_format::scientific;
  char* end = std::to_chars(buffer, buffer + sizeof buffer, value, format).ptr;
  return std::string(buffer, end);
}

std::string toJSON(const GenericNode& node, bool prettyPrint) { return writeJSON(node, prettyPrint); }

std::string toYAML(const GenericNode& node) { return writeYAML(node); }

std::string serialize(const GenericNode& node, OutputFormat format) {
  return format == OutputFormat::yaml ? writeYAML(node) : writeJSON(node, true);
}

}  // namespace VoziZazIreExampleGeneration::GenericNodeSerializer
