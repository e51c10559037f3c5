#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/core/TransformError.h"
#include "kit/transform/DocumentReaders.h"
#include "tests/kit/TestDocuments.h"

namespace {

using namespace VoziZazIreCore;
using namespace VoziZazIreTransform;
using CarvexTest::findings;
using CarvexTest::transform30;
using CarvexTest::transform31;
using Strings = std::vector<std::string>;

Strings findingsOf(bool is31, const std::string& yaml, ValidationLevel level) {
  return is31 ? findings(transform31(yaml, level).result.diagnostics)
              : findings(transform30(yaml, level).result.diagnostics);
}

// ---- Thrown errors --------------------------------------------------------------------------------

TEST(DocumentReader, ThrowsWithTheMessageAtTheObject) {
  struct Row { const char* name; bool is31; const char* yaml; const char* printed; };
  const Row rows[] = {
      {"root_array", false, "- openapi\n- 3.0.0\n", "Document root must be an object at  (line 1, column 1)"},
      {"root_array_31", true, "- a\n", "Document root must be an object at  (line 1, column 1)"},
      {"openapi_missing", false, "info: {title: t, version: v}\npaths: {}\n",
       "Missing required field 'openapi' at  (line 1, column 1)"},
      {"openapi_number", true, "openapi: 3.1\ninfo: {title: t, version: v}\n",
       "Missing required field 'openapi' at  (line 1, column 1)"},
      {"info_missing", false, "openapi: 3.0.3\npaths: {}\n", "Missing required field 'info' at  (line 1, column 1)"},
      {"info_string", false, "openapi: 3.0.3\ninfo: about\npaths: {}\n",
       "Missing required field 'title' in info at /info (line 2, column 7)"},
      {"info_version_number", true, "openapi: 3.1.0\ninfo:\n  title: t\n  version: 1\n",
       "Missing required field 'version' in info at /info (line 3, column 3)"},
      {"paths_missing_30", false, "openapi: 3.0.3\ninfo: {title: t, version: v}\n",
       "Missing required field 'paths' at  (line 1, column 1)"},
      {"server_before_paths", false, "openapi: 3.0.3\ninfo: {title: t, version: v}\nservers:\n  - description: d\n",
       "Missing required field 'url' in server at /servers/0 (line 4, column 5)"},
      {"license_without_name", true, "openapi: 3.1.0\ninfo:\n  title: t\n  version: v\n  license: {url: 'https://x.org'}\n",
       "Missing required field 'name' in license at /info/license (line 5, column 12)"},
      {"tag_string", false, "openapi: 3.0.3\ninfo: {title: t, version: v}\npaths: {}\ntags: [pets]\n",
       "Missing required field 'name' in tag at /tags/0 (line 4, column 8)"},
      {"external_docs_without_url", false,
       "openapi: 3.0.3\ninfo: {title: t, version: v}\npaths: {}\ntags:\n  - name: a\n    externalDocs: {}\n",
       "Missing required field 'url' in externalDocs at /tags/0/externalDocs (line 6, column 19)"},
      {"variable_without_default", true,
       "openapi: 3.1.0\ninfo: {title: t, version: v}\nservers:\n  - url: /\n    variables:\n      x-note: {}\n",
       "Missing required field 'default' in server variable at /servers/0/variables/x-note (line 6, column 15)"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    try {
      findingsOf(row.is31, row.yaml, ValidationLevel::none);
      ADD_FAILURE() << "expected a TransformError";
    } catch (const TransformError& error) {
      EXPECT_EQ(error.description(), std::string("TransformError: ") + row.printed);
    }
  }
}

// ---- Findings by level ----------------------------------------------------------------------------

const char* const kInfo31 = "openapi: 3.1.0\ninfo:\n  title: t\n  version: v\n";
const char* const kEnvServer = "servers:\n  - url: '/{env}'\n    variables:\n      env:\n";

TEST(DocumentReader, FindingsRecordedAtTheirLevels) {
  struct Row {
    const char* name;
    bool is31;
    std::string yaml;  // after the "openapi" and "info" lines unless it starts with "openapi:"
    bool atLow;        // recorded at level low as well as at high (never at none)
    Strings high;
  };
  const Row rows[] = {
      {"openapi_without_patch_30", false, "openapi: '3.0'\ninfo: {title: t, version: v}\npaths: {}\n", true,
       {"[V30-001] openapi version '3.0' must match pattern '3.0.x' @  1:1"}},
      {"openapi_with_suffix_31", true, "openapi: 3.1.0-rc1\ninfo: {title: t, version: v}\n", true,
       {"[V31-001] openapi version '3.1.0-rc1' must match pattern '3.1.x' @  1:1"}},
      {"dialect_not_a_uri", true, "jsonSchemaDialect: 'not a uri'\n", true,
       {"[V31-002] jsonSchemaDialect 'not a uri' must be a valid URI @  1:1"}},
      {"dialect_relative_path_is_a_uri_reference", true, "jsonSchemaDialect: 'dialects/mine'\n", false, {}},
      {"dialect_empty", true, "jsonSchemaDialect: ''\n", true,
       {"[V31-002] jsonSchemaDialect '' must be a valid URI @  1:1"}},
      {"dialect_number_is_absent", true, "jsonSchemaDialect: 3\n", false, {}},
      {"blank_title_and_version", false,
       "openapi: 3.0.3\ninfo:\n  title: '   '\n  version: \"\\t\\u00a0\"\npaths: {}\n", true,
       {"[DOC-002] info.title must not be empty @ /info 3:3", "[DOC-003] info.version must not be empty @ /info 3:3"}},
      {"line_break_title_is_not_blank", false, "openapi: 3.0.3\ninfo:\n  title: \"\\n\"\n  version: ''\npaths: {}\n",
       true, {"[DOC-003] info.version must not be empty @ /info 3:3"}},
      {"terms_and_contact_31", true,
       std::string(kInfo31) + "  termsOfService: 'http://a b'\n  contact:\n    url: 'ht tp://x'\n"
       "    email: someone@localhost\n", true,
       {"[DOC-004] info.termsOfService should be a valid URL @ /info 3:3 (warning)",
        "[DOC-005] info.contact.url should be a valid URL @ /info/contact 7:5 (warning)",
        "[DOC-006] info.contact.email should be a valid email @ /info/contact 7:5 (warning)"}},
      {"terms_and_contact_30_are_not_checked", false,
       "openapi: 3.0.3\ninfo:\n  title: t\n  version: v\n  termsOfService: 'http://a b'\n"
       "  contact: {url: 'ht tp://x', email: someone@localhost}\npaths: {}\n", false, {}},
      {"valid_urls_and_email_31", true,
       std::string(kInfo31) + "  termsOfService: /terms\n"
       "  contact: {url: 'https://example.com/a?b=c#d', email: first.last+tag@mail.example.co.uk}\n", false, {}},
      {"slash_exemption_accepts_what_a_parser_would_refuse", true,
       std::string(kInfo31) + "  termsOfService: '/a b'\n", false, {}},
      {"empty_terms_fail", true, std::string(kInfo31) + "  termsOfService: ''\n", true,
       {"[DOC-004] info.termsOfService should be a valid URL @ /info 3:3 (warning)"}},
      {"license_identifier_and_url", true,
       std::string(kInfo31) + "  license:\n    name: MIT\n    identifier: MIT\n    url: https://opensource.org/licenses/MIT\n",
       true, {"[V31-008] license must have either 'identifier' or 'url', not both @ /info/license 6:5"}},
      {"license_identifier_only", true, std::string(kInfo31) + "  license: {name: MIT, identifier: MIT}\n", false, {}},
      {"license_url_30", false,
       "openapi: 3.0.3\ninfo:\n  title: t\n  version: v\n  license: {name: MIT, url: /l}\npaths: {}\n", false, {}},
      {"template_names_without_variables", true, "servers:\n  - url: '/{version}/{region}/{version}'\n", false,
       {"[SRV-002] Template variable '{version}' has no matching variable definition @ /servers/0 4:5",
        "[SRV-002] Template variable '{region}' has no matching variable definition @ /servers/0 4:5"}},
      {"template_name_defined_once", true,
       "servers:\n  - url: '/{version}/{region}/{version}'\n    variables:\n      version: {default: v1}\n"
       "      unused: {default: u}\n", false,
       {"[SRV-002] Template variable '{region}' has no matching variable definition @ /servers/0 4:5"}},
      {"template_names_30_are_not_checked", false, "servers:\n  - url: '/{version}'\n", false, {}},
      {"variable_default_outside_enum", true, std::string(kEnvServer) + "        enum: [a, b]\n        default: c\n",
       false, {"[SRV-003] Server variable 'env' default 'c' is not in enum @ /servers/0/variables/env 7:9"}},
      {"variable_empty_enum", true, std::string(kEnvServer) + "        enum: []\n        default: c\n", false,
       {"[SRV-004] Server variable 'env' enum must not be empty @ /servers/0/variables/env 7:9"}},
      {"variable_enum_without_strings", true, std::string(kEnvServer) + "        enum: [1, 2]\n        default: c\n",
       false, {"[SRV-004] Server variable 'env' enum must not be empty @ /servers/0/variables/env 7:9"}},
      {"variable_enum_string_is_no_enum", true, std::string(kEnvServer) + "        enum: a\n        default: c\n",
       false, {}},
      {"variable_enum_30_is_not_checked", false, std::string(kEnvServer) + "        enum: []\n        default: c\n",
       false, {}},
      {"security_without_schemes", true, "security:\n  - api_key: []\n", false,
       {"[OPR-004] Security requirement references undefined security scheme 'api_key' @ /security/0 4:5"}},
      {"security_with_declared_scheme", true,
       "security:\n  - api_key: []\ncomponents:\n  securitySchemes:\n    api_key: {type: apiKey, name: k, in: header}\n",
       false, {}},
      {"security_30_never_checked", false, "security: [{api_key: []}]\ncomponents: {securitySchemes: {}}\n",
       false, {}},
      {"security_empty_requirement", true, "security: [{}]\n", false, {}},
      {"unknown_members_in_every_object", false,
       "openapi: 3.0.3\nswagger: '2.0'\ninfo:\n  title: t\n  version: v\n  summary: s\n"
       "  contact: {name: n, phone: p}\n  license: {name: n, identifier: i}\n"
       "servers:\n  - url: /\n    name: s\n    variables:\n      v: {default: d, values: [d]}\n"
       "paths: {}\ntags:\n  - name: a\n    color: red\n    externalDocs: {url: /, title: t}\n"
       "externalDocs: {url: /, x-ok: 1, X-no: 2}\n",
       false,
       {"[GEN-001] Unknown property 'phone' in Contact object @ /info/contact/phone 7:29 (warning)",
        "[GEN-001] Unknown property 'identifier' in License object @ /info/license/identifier 8:34 (warning)",
        "[GEN-001] Unknown property 'summary' in Info object @ /info/summary 6:12 (warning)",
        "[GEN-001] Unknown property 'values' in ServerVariable object @ /servers/0/variables/v/values 13:31 "
        "(warning)",
        "[GEN-001] Unknown property 'name' in Server object @ /servers/0/name 11:11 (warning)",
        "[GEN-001] Unknown property 'color' in Tag object @ /tags/0/color 17:12 (warning)",
        "[GEN-001] Unknown property 'title' in ExternalDocs object @ /tags/0/externalDocs/title 18:35 "
        "(warning)",
        "[GEN-001] Unknown property 'X-no' in ExternalDocs object @ /externalDocs/X-no 19:39 (warning)",
        "[GEN-001] Unknown property 'swagger' in Document object @ /swagger 2:10 (warning)"}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string yaml = row.yaml;
    if (!yaml.starts_with("openapi:"))
      yaml = (row.is31 ? "openapi: 3.1.0\n" : "openapi: 3.0.3\npaths: {}\n") + std::string("info: {title: t, version: v}\n") + yaml;
    EXPECT_EQ(findingsOf(row.is31, yaml, ValidationLevel::none), Strings{});
    EXPECT_EQ(findingsOf(row.is31, yaml, ValidationLevel::low), row.atLow ? row.high : Strings{});
    EXPECT_EQ(findingsOf(row.is31, yaml, ValidationLevel::high), row.high);
  }
}

// ---- Values kept ----------------------------------------------------------------------------------

TEST(DocumentReader, FindingsNeverChangeTheStoredValues) {
  auto t = transform31(
      "openapi: '3.1'\ninfo:\n  title: '   '\n  version: v\n  license: {name: MIT, identifier: MIT, url: /l}\n"
      "jsonSchemaDialect: 'a b'\nservers:\n  - url: '/{e}'\n    variables:\n      e: {enum: [a], default: c}\n"
      "security:\n  - missing: [read, 7, write]\n");
  const auto& document = *t.result.model;
  EXPECT_EQ(document.openapi, "3.1");
  EXPECT_EQ(document.info->title, "   ");
  EXPECT_EQ(document.info->license->identifier, std::optional<std::string>("MIT"));
  EXPECT_EQ(document.info->license->url, std::optional<std::string>("/l"));
  EXPECT_EQ(document.jsonSchemaDialect, std::optional<std::string>("a b"));
  const auto& variable = *document.servers->at(0)->variables->find("e")->get();
  EXPECT_EQ(variable.default_, "c");
  EXPECT_EQ(variable.enumValues, std::optional<Strings>(Strings{"a"}));
  EXPECT_EQ(*document.security->at(0)->items.find("missing"), (Strings{"read", "write"}));
  EXPECT_FALSE(t.result.isSuccess());
}

TEST(DocumentReader, MembersOfAnotherKind) {
  auto t31 = transform31("\nopenapi: 3.1.0\ninfo:\n  title: t\n  version: v\n  contact: someone\nwebhooks: [a]\n");
  const auto& document31 = *t31.result.model;
  // 3.1 paths default to an empty object at the root.
  EXPECT_TRUE(document31.paths->items.empty());
  EXPECT_EQ(document31.paths->location.jsonPointer, "/paths");
  EXPECT_EQ(document31.paths->location.locationRange, t31.tree->range());
  EXPECT_EQ(document31.webhooks, std::nullopt);
  // A contact of another kind is empty, with its own location.
  const auto& contact = *document31.info->contact;
  EXPECT_EQ(contact.location.jsonPointer, "/info/contact");
  EXPECT_EQ(contact.location.locationRange.start.line, 6);
  EXPECT_EQ(contact.location.locationRange.start.column, 12);
  EXPECT_FALSE(contact.name || contact.url || contact.vendorExtensions);
  EXPECT_TRUE(t31.result.diagnostics.empty());

  const char* const head30 = "openapi: 3.0.3\ninfo: {title: t, version: v}\npaths: {}\n";
  EXPECT_EQ(transform30(std::string(head30) + "servers: []\n").result.model->servers,
            std::optional<std::vector<Shared<Version30::Server>>>(std::vector<Shared<Version30::Server>>{}));
  EXPECT_EQ(transform30(std::string(head30) + "servers: {}\n").result.model->servers, std::nullopt);
  auto t30 = transform30(std::string(head30) + "security:\n  - oauth: read\n    x-key: [a]\n  - plain\n");
  const auto& security = *t30.result.model->security;
  ASSERT_EQ(security.size(), 2u);
  EXPECT_EQ(*security[0]->items.find("oauth"), Strings{});
  EXPECT_EQ(*security[0]->items.find("x-key"), Strings{"a"}) << "every key is a scheme name";
  EXPECT_TRUE(security[1]->items.empty());
  EXPECT_EQ(security[1]->location.jsonPointer, "/security/1");
}

TEST(DocumentReader, WebhooksAreReferencesOrInlinePathItems) {
  auto t = transform31(
      "openapi: 3.1.0\ninfo: {title: t, version: v}\nwebhooks:\n  a: {$ref: '#/components/pathItems/a'}\n"
      "  b: {summary: inline}\n  x-c: {$ref: 5}\n");
  const auto& webhooks = *t.result.model->webhooks;
  ASSERT_EQ(webhooks.size(), 3u);
  EXPECT_EQ(webhooks.find("a")->referenceValue()->ref, "#/components/pathItems/a");
  EXPECT_EQ(webhooks.find("b")->inlineValue()->summary, std::optional<std::string>("inline"));
  EXPECT_FALSE(webhooks.find("x-c")->isReference()) << "x- keys are webhooks too, and a number is no reference";
}

// ---- Component names ------------------------------------------------------------------------------

TEST(RegisterComponentNames, EverySectionButExamplesWithXNamesAndNoEmptyEntries) {
  auto tree = VoziZazIreParsing::YAMLParser().parse(std::string_view(
      "schemas: {A: {}, x-B: 1}\nresponses: {}\nparameters: [p]\nexamples: {E: {}}\nsecuritySchemes: {s: 1}\n"
      "pathItems: {P: {}}\nunknown: {U: {}}\n"));
  TransformContext context(ValidationLevel::high);
  registerComponentNames(*tree, context);
  EXPECT_EQ(context.componentNames.size(), 3u);
  EXPECT_EQ(context.componentNames["schemas"], (std::unordered_set<std::string>{"A", "x-B"}));
  EXPECT_EQ(context.componentNames["securitySchemes"], (std::unordered_set<std::string>{"s"}));
  EXPECT_EQ(context.componentNames["pathItems"], (std::unordered_set<std::string>{"P"}));
  EXPECT_TRUE(context.diagnostics.empty());

  TransformContext other(ValidationLevel::high);
  registerComponentNames(*VoziZazIreParsing::YAMLParser().parse(std::string_view("- schemas\n")), other);
  EXPECT_TRUE(other.componentNames.empty());
}

TEST(DocumentReader, FindingsFollowTheReadingOrder) {
  auto t = transform31(
      "openapi: '3.1'\n"
      "info:\n"
      "  title: ''\n"
      "  version: v\n"
      "  contact: {url: 'a b'}\n"
      "  license: {name: n, identifier: i, url: /u}\n"
      "  extra: 1\n"
      "jsonSchemaDialect: 'a b'\n"
      "servers:\n"
      "  - url: '/{a}/{b}'\n"
      "    variables:\n"
      "      b: {default: z, enum: [y]}\n"
      "    extra: 1\n"
      "security: [{s: []}]\n"
      "tags: [{name: t, extra: 1}]\n"
      "externalDocs: {url: /, extra: 1}\n"
      "extra: 1\n");
  EXPECT_EQ(findings(t.result.diagnostics),
            (Strings{"[V31-001] openapi version '3.1' must match pattern '3.1.x' @  1:1",
                     "[DOC-002] info.title must not be empty @ /info 3:3",
                     "[DOC-005] info.contact.url should be a valid URL @ /info/contact 5:12 (warning)",
                     "[V31-008] license must have either 'identifier' or 'url', not both @ /info/license 6:12",
                     "[GEN-001] Unknown property 'extra' in Info object @ /info/extra 7:10 (warning)",
                     "[V31-002] jsonSchemaDialect 'a b' must be a valid URI @  1:1",
                     "[SRV-002] Template variable '{a}' has no matching variable definition @ /servers/0 10:5",
                     "[SRV-003] Server variable 'b' default 'z' is not in enum @ /servers/0/variables/b 12:10",
                     "[GEN-001] Unknown property 'extra' in Server object @ /servers/0/extra 13:12 (warning)",
                     "[OPR-004] Security requirement references undefined security scheme 's' @ /security/0 14:12",
                     "[GEN-001] Unknown property 'extra' in Tag object @ /tags/0/extra 15:25 (warning)",
                     "[GEN-001] Unknown property 'extra' in ExternalDocs object @ /externalDocs/extra 16:31 (warning)",
                     "[GEN-001] Unknown property 'extra' in Document object @ /extra 17:8 (warning)"}));
}

TEST(DocumentReader, DeeplyNestedExtensionValuesAreKept) {
  const int depth = 990;
  std::string yaml = "openapi: 3.0.3\ninfo: {title: t, version: v}\npaths: {}\nx-deep: ";
  yaml += std::string(depth, '[') + std::string(depth, ']') + "\n";
  auto t = transform30(yaml);
  const AnyValue* value = &*t.result.model->vendorExtensions->find("x-deep");
  int levels = 0;
  while (value->arrayValue() && !value->arrayValue()->empty()) {
    value = &value->arrayValue()->front();
    ++levels;
  }
  EXPECT_EQ(levels, depth - 1);
}

}  // namespace
