// Parameters and headers: the two throws, PRM-001, PRM-002, PRM-004, the style findings, the allowed keys
// of each version, and the order in which one parameter's findings come.

#include <gtest/gtest.h>

#include "kit/transform/ContentReaders.h"
#include "tests/kit/transform/ReaderTesting.h"

namespace {

using namespace CarvexTest;
using namespace VoziZazIreTransform;
using VoziZazIreModels::ParameterStyle;
using Strings = std::vector<std::string>;

auto parameter30 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parseParameter<Version30>(n, c); };
auto parameter31 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parseParameter<Version31>(n, c); };
auto header30 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parseHeader<Version30>(n, c); };
auto header31 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parseHeader<Version31>(n, c); };

// A 3.1 parameter read as if under the path key `pathKey`.
auto parameter31Under(std::string_view pathKey) {
  return [names = pathTemplateNamesOf(pathKey)](const VoziZazIreCore::GenericNode& n, TransformContext& c) {
    return parseParameter<Version31>(n, c, names);
  };
}

TEST(ParameterTest, MissingNameOrInThrowsInBothVersionsAtEveryLevel) {
  const std::string noName = "Missing required field 'name' in parameter @  1:1";
  const std::string badIn = "Missing or invalid 'in' field in parameter @  1:1";
  const std::pair<const char*, const std::string&> rows[] = {
      {"in: query\n", noName},          {"name: 5\nin: query\n", noName}, {"description: d\n", noName},
      {"limit\n", noName},              {"[name, in]\n", noName},          {"name: q\n", badIn},
      {"name: q\nin: Query\n", badIn}, {"name: q\nin: body\n", badIn},   {"name: q\nin: 1\n", badIn},
      {"name: q\nin: ' query'\n", badIn}};
  for (const auto& [text, message] : rows) {
    for (ValidationLevel level : {ValidationLevel::none, ValidationLevel::high}) {
      EXPECT_EQ(thrownBy(text, level, parameter30), message) << text;
      EXPECT_EQ(thrownBy(text, level, parameter31), message) << text;
    }
  }
}

// ---- findings ------------------------------------------------------------------------------------

TEST(ParameterTest, FindingsAtLevelHigh) {
  const std::string prm001 = "[PRM-001] Path parameter 'id' must have required: true @  1:1";
  const std::string prm002 = "[PRM-002] Path parameter 'id' not found in path template @  1:1";
  const std::string prm004 = "[PRM-004] allowEmptyValue is only valid for query parameters @  1:1";
  const std::string required = "[GEN-002] Property 'required' in Parameter object must be a boolean @ /required ";
  const std::string style = "[PRM-STYLE] Invalid parameter style 'Form'. Must be one of: matrix, label, form, simple, "
                            "spaceDelimited, pipeDelimited, deepObject @ /style 3:8";
  const Strings unknown = {"[GEN-001] Unknown property 'format' in Parameter object @ /format 3:9",
                           "[GEN-001] Unknown property 'X-Not' in Parameter object @ /X-Not 5:8"};
  struct Row {
    const char* name;
    const char* text;
    const char* pathKey;  // 3.1 only; "" = no path key (components)
    Strings findings30, findings31;
  };
  const Row rows[] = {
      {"path_without_required", "name: id\nin: path\n", "/{id}", {prm001}, {prm001}},
      {"path_required", "name: id\nin: path\nrequired: true\n", "/{id}", {}, {}},
      {"required_as_string", "name: id\nin: path\nrequired: 'true'\n", "/{id}", {required + "3:11", prm001},
       {required + "3:11", prm001}},
      {"name_not_in_template", "name: id\nin: path\nrequired: true\n", "/pets/{petId}", {}, {prm002}},
      {"both_path_findings", "name: id\nin: path\n", "/pets/{petId}", {prm001}, {prm001, prm002}},
      {"empty_template_set", "name: id\nin: path\nrequired: true\n", "", {}, {}},
      {"plain_path_has_no_names", "name: id\nin: path\nrequired: true\n", "/pets", {}, {}},
      {"query_never_prm002", "name: id\nin: query\n", "/pets/{petId}", {}, {}},
      {"template_name_is_case_sensitive", "name: id\nin: path\nrequired: true\n", "/{ID}", {}, {prm002}},
      {"allow_empty_on_header", "name: id\nin: header\nallowEmptyValue: true\n", "", {}, {prm004}},
      {"allow_empty_on_query", "name: id\nin: query\nallowEmptyValue: true\n", "", {}, {}},
      {"allow_empty_false", "name: id\nin: header\nallowEmptyValue: false\n", "", {}, {}},
      {"all_three_in_order", "name: id\nin: path\nallowEmptyValue: true\n", "/{petId}", {prm001}, {prm001, prm002, prm004}},
      {"allow_empty_gen002_moves_before_prm001_in_31", "name: id\nin: path\nallowEmptyValue: 'yes'\nrequired: 1\n", "/{id}",
       {required + "4:11", prm001,
        "[GEN-002] Property 'allowEmptyValue' in Parameter object must be a boolean @ /allowEmptyValue 3:18"},
       {required + "4:11",
        "[GEN-002] Property 'allowEmptyValue' in Parameter object must be a boolean @ /allowEmptyValue 3:18", prm001}},
      {"style_unknown", "name: q\nin: query\nstyle: Form\n", "", {style}, {style}},
      {"style_number", "name: q\nin: query\nstyle: 3\n", "", {}, {}},
      {"header_only_members", "name: q\nin: query\nformat: int\nx-ok: 1\nX-Not: 2\n", "", unknown, unknown},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(readYaml(row.text, ValidationLevel::high, parameter30).findings(), row.findings30);
    EXPECT_EQ(readYaml(row.text, ValidationLevel::high, parameter31Under(row.pathKey)).findings(), row.findings31);
    EXPECT_TRUE(readYaml(row.text, ValidationLevel::low, parameter31Under(row.pathKey)).findings().empty());
  }
}

