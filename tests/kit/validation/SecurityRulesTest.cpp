#include <gtest/gtest.h>

#include "tests/kit/validation/WalkTestSupport.h"

namespace {

using CarvexTest::messagesOf;
using CarvexTest::placesOf;
using CarvexTest::Row;

const CarvexTest::Codes kSecurityCodes = {"SEC-001", "SEC-002", "SEC-003", "SEC-004",
                                          "SEC-005", "SEC-006", "SEC-007", "OPR-004"};

std::string withSchemes(std::string_view schemes, std::string_view version = "3.0.3") {
  return "openapi: " + std::string(version) +
         "\ninfo: {title: t, version: '1'}\npaths: {}\ncomponents:\n  securitySchemes:\n" + std::string(schemes);
}

class SecuritySchemeTest : public CarvexTest::RowTest {};

TEST_P(SecuritySchemeTest, Messages) {
  for (const std::string& version : CarvexTest::versionsOf(GetParam()))
    EXPECT_EQ(messagesOf(withSchemes("    auth: " + GetParam().input + "\n", version), kSecurityCodes),
              GetParam().expected)
        << version;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SecuritySchemeTest,
    testing::Values(
        Row{"api_key_complete", "{type: apiKey, name: X-Key, in: header}", {}},
        Row{"api_key_without_in",
            "{type: apiKey, name: k}",
            {"[SEC-001] Security scheme 'auth' of type 'apiKey' requires 'in' field"}},
        Row{"api_key_empty_name_is_present", "{type: apiKey, name: '', in: query}", {}},
        Row{"http_without_scheme",
            "{type: http}",
            {"[SEC-002] Security scheme 'auth' of type 'http' requires 'scheme' field"}},
        Row{"http_empty_scheme_is_present_and_foreign_fields_are_fine", "{type: http, scheme: '', name: x}", {}},
        Row{"oauth2_without_flows",
            "{type: oauth2}",
            {"[SEC-003] Security scheme 'auth' of type 'oauth2' requires 'flows' field"}},
        Row{"implicit_with_empty_authorization_url",
            "{type: oauth2, flows: {implicit: {authorizationUrl: '', scopes: {}}}}",
            {"[SEC-006] OAuth implicit flow requires 'authorizationUrl'"}},
        Row{"implicit_token_url_is_not_checked",
            "{type: oauth2, flows: {implicit: {authorizationUrl: 'https://a', scopes: {}}}}",
            {}},
        Row{"client_credentials_with_empty_token_url",
            "{type: oauth2, flows: {clientCredentials: {tokenUrl: '', scopes: {}}}}",
            {"[SEC-007] OAuth clientCredentials flow requires 'tokenUrl'"}},
        Row{"authorization_code_with_empty_urls",
            "{type: oauth2, flows: {authorizationCode: {authorizationUrl: '', tokenUrl: '', scopes: {}}}}",
            {"[SEC-006] OAuth authorizationCode flow requires 'authorizationUrl'",
             "[SEC-007] OAuth authorizationCode flow requires 'tokenUrl'"}},
        Row{"every_flow_in_order",
            "{type: oauth2, flows: {authorizationCode: {scopes: {}}, clientCredentials: {scopes: {}}, "
            "password: {scopes: {}}, implicit: {scopes: {}}}}",
            {"[SEC-006] OAuth implicit flow requires 'authorizationUrl'",
             "[SEC-007] OAuth password flow requires 'tokenUrl'",
             "[SEC-007] OAuth clientCredentials flow requires 'tokenUrl'",
             "[SEC-006] OAuth authorizationCode flow requires 'authorizationUrl'",
             "[SEC-007] OAuth authorizationCode flow requires 'tokenUrl'"}},
        Row{"open_id_connect_without_url",
            "{type: openIdConnect}",
            {"[SEC-004] Security scheme 'auth' of type 'openIdConnect' requires 'openIdConnectUrl' field"}},
        Row{"open_id_connect_with_url", "{type: openIdConnect, openIdConnectUrl: 'https://a/.well-known'}", {}},
        Row{"mutual_tls_31", "{type: mutualTLS}", {}, 2}),
    CarvexTest::rowName);

TEST(SecurityRules, FindingsArePlacedAtSchemeFlowsAndFlow) {
  EXPECT_EQ(placesOf(withSchemes("    key:\n      type: apiKey\n    oauth:\n      type: oauth2\n      flows:\n"
                                 "        password:\n          scopes: {}\n    empty:\n      type: oauth2\n"
                                 "      flows: {}\n"),
                     kSecurityCodes),
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

// A scheme given by reference is not checked but counts as declared; operation requirements are not checked.
TEST(SecurityRules, UndeclaredSchemesOfRootRequirements) {
  const std::string text =
      "openapi: 3.1.0\ninfo: {title: t, version: '1'}\n"
      "paths: {/a: {get: {security: [{nope: []}], responses: {'200': {description: ok}}}}}\n"
      "components:\n  securitySchemes:\n    known: {type: http, scheme: basic}\n"
      "    byRef: {$ref: '#/components/securitySchemes/known'}\n"
      "security:\n"
      "  - {}\n"
      "  - known: []\n"
      "    first: [read]\n"
      "    byRef: []\n"
      "    second: []\n";
  EXPECT_EQ(placesOf(text, kSecurityCodes),
            (std::vector<std::string>{
                "error [OPR-004] Security requirement references undefined security scheme 'first' @ /security/1 10:5",
                "error [OPR-004] Security requirement references undefined security scheme 'second' @ /security/1 10:5",
            }));
  EXPECT_EQ(messagesOf("openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths: {}\nsecurity:\n  - a: []\n"
                       "  - b: []\n    c: []\n",
                       kSecurityCodes),
            (std::vector<std::string>{
                "[OPR-004] Security requirement references undefined security scheme 'a'",
                "[OPR-004] Security requirement references undefined security scheme 'b'",
                "[OPR-004] Security requirement references undefined security scheme 'c'",
            }));
}

}  // namespace
