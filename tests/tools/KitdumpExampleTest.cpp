#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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

}  // namespace
