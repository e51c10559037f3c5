#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "kit/core/GenericNode.h"
#include "kit/core/JSONPointerUtils.h"
#include "kit/parsing/JSONParser.h"
#include "kit/parsing/YAMLParser.h"

namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

const char* const kPets =
    "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths: {}\ncomponents:\n  schemas:\n"
    "    Pet:\n      type: object\n      required: [name]\n      properties:\n"
    "        name: {type: string, example: Rex}\n        tags: {type: array, items: {type: string, format: uuid}}\n"
    "        parent: {$ref: '#/components/schemas/Pet'}\n        odd key: {type: string, enum: ['yes']}\n"
    "    Loop:\n      properties:\n        a:\n          properties:\n            b:\n              properties:\n"
    "                c:\n                  properties:\n                    d:\n                      properties:\n"
    "                        e:\n                          properties:\n                            f:\n"
    "                              properties:\n                                g:\n                                  properties:\n"
    "                                    h:\n                                      properties:\n"
    "                                        i:\n                                          properties:\n"
    "                                            j:\n                                              properties:\n"
    "                                                k: {type: integer}\n";

struct ExampleCase {
  const char* name;
  std::string arguments;  // after "example FILE"
  int status;
  std::string out;
  std::string err;
};

class KitdumpExample : public testing::TestWithParam<ExampleCase> {};

TEST_P(KitdumpExample, StatusAndOutput) {
  const std::string kitdump = CARVEX_BINARY_DIR "/tools/kitdump";
  if (!fs::exists(kitdump)) GTEST_FAIL() << "build the kitdump target first: " << kitdump;
  const fs::path dir = fs::path(testing::TempDir()) / ("kitdump-example-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "pets.yaml", std::ios::binary) << kPets;
  const ExampleCase& c = GetParam();
  const std::string command = "'" + kitdump + "' example '" + (dir / "pets.yaml").string() + "' " + c.arguments + " >'" +
                              (dir / "out").string() + "' 2>'" + (dir / "err").string() + "'";
  const int raw = std::system(command.c_str());
  EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, c.status);
  EXPECT_EQ(readAll(dir / "out"), c.out);
  const std::string err = readAll(dir / "err");
  EXPECT_EQ(c.status == 64 ? err.substr(0, c.err.size()) : err, c.err);
  fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KitdumpExample,
    testing::Values(
        ExampleCase{"pretty_json_with_the_application_options", "'#/components/schemas/Pet'", 0,
                    "{\n  \"name\": \"string\",\n  \"odd key\": \"yes\",\n  \"parent\": null,\n  \"tags\": [\n"
                    "    \"550e8400-e29b-41d4-a716-446655440000\"\n  ]\n}\n",
                    ""},
        ExampleCase{"yaml_on_request", "'#/components/schemas/Pet' --yaml", 0,
                    "name: string\nodd key: \"yes\"\nparent: null\ntags:\n  - \"550e8400-e29b-41d4-a716-446655440000\"\n", ""},
        ExampleCase{"missing_reference_exits_two", "'#/components/schemas/Cat'", 2, "",
                    "Reference '#/components/schemas/Cat' not found at path: \n"},
        ExampleCase{"depth_ten_is_the_limit", "'#/components/schemas/Loop'", 2, "",
                    "Maximum recursion depth (10) exceeded at path: a/b/c/d/e/f/g/h/i/j\n"},
        ExampleCase{"reference_is_required", "", 64, "", "kitdump: expected FILE and REF\nusage: kitdump"}),
    [](const testing::TestParamInfo<ExampleCase>& info) { return std::string(info.param.name); });

