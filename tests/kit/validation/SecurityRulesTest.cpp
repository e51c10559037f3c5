#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/kit/validation/WalkTestSupport.h"

namespace {

using CarvexTest::described;
using CarvexTest::messages;
using CarvexTest::validateYaml;
using CarvexTest::withCodes;

const std::initializer_list<std::string_view> kSecurityCodes = {"SEC-001", "SEC-002", "SEC-003", "SEC-004",
                                                                "SEC-005", "SEC-006", "SEC-007", "OPR-004"};

std::string withSchemes(std::string_view schemes, std::string_view version) {
  return "openapi: " + std::string(version) +
         "\ninfo: {title: t, version: '1'}\npaths: {}\ncomponents:\n  securitySchemes:\n" + std::string(schemes);
}

struct SchemeRow {
  const char* name;
  const char* scheme;  // flow mapping of the scheme "auth"
  std::vector<std::string> expected;
  bool only31 = false;
};

void PrintTo(const SchemeRow& row, std::ostream* os) { *os << row.name; }

class SecuritySchemeTest : public testing::TestWithParam<SchemeRow> {};

TEST_P(SecuritySchemeTest, Messages) {
  const SchemeRow& row = GetParam();
  for (const char* version : {"3.0.3", "3.1.0"}) {
    if (row.only31 && std::string_view(version) == "3.0.3") continue;
    const auto found = validateYaml(withSchemes("    auth: " + std::string(row.scheme) + "\n", version));
    EXPECT_EQ(messages(withCodes(found, kSecurityCodes)), row.expected) << version;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SecuritySchemeTest,
    testing::Values(
        SchemeRow{"api_key_complete", "{type: apiKey, name: X-Key, in: header}", {}},
        SchemeRow{"api_key_without_name_and_in",
                  "{type: apiKey}",
                  {"[SEC-001] Security scheme 'auth' of type 'apiKey' requires 'name' field",
                   "[SEC-001] Security scheme 'auth' of type 'apiKey' requires 'in' field"}},
        SchemeRow{"api_key_without_in", "{type: apiKey, name: k}",
                  {"[SEC-001] Security scheme 'auth' of type 'apiKey' requires 'in' field"}},
        SchemeRow{"api_key_empty_name_is_present", "{type: apiKey, name: '', in: query}", {}},
        SchemeRow{"http_without_scheme", "{type: http}",
                  {"[SEC-002] Security scheme 'auth' of type 'http' requires 'scheme' field"}},
        SchemeRow{"http_empty_scheme_is_present", "{type: http, scheme: ''}", {}},
        SchemeRow{"http_with_foreign_fields", "{type: http, scheme: bearer, name: x}", {}},
        SchemeRow{"oauth2_without_flows", "{type: oauth2}",
                  {"[SEC-003] Security scheme 'auth' of type 'oauth2' requires 'flows' field"}},
        SchemeRow{"oauth2_empty_flows", "{type: oauth2, flows: {}}",
                  {"[SEC-005] Security scheme 'auth' must define at least one OAuth flow"}},
        SchemeRow{"implicit_without_authorization_url", "{type: oauth2, flows: {implicit: {scopes: {}}}}",
                  {"[SEC-006] OAuth implicit flow requires 'authorizationUrl'"}},
        SchemeRow{"implicit_with_empty_authorization_url",
                  "{type: oauth2, flows: {implicit: {authorizationUrl: '', scopes: {}}}}",
                  {"[SEC-006] OAuth implicit flow requires 'authorizationUrl'"}},
        SchemeRow{"implicit_token_url_is_not_checked",
                  "{type: oauth2, flows: {implicit: {authorizationUrl: 'https://a', scopes: {}}}}", {}},
        SchemeRow{"password_without_token_url", "{type: oauth2, flows: {password: {scopes: {}}}}",
                  {"[SEC-007] OAuth password flow requires 'tokenUrl'"}},
        SchemeRow{"client_credentials_without_token_url",
                  "{type: oauth2, flows: {clientCredentials: {tokenUrl: '', scopes: {}}}}",
                  {"[SEC-007] OAuth clientCredentials flow requires 'tokenUrl'"}},
        SchemeRow{"authorization_code_without_urls", "{type: oauth2, flows: {authorizationCode: {scopes: {}}}}",
                  {"[SEC-006] OAuth authorizationCode flow requires 'authorizationUrl'",
                   "[SEC-007] OAuth authorizationCode flow requires 'tokenUrl'"}},
        SchemeRow{"authorization_code_with_empty_urls",
                  "{type: oauth2, flows: {authorizationCode: {authorizationUrl: '', tokenUrl: '', scopes: {}}}}",
                  {"[SEC-006] OAuth authorizationCode flow requires 'authorizationUrl'",
                   "[SEC-007] OAuth authorizationCode flow requires 'tokenUrl'"}},
        SchemeRow{"every_flow_in_order",
                  "{type: oauth2, flows: {authorizationCode: {scopes: {}}, clientCredentials: {scopes: {}}, "
                  "password: {scopes: {}}, implicit: {scopes: {}}}}",
                  {"[SEC-006] OAuth implicit flow requires 'authorizationUrl'",
                   "[SEC-007] OAuth password flow requires 'tokenUrl'",
                   "[SEC-007] OAuth clientCredentials flow requires 'tokenUrl'",
                   "[SEC-006] OAuth authorizationCode flow requires 'authorizationUrl'",
                   "[SEC-007] OAuth authorizationCode flow requires 'tokenUrl'"}},
        SchemeRow{"open_id_connect_without_url", "{type: openIdConnect}",
                  {"[SEC-004] Security scheme 'auth' of type 'openIdConnect' requires 'openIdConnectUrl' field"}},
        SchemeRow{"open_id_connect_with_url", "{type: openIdConnect, openIdConnectUrl: 'https://a/.well-known'}", {}},
        SchemeRow{"mutual_tls_31", "{type: mutualTLS}", {}, true}),
    [](const testing::TestParamInfo<SchemeRow>& info) { return std::string(info.param.name); });

TEST(SecurityRules, FindingsArePlacedAtSchemeFlowsAndFlow) {
  const std::string schemes =
      "    key:\n"
      "      type: apiKey\n"
      "    oauth:\n"
      "      type: oauth2\n"
      "      flows:\n"
      "        password:\n"
      "          scopes: {}\n"
      "    empty:\n"
      "      type: oauth2\n"
      "      flows: {}\n";
  EXPECT_EQ(described(withCodes(validateYaml(withSchemes(schemes, "3.0.3")), kSecurityCodes)),
            (std::vector<std::string>{
                "error [SEC-001] Security scheme 'key' of type 'apiKey' requires 'name' field @ "
                "/components/securitySchemes/key 7:7",
                "error [SEC-001] Security scheme 'key' of type 'apiKey' requires 'in' field @ "
                "/components/securitySchemes/key 7:7",
                "error [SEC-007] OAuth password flow requires 'tokenUrl' @ "
                "/components/securitySchemes/oauth/flows/password 12:11",
                "error [SEC-005] Security scheme 'empty' must define at least one OAuth flow @ "
                "/components/securitySchemes/empty/flows 15:14",
            }));
}

TEST(SecurityRules, SchemeGivenByReferenceIsNotCheckedButCountsAsDeclared) {
  const std::string text =
      "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths: {}\n"
      "components:\n  securitySchemes:\n    byRef: {$ref: '#/components/securitySchemes/other'}\n"
      "    other: {type: http, scheme: basic}\n"
      "security:\n  - byRef: []\n    other: []\n";
  EXPECT_EQ(messages(withCodes(validateYaml(text), kSecurityCodes)), std::vector<std::string>{});
}

TEST(SecurityRules, UndeclaredSchemesOfRootRequirements) {
  const std::string text =
      "openapi: 3.1.0\ninfo: {title: t, version: '1'}\npaths: {}\n"
      "components:\n  securitySchemes:\n    known: {type: http, scheme: basic}\n"
      "security:\n"
      "  - {}\n"
      "  - known: []\n"
      "    first: [read]\n"
      "    second: []\n";
  EXPECT_EQ(described(withCodes(validateYaml(text), kSecurityCodes)),
            (std::vector<std::string>{
                "error [OPR-004] Security requirement references undefined security scheme 'first' @ /security/1 9:5",
                "error [OPR-004] Security requirement references undefined security scheme 'second' @ /security/1 9:5",
            }));
}

TEST(SecurityRules, RequirementsWithoutComponentsNameEveryScheme) {
  const std::string text =
      "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths: {}\n"
      "security:\n  - a: []\n  - b: []\n    c: []\n";
  EXPECT_EQ(messages(withCodes(validateYaml(text), kSecurityCodes)),
            (std::vector<std::string>{
                "[OPR-004] Security requirement references undefined security scheme 'a'",
                "[OPR-004] Security requirement references undefined security scheme 'b'",
                "[OPR-004] Security requirement references undefined security scheme 'c'",
            }));
}

TEST(SecurityRules, OperationRequirementsAreNotChecked) {
  const std::string text =
      "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n  /a:\n    get:\n      security: [{nope: []}]\n"
      "      responses: {'200': {description: ok}}\n";
  EXPECT_EQ(messages(withCodes(validateYaml(text), {"OPR-004"})), std::vector<std::string>{});
}

}  // namespace
