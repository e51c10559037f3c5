#pragma once
// A generator of large, realistic OpenAPI descriptions for benchmarks: many paths with several
// operations each, parameters, request bodies and responses referring to schemas by $ref, schemas with
// deep nesting and examples, and non-ASCII text (accents, Cyrillic, CJK, emoji, combining marks).
// The same description can be written as pretty-printed JSON or as block-style YAML.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace SyntheticDescription {

enum class Syntax { json, yaml };

namespace detail {

// Writes nested objects and arrays as pretty JSON or block YAML through one set of calls.
class Emitter {
 public:
  Emitter(std::string& out, Syntax syntax) : out_(out), yaml_(syntax == Syntax::yaml) {}

  void key(std::string_view name) {
    Frame& f = frames_.back();
    if (yaml_) {
      if (f.count == 0 && f.inlineFirst) {
        // Right after "- ".
      } else {
        if (!out_.empty()) out_.push_back('\n');
        out_.append(static_cast<std::size_t>(f.indent), ' ');
      }
      if (plainKey(name)) {
        out_.append(name);
      } else {
        quoted(name);
      }
      out_.push_back(':');
    } else {
      if (f.count > 0) out_.push_back(',');
      out_.push_back('\n');
      out_.append(static_cast<std::size_t>(f.indent), ' ');
      quoted(name);
      out_.append(": ");
    }
    ++f.count;
  }

  void string(std::string_view value) {
    prefix(true);
    quoted(value);
  }
  void integer(std::int64_t value) {
    prefix(true);
    out_.append(std::to_string(value));
  }
  void number(std::string_view text) {
    prefix(true);
    out_.append(text);
  }
  void boolean(bool value) {
    prefix(true);
    out_.append(value ? "true" : "false");
  }

  void beginObject() { begin(true); }
  void beginArray() { begin(false); }
  void end() {
    Frame f = frames_.back();
    frames_.pop_back();
    if (yaml_) {
      if (f.count == 0) {
        if (!frames_.empty() && frames_.back().object) out_.push_back(' ');
        out_.append(f.object ? "{}" : "[]");
      }
    } else {
      if (f.count > 0) {
        out_.push_back('\n');
        out_.append(static_cast<std::size_t>(f.indent - 2), ' ');
      }
      out_.push_back(f.object ? '}' : ']');
    }
    if (frames_.empty()) out_.push_back('\n');
  }

  // Shorthands for members.
  void member(std::string_view name, std::string_view value) {
    key(name);
    string(value);
  }
  void member(std::string_view name, const char* value) { member(name, std::string_view(value)); }
  void member(std::string_view name, const std::string& value) { member(name, std::string_view(value)); }
  void member(std::string_view name, std::int64_t value) {
    key(name);
    integer(value);
  }
  void memberNumber(std::string_view name, std::string_view text) {
    key(name);
    number(text);
  }
  void member(std::string_view name, bool value) {
    key(name);
    boolean(value);
  }

 private:
  struct Frame {
    bool object;
    int indent;
    int count;
    bool inlineFirst;
  };

  // Writes what comes before a value; `scalar` says whether the value is written right here.
  void prefix(bool scalar) {
    if (frames_.empty()) return;
    Frame& f = frames_.back();
    if (f.object) {
      if (yaml_ && scalar) out_.push_back(' ');
      return;
    }
    if (yaml_) {
      if (!(f.count == 0 && f.inlineFirst)) {
        out_.push_back('\n');
        out_.append(static_cast<std::size_t>(f.indent), ' ');
      }
      out_.append("- ");
    } else {
      if (f.count > 0) out_.push_back(',');
      out_.push_back('\n');
      out_.append(static_cast<std::size_t>(f.indent), ' ');
    }
    ++f.count;
  }

  void begin(bool object) {
    const bool inArray = !frames_.empty() && !frames_.back().object;
    prefix(false);
    const int parentIndent = frames_.empty() ? (yaml_ ? -2 : 0) : frames_.back().indent;
    if (!yaml_) out_.push_back(object ? '{' : '[');
    frames_.push_back({object, yaml_ ? parentIndent + 2 : parentIndent + 2, 0, yaml_ && inArray});
  }