// Discriminated unions whose alternatives pin the discriminator's value in each way a description can,
// and component names with pointer escapes.
const char* const kUnions = R"(openapi: 3.1.0
info: {title: t, version: '1'}
paths: {}
components:
  schemas:
    Message:
      oneOf: [{$ref: '#/components/schemas/Developer'}, {$ref: '#/components/schemas/System'}]
      discriminator: {propertyName: role}
    Developer:
      type: object
      required: [role, content]
      properties: {role: {type: string, enum: [developer]}, content: {type: string}}
    System:
      type: object
      required: [role]
      properties: {role: {const: system}}
    Mapped:
      oneOf: [{$ref: '#/components/schemas/Plain'}, {$ref: '#/components/schemas/Developer'}]
      discriminator: {propertyName: kind, mapping: {other: '#/components/schemas/Developer', plain: Plain}}
    Plain:
      type: object
      required: [kind]
      properties: {kind: {type: string, enum: [plain, simple]}}
    Shape:
      oneOf:
        - {type: object, required: [kind], properties: {kind: {const: circle}, r: {type: number}}}
        - {type: object, required: [kind], properties: {kind: {const: square}}}
      discriminator: {propertyName: kind}
    Outer:
      oneOf: [{$ref: '#/components/schemas/Inner'}]
      discriminator: {propertyName: kind}
    Inner:
      oneOf: [{$ref: '#/components/schemas/Leaf'}]
      discriminator: {propertyName: kind}
    Leaf:
      allOf:
        - $ref: '#/components/schemas/Base'
        - {required: [kind], properties: {kind: {enum: [leaf]}}}
    Base:
      type: object
      properties: {id: {type: integer}}
    Cycle:
      oneOf: [{$ref: '#/components/schemas/Back'}]
      discriminator: {propertyName: kind}
    Back:
      allOf:
        - $ref: '#/components/schemas/Cycle'
        - {type: object, required: [kind], properties: {kind: {enum: [back]}}}
    a/b:
      oneOf: [{$ref: '#/components/schemas/c~0d'}]
      discriminator: {propertyName: kind}
    c~d:
      type: object
      properties: {kind: {type: string, enum: [c~d, other]}, n: {type: integer, minimum: 2}}
)";

using VoziZazIreCore::GenericNode;
using VoziZazIreCore::GenericNodeKind;

bool sameValue(const GenericNode& a, const GenericNode& b) {
  if (a.kind() != b.kind()) return false;
  if (auto members = a.objectValue()) {
    auto others = b.objectValue();
    if (members->size() != others->size()) return false;
    for (const auto& member : *members) {
      const GenericNode* other = others->find(member.key);
      if (!other || !sameValue(*member.value, *other)) return false;
    }
    return true;
  }
  if (auto elements = a.arrayValue()) {
    auto others = b.arrayValue();
    if (elements->size() != others->size()) return false;
    for (std::size_t i = 0; i < elements->size(); ++i)
      if (!sameValue(*(*elements)[i], *(*others)[i])) return false;
    return true;
  }
  return a.stringValue() == b.stringValue() && a.numberValue() == b.numberValue() && a.boolValue() == b.boolValue();
}

bool hasType(const GenericNode& value, std::string_view type) {
  switch (value.kind()) {
    case GenericNodeKind::object: return type == "object";
    case GenericNodeKind::array: return type == "array";
    case GenericNodeKind::string: return type == "string";
    case GenericNodeKind::bool_: return type == "boolean";
    case GenericNodeKind::null: return type == "null";
    case GenericNodeKind::number:
      return type == "number" || (type == "integer" && std::trunc(*value.numberValue()) == *value.numberValue());
  }
  return false;
}