TEST(ParameterTest, FindingOrderFollowsTheReadingSteps) {
  constexpr const char* text =
      "name: id\n"
      "in: path\n"
      "colour: red\n"
      "style: tabular\n"
      "explode: 'no'\n"
      "deprecated: 0\n"
      "examples: {e: {$ref: 5, summary: s}}\n"
      "content: {application/json: {encoding: {p: {style: matrix}}}}\n";
  auto read = readYaml(text, ValidationLevel::high, parameter30);
  EXPECT_EQ(read.messages(),
            (Strings{"[PRM-001] Path parameter 'id' must have required: true",
                     "[GEN-001] Unknown property '$ref' in Example object",
                     "[ENC-STYLE] Invalid encoding style 'matrix'. Must be one of: form, spaceDelimited, pipeDelimited, "
                     "deepObject",
                     "[PRM-STYLE] Invalid parameter style 'tabular'. Must be one of: matrix, label, form, simple, "
                     "spaceDelimited, pipeDelimited, deepObject",
                     "[GEN-001] Unknown property 'colour' in Parameter object",
                     "[GEN-002] Property 'deprecated' in Parameter object must be a boolean",
                     "[GEN-002] Property 'explode' in Parameter object must be a boolean"}));
}

TEST(ParameterTest, FieldsKeptAsWrittenAndOthersOfAnotherKindAbsent) {
  constexpr const char* text =
      "name: filter\n"
      "in: query\n"
      "style: deepObject\n"
      "schema: {$ref: '#/components/schemas/F'}\n"
      "content: {application/json: {}}\n"
      "example: null\n"
      "examples: {a: {$ref: '#/components/examples/a', summary: s}, b: {value: 1}}\n";
  auto read = readYaml(text, ValidationLevel::high, parameter31);
  const auto& p = *read.model;
  EXPECT_EQ(p.style, ParameterStyle::deepObject);
  EXPECT_FALSE(p.explode);  // no default is derived from the style
  EXPECT_FALSE(p.required);
  ASSERT_TRUE(p.schema && p.content && p.examples);  // schema and content are both kept
  EXPECT_TRUE(p.schema->isReference());
  ASSERT_TRUE(p.example);  // a null example is present
  EXPECT_TRUE(p.example->isNull());
  EXPECT_EQ(p.examples->find("a")->referenceValue()->summary, "s");
  EXPECT_FALSE(p.examples->find("b")->isReference());
  EXPECT_TRUE(read.findings().empty());
  auto odd = readYaml("name: q\nin: query\nexamples: []\ncontent: text\n", ValidationLevel::high, parameter30);
  EXPECT_FALSE(odd.model->examples || odd.model->content);
  EXPECT_TRUE(odd.findings().empty());
}

// ---- headers -------------------------------------------------------------------------------------

TEST(HeaderTest, NameAndInAreUnknownAndAllowEmptyValueIsKnownIn30Only) {
  const Strings nameAndIn{"[GEN-001] Unknown property 'name' in Header object @ /name 1:7",
                          "[GEN-001] Unknown property 'in' in Header object @ /in 2:5"};
  EXPECT_EQ(readYaml("name: X-Rate\nin: header\n", ValidationLevel::high, header30).findings(), nameAndIn);
  EXPECT_EQ(readYaml("name: X-Rate\nin: header\n", ValidationLevel::high, header31).findings(), nameAndIn);
  auto read30 = readYaml("allowEmptyValue: true\n", ValidationLevel::high, header30);
  EXPECT_EQ(read30.model->allowEmptyValue, true);
  EXPECT_TRUE(read30.findings().empty());
  EXPECT_EQ(readYaml("allowEmptyValue: true\n", ValidationLevel::high, header31).findings(),
            Strings{"[GEN-001] Unknown property 'allowEmptyValue' in Header object @ /allowEmptyValue 1:18"});
}

TEST(HeaderTest, StyleFindingNamesTheHeader) {
  EXPECT_EQ(readYaml("style: matrix\n", ValidationLevel::high, header30).model->style, ParameterStyle::matrix);
  auto read = readYaml("style: tabular\n", ValidationLevel::high, header31);
  EXPECT_FALSE(read.model->style);
  EXPECT_EQ(read.findings(), Strings{"[HDR-STYLE] Invalid header style 'tabular'. Must be one of: matrix, label, form, "
                                     "simple, spaceDelimited, pipeDelimited, deepObject @ /style 1:8"});
  EXPECT_EQ(read.context.diagnostics[0].severity(), VoziZazIreCore::DiagnosticSeverity::error);
  EXPECT_TRUE(readYaml("style: tabular\n", ValidationLevel::low, header31).findings().empty());
  EXPECT_TRUE(readYaml("text\n", ValidationLevel::high, header31).findings().empty()) << "a header of another kind";
}

TEST(HeaderTest, BooleansInOrder) {
  auto read = readYaml("allowReserved: 1\nexplode: 1\nallowEmptyValue: 1\ndeprecated: 1\nrequired: 1\n",
                       ValidationLevel::high, header30);
  EXPECT_EQ(read.messages(), (Strings{"[GEN-002] Property 'required' in Header object must be a boolean",
                                      "[GEN-002] Property 'deprecated' in Header object must be a boolean",
                                      "[GEN-002] Property 'allowEmptyValue' in Header object must be a boolean",
                                      "[GEN-002] Property 'explode' in Header object must be a boolean",
                                      "[GEN-002] Property 'allowReserved' in Header object must be a boolean"}));
}

}  // namespace