  static bool plainKey(std::string_view name) {
    if (name.empty()) return false;
    const char first = name.front();
    if (!((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z') || first == '_' || first == '$' ||
          first == '/'))
      return false;
    for (char c : name) {
      const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                      c == '-' || c == '.' || c == '/' || c == '{' || c == '}' || c == '$';
      if (!ok) return false;
    }
    return name != "true" && name != "false" && name != "null" && name != "yes" && name != "no" && name != "on" &&
           name != "off" && name != "y" && name != "n";
  }

  void quoted(std::string_view text) {
    out_.push_back('"');
    for (char c : text) {
      if (c == '"' || c == '\\') {
        out_.push_back('\\');
        out_.push_back(c);
      } else if (c == '\n') {
        out_.append("\\n");
      } else {
        out_.push_back(c);
      }
    }
    out_.push_back('"');
  }

  std::string& out_;
  bool yaml_;
  std::vector<Frame> frames_;
};

inline constexpr std::string_view kTexts[] = {
    "Returns the resource — a short summary",
    "Gibt die Ressource zur\xc3\xbc" "ck (\xc3\x9c" "bersicht, Gr\xc3\xb6\xc3\x9f" "e)",
    "\xd0\x92\xd0\xbe\xd0\xb7\xd0\xb2\xd1\x80\xd0\xb0\xd1\x89\xd0\xb0\xd0\xb5\xd1\x82 \xd1\x80\xd0\xb5\xd1\x81\xd1\x83\xd1\x80\xd1\x81",
    "\xe3\x83\xaa\xe3\x82\xbd\xe3\x83\xbc\xe3\x82\xb9\xe3\x82\x92\xe8\xbf\x94\xe3\x81\x97\xe3\x81\xbe\xe3\x81\x99 \xf0\x9f\x98\x80",
    "Cafe\xcc\x81 cre\xcc\x80me \xf0\x9f\x91\xa8\xe2\x80\x8d\xf0\x9f\x91\xa9\xe2\x80\x8d\xf0\x9f\x91\xa7 family \"quoted\"",
};

inline void schema(Emitter& e, int model, int models) {
  const std::string self = "Model" + std::to_string(model);
  const std::string other = "#/components/schemas/Model" + std::to_string((model + 1) % models);
  e.beginObject();
  e.member("type", "object");
  e.member("description", kTexts[model % 5]);
  e.key("required");
  e.beginArray();
  e.string("id");
  e.string("name");
  e.end();
  e.key("properties");
  e.beginObject();
  e.key("id");
  e.beginObject();
  e.member("type", "integer");
  e.member("format", "int64");
  e.member("minimum", std::int64_t{1});
  e.end();
  e.key("name");
  e.beginObject();
  e.member("type", "string");
  e.member("maxLength", std::int64_t{120});
  e.member("pattern", "^[A-Za-z0-9 _-]+$");
  e.end();
  e.key("price");
  e.beginObject();
  e.member("type", "number");
  e.memberNumber("minimum", "0.5");
  e.memberNumber("multipleOf", "0.01");
  e.end();
  e.key("related");
  e.beginObject();
  e.member("type", "array");
  e.key("items");
  e.beginObject();
  e.member("$ref", other);
  e.end();
  e.end();
  e.key("status");
  e.beginObject();
  e.member("type", "string");
  e.key("enum");
  e.beginArray();
  for (std::string_view s : {"available", "pending", "sold"}) e.string(s);
  e.end();
  e.end();
  // Deep nesting: objects within objects.
  e.key("details");
  const int depth = 6 + model % 5;
  for (int level = 0; level < depth; ++level) {
    e.beginObject();
    e.member("type", "object");
    e.member("description", kTexts[(model + level) % 5]);
    e.key("properties");
    e.beginObject();
    e.key("value" + std::to_string(level));
    e.beginObject();
    e.member("type", level % 2 ? "string" : "integer");
    e.member("nullable", level % 3 == 0);
    e.end();
    e.key("level" + std::to_string(level + 1));
  }
  e.beginObject();
  e.member("$ref", "#/components/schemas/" + self);
  e.end();
  for (int level = 0; level < depth; ++level) {
    e.end();
    e.end();
  }
  e.end();  // properties
  e.key("example");
  e.beginObject();
  e.member("id", std::int64_t{model} * 7 + 1);
  e.member("name", kTexts[(model + 2) % 5]);
  e.memberNumber("price", "19.99");
  e.key("related");
  e.beginArray();
  e.end();
  e.end();
  e.end();
}

inline void operation(Emitter& e, const std::string& method, int resource, int models, bool body) {
  const std::string ref = "#/components/schemas/Model" + std::to_string(resource % models);
  e.key(method);
  e.beginObject();
  e.member("operationId", method + "Resource" + std::to_string(resource));
  e.member("summary", kTexts[resource % 5]);
  e.member("description", std::string(kTexts[(resource + 1) % 5]) + "\nSecond line of the description.");
  e.key("tags");
  e.beginArray();
  e.string("group" + std::to_string(resource % 17));
  e.end();
  e.key("parameters");
  e.beginArray();
  e.beginObject();
  e.member("name", "id");
  e.member("in", "path");
  e.member("required", true);
  e.key("schema");
  e.beginObject();
  e.member("type", "string");
  e.member("format", "uuid");
  e.end();
  e.end();
  e.beginObject();
  e.member("name", "limit");
  e.member("in", "query");
  e.key("schema");
  e.beginObject();
  e.member("type", "integer");
  e.member("minimum", std::int64_t{1});
  e.member("maximum", std::int64_t{100});
  e.member("default", std::int64_t{20});
  e.end();
  e.end();
  e.end();
  if (body) {
    e.key("requestBody");
    e.beginObject();
    e.member("required", true);
    e.key("content");
    e.beginObject();
    e.key("application/json");
    e.beginObject();
    e.key("schema");
    e.beginObject();
    e.member("$ref", ref);
    e.end();
    e.end();
    e.end();
    e.end();
  }
  e.key("responses");
  e.beginObject();
  e.key("200");
  e.beginObject();
  e.member("description", kTexts[(resource + 3) % 5]);
  e.key("content");
  e.beginObject();
  e.key("application/json");
  e.beginObject();
  e.key("schema");
  e.beginObject();
  e.member("$ref", ref);
  e.end();
  e.end();
  e.end();
  e.end();
  e.key("404");
  e.beginObject();
  e.member("description", "Not found");
  e.end();
  e.end();
  e.end();
}

inline void write(std::string& out, Syntax syntax, int resources, int models, std::string_view openapi = "3.1.0") {
  Emitter e(out, syntax);
  e.beginObject();
  e.member("openapi", openapi);
  e.key("info");
  e.beginObject();
  e.member("title", "Synthetic API \xe2\x80\x94 Beispiel \xe4\xbe\x8b");
  e.member("version", "1.0.0");
  e.member("description", kTexts[4]);
  e.end();
  e.key("servers");
  e.beginArray();
  e.beginObject();
  e.member("url", "https://api.example.com/v1");
  e.end();
  e.end();
  e.key("paths");
  e.beginObject();
  for (int r = 0; r < resources; ++r) {
    e.key("/resources" + std::to_string(r) + "/{id}");
    e.beginObject();
    operation(e, "get", r, models, false);
    operation(e, "put", r, models, true);
    operation(e, "delete", r, models, false);
    e.end();
  }
  e.end();
  e.key("components");
  e.beginObject();
  e.key("schemas");
  e.beginObject();
  for (int m = 0; m < models; ++m) {
    e.key("Model" + std::to_string(m));
    schema(e, m, models);
  }
  e.end();
  e.end();
  e.end();
}

}  // namespace detail

// The number of resources (and as many models) that `generate` writes for `approximateBytes`.
inline int unitsFor(std::size_t approximateBytes, Syntax syntax) {
  std::string one, two;
  detail::write(one, syntax, 1, 1);
  detail::write(two, syntax, 2, 2);
  const std::size_t step = two.size() - one.size();
  const std::size_t count = approximateBytes > one.size() ? (approximateBytes - one.size()) / step + 1 : 1;
  return static_cast<int>(count);
}

// A description of about `approximateBytes` bytes (never much less) in the given syntax. The same
// arguments always give the same text.
inline std::string generate(std::size_t approximateBytes, Syntax syntax) {
  const int count = unitsFor(approximateBytes, syntax);
  std::string out;
  out.reserve(approximateBytes + approximateBytes / static_cast<std::size_t>(count));
  detail::write(out, syntax, count, count);
  return out;
}

// The JSON description of about `approximateBytes` bytes pretty-printed, as one line with no white
// space outside strings: what many frameworks serve.
inline std::string generateMinified(std::size_t approximateBytes) {
  const std::string pretty = generate(approximateBytes, Syntax::json);
  std::string out;
  out.reserve(pretty.size());
  bool inString = false;
  bool escaped = false;
  for (const char c : pretty) {
    if (inString) {
      out.push_back(c);
      escaped = !escaped && c == '\\';
      inString = escaped || c != '"';
    } else if (c != ' ' && c != '\n' && c != '\r' && c != '\t') {
      inString = c == '"';
      out.push_back(c);
    }
  }
  return out;
}

// The description with `units` resources and as many models, declaring the version `openapi`: the
// same description in either syntax.
inline std::string generateUnits(int units, Syntax syntax, std::string_view openapi = "3.1.0") {
  std::string out;
  detail::write(out, syntax, units, units, openapi);
  return out;
}

}  // namespace SyntheticDescription