// Whether `value` is valid against `schema`, for the keywords the unions above use. `why` names the
// first keyword that fails.
bool conforms(const GenericNode& value, const GenericNode& schema, const GenericNode& root, std::string& why,
              int depth = 0) {
  if (depth > 32) return why = "too deep", false;
  auto fail = [&](std::string keyword) { return why = keyword + " at " + std::string(schema.jsonPointer()), false; };
  if (const GenericNode* ref = schema["$ref"]) {
    const std::string prefix = "#/components/schemas/";
    const std::string text(ref->stringValue().value_or(""));
    const GenericNode* target =
        text.starts_with(prefix)
            ? (*root["components"])["schemas"]->objectValue()->find(
                  VoziZazIreCore::JSONPointerUtils::unescape(text.substr(prefix.size())))
            : nullptr;
    return target ? conforms(value, *target, root, why, depth + 1) : fail("$ref");
  }
  if (const GenericNode* constant = schema["const"]; constant && !sameValue(value, *constant)) return fail("const");
  if (auto values = schema["enum"] ? schema["enum"]->arrayValue() : std::nullopt) {
    bool found = false;
    for (const GenericNode* allowed : *values) found = found || sameValue(value, *allowed);
    if (!found) return fail("enum");
  }
  if (auto type = schema["type"] ? schema["type"]->stringValue() : std::nullopt; type && !hasType(value, *type))
    return fail("type");
  if (auto minimum = schema["minimum"] ? schema["minimum"]->numberValue() : std::nullopt;
      minimum && value.numberValue() && *value.numberValue() < *minimum)
    return fail("minimum");
  if (auto members = value.objectValue()) {
    if (auto required = schema["required"] ? schema["required"]->arrayValue() : std::nullopt)
      for (const GenericNode* name : *required)
        if (!members->contains(*name->stringValue())) return fail("required");
    if (const GenericNode* properties = schema["properties"])
      for (const auto& member : *members)
        if (const GenericNode* property = (*properties)[member.key];
            property && !conforms(*member.value, *property, root, why, depth + 1))
          return false;
  }
  if (auto all = schema["allOf"] ? schema["allOf"]->arrayValue() : std::nullopt)
    for (const GenericNode* member : *all)
      if (!conforms(value, *member, root, why, depth + 1)) return false;
  if (auto one = schema["oneOf"] ? schema["oneOf"]->arrayValue() : std::nullopt) {
    int matches = 0;
    std::string ignored;
    for (const GenericNode* alternative : *one) matches += conforms(value, *alternative, root, ignored, depth + 1);
    if (matches != 1) return fail("oneOf (" + std::to_string(matches) + " match)");
  }
  return true;
}

TEST(KitdumpExampleUnions, EveryExampleIsValidAgainstItsOwnSchema) {
  const std::string kitdump = CARVEX_BINARY_DIR "/tools/kitdump";
  if (!fs::exists(kitdump)) GTEST_FAIL() << "build the kitdump target first: " << kitdump;
  const fs::path dir = fs::path(testing::TempDir()) / ("kitdump-unions-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "unions.yaml", std::ios::binary) << kUnions;
  const VoziZazIreCore::NodePtr document = VoziZazIreParsing::YAMLParser().parse(std::string_view(kUnions));
  const auto run = [&](const std::string& ref, int& status) {
    const std::string command = "'" + kitdump + "' example '" + (dir / "unions.yaml").string() + "' '" + ref + "' >'" +
                                (dir / "out").string() + "' 2>'" + (dir / "err").string() + "'";
    const int raw = std::system(command.c_str());
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return readAll(dir / "out") + readAll(dir / "err");
  };

  struct Case {
    const char* ref;
    const char* schema;  // the component the example must be valid against; none for a cycle
    const char* expected;
  };
  const Case cases[] = {
      {"Message", "Message", R"({"content":"string","role":"developer"})"},
      {"Mapped", "Mapped", R"({"kind":"plain"})"},
      {"Shape", "Shape", R"({"kind":"circle","r":0})"},
      {"Outer", "Outer", R"({"id":0,"kind":"leaf"})"},
      {"Cycle", nullptr, R"({"kind":"back"})"},
      {"a~1b", "a/b", R"({"kind":"c~d","n":2})"},
      {"c~0d", "c~d", R"({"kind":"c~d","n":2})"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ref);
    int status = 0;
    const std::string out = run(std::string("#/components/schemas/") + c.ref, status);
    ASSERT_EQ(status, 0) << out;
    const VoziZazIreCore::NodePtr example = VoziZazIreParsing::JSONParser().parse(std::string_view(out));
    if (c.schema) {
      const GenericNode* schema = (*(*document)["components"])["schemas"]->objectValue()->find(c.schema);
      ASSERT_NE(schema, nullptr);
      std::string why;
      EXPECT_TRUE(conforms(*example, *schema, *document, why)) << out << why;
    }
    const VoziZazIreCore::NodePtr expected = VoziZazIreParsing::JSONParser().parse(std::string_view(c.expected));
    EXPECT_TRUE(sameValue(*example, *expected)) << out;
  }
  // Escaped names that name nothing, and a pointer into a component, are not found.
  for (const char* ref : {"a~2b", "a~", "a/b"}) {
    SCOPED_TRACE(ref);
    int status = 0;
    const std::string full = std::string("#/components/schemas/") + ref;
    EXPECT_EQ(run(full, status), "Reference '" + full + "' not found at path: \n");
    EXPECT_EQ(status, 2);
  }
  fs::remove_all(dir);
}

}  // namespace
