#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kit/core/TransformError.h"
#include "kit/transform/ComponentReaders.h"
#include "tests/kit/transform/ReaderTesting.h"

namespace {

using CarvexTest::Reading;
using VoziZazIreCore::TransformError;
using VoziZazIreCore::ValidationLevel;
using VoziZazIreTransform::parseComponents;
using VoziZazIreTransform::parseSecurityScheme;
using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;
using Strings = std::vector<std::string>;

TEST(SecurityScheme, FindingsOfEachVersion) {
  const std::string needsName = "[SEC-001] Security scheme 'auth' of type 'apiKey' requires 'name' field";
  const std::string needsIn = "[SEC-001] Security scheme 'auth' of type 'apiKey' requires 'in' field";
  const std::string noFlows = "[SEC-005] Security scheme 'auth' must define at least one OAuth flow";
  const std::string badIn = "[SEC-IN] Invalid apiKey location 'Query'. Must be one of: query, header, cookie";
  struct Row { const char* name; const char* json; Strings findings30; Strings findings31; };
  const Row rows[] = {
      {"api_key_complete", R"({"type": "apiKey", "name": "k", "in": "query"})", {}, {}},
      {"api_key_without_name_and_in", R"({"type": "apiKey"})", {needsName, needsIn}, {needsName, needsIn}},
      {"api_key_location_in_capitals", R"({"type": "apiKey", "name": "k", "in": "Query"})", {badIn}, {badIn}},
      {"api_key_location_as_number", R"({"type": "apiKey", "name": "k", "in": 3})", {needsIn}, {needsIn}},
      {"http_without_scheme", R"({"type": "http", "bearerFormat": 1})",
       {"[SEC-002] Security scheme 'auth' of type 'http' requires 'scheme' field"},
       {"[SEC-002] Security scheme 'auth' of type 'http' requires 'scheme' field"}},
      {"http_with_scheme", R"({"type": "http", "scheme": "bearer"})", {}, {}},
      {"oauth2_without_flows", R"({"type": "oauth2"})",
       {"[SEC-003] Security scheme 'auth' of type 'oauth2' requires 'flows' field"},
       {"[SEC-003] Security scheme 'auth' of type 'oauth2' requires 'flows' field"}},
      {"oauth2_with_empty_flows", R"({"type": "oauth2", "flows": {}})", {}, {noFlows}},
      {"oauth2_flows_as_text", R"({"type": "oauth2", "flows": "none"})", {}, {noFlows}},
      {"open_id_without_url", R"({"type": "openIdConnect", "openIdConnectUrl": 5})",
       {"[SEC-004] Security scheme 'auth' of type 'openIdConnect' requires 'openIdConnectUrl' field"},
       {"[SEC-004] Security scheme 'auth' of type 'openIdConnect' requires 'openIdConnectUrl' field"}},
      {"authorization_code_without_urls", R"({"type": "oauth2", "flows": {"authorizationCode": {"scopes": {}}}})", {},
       {"[SEC-006] OAuth authorizationCode flow requires 'authorizationUrl'",
        "[SEC-007] OAuth authorizationCode flow requires 'tokenUrl'"}},
      {"password_with_authorization_url_only",
       R"({"type": "oauth2", "flows": {"password": {"authorizationUrl": "https://a"}}})", {},
       {"[SEC-007] OAuth password flow requires 'tokenUrl'"}},
      {"client_credentials_needs_no_authorization_url",
       R"({"type": "oauth2", "flows": {"clientCredentials": {"tokenUrl": "https://t"}}})", {}, {}},
      {"implicit_flow_as_text", R"({"type": "oauth2", "flows": {"implicit": "x"}})", {},
       {"[SEC-006] OAuth implicit flow requires 'authorizationUrl'"}},
      {"refresh_url_never_required", R"({"type": "oauth2", "flows": {"implicit": {"authorizationUrl": "https://a"}}})",
       {}, {}},
      {"order_of_findings",
       R"({"type": "apiKey", "in": "body", "colour": 1,
           "flows": {"sideways": {}, "password": {"colour": 2}, "implicit": {"x-a": 1}}})",
       {needsName, "[GEN-001] Unknown property 'sideways' in OAuthFlows object",
        "[GEN-001] Unknown property 'colour' in OAuthFlow object",
        "[SEC-IN] Invalid apiKey location 'body'. Must be one of: query, header, cookie",
        "[GEN-001] Unknown property 'colour' in SecurityScheme object"},
       {needsName, "[GEN-001] Unknown property 'sideways' in OAuthFlows object",
        "[SEC-006] OAuth implicit flow requires 'authorizationUrl'",
        "[SEC-007] OAuth password flow requires 'tokenUrl'", "[GEN-001] Unknown property 'colour' in OAuthFlow object",
        "[SEC-IN] Invalid apiKey location 'body'. Must be one of: query, header, cookie",
        "[GEN-001] Unknown property 'colour' in SecurityScheme object"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Reading reading30(row.json);
    parseSecurityScheme<Version30>(*reading30.root, reading30.context, "auth");
    EXPECT_EQ(reading30.findingMessages(), row.findings30) << "3.0";
    Reading reading31(row.json);
    parseSecurityScheme<Version31>(*reading31.root, reading31.context, "auth");
    EXPECT_EQ(reading31.findingMessages(), row.findings31) << "3.1";
  }
}

TEST(SecurityScheme, FindingsStandAtTheirNodes) {
  Reading reading(R"({"securitySchemes": {
  "key": {"type": "apiKey", "in": "Header"},
  "oauth": {"type": "oauth2", "flows": {
    "implicit": {}}}}})");
  parseComponents<Version31>(*reading.root, reading.context);
  EXPECT_EQ(reading.findings(),
            (Strings{"[SEC-001] Security scheme 'key' of type 'apiKey' requires 'name' field @ /securitySchemes/key 2:10",
                     "[SEC-IN] Invalid apiKey location 'Header'. Must be one of: query, header, cookie @ "
                     "/securitySchemes/key/in 2:35",
                     "[SEC-006] OAuth implicit flow requires 'authorizationUrl' @ "
                     "/securitySchemes/oauth/flows/implicit 4:17"}));
}

TEST(SecurityScheme, NothingRecordedBelowLevelHighAndTheSchemeIsTheSame) {
  for (ValidationLevel level : {ValidationLevel::low, ValidationLevel::none}) {
    Reading reading(R"({"type": "apiKey", "in": "Query", "flows": {}})", level);
    auto scheme = parseSecurityScheme<Version31>(*reading.root, reading.context, "auth");
    EXPECT_TRUE(reading.findings().empty());
    EXPECT_FALSE(scheme->in);
    EXPECT_TRUE(scheme->flows);
  }
}

TEST(SecurityScheme, FlowsOfAnApiKeySchemeAreReadAndScopesKeepTheirKeys) {
  Reading reading(R"({"type": "apiKey", "name": "X-Key", "in": "cookie", "scheme": 1,
      "flows": {"clientCredentials": {"tokenUrl": "https://t", "scopes": {"read": "Read it", "write": 5}},
                "password": [1]}})");
  auto scheme = parseSecurityScheme<Version30>(*reading.root, reading.context, "auth");
  EXPECT_EQ(scheme->in, VoziZazIreModels::OpenAPI3_0::APIKeyLocation::cookie);
  EXPECT_FALSE(scheme->scheme);
  ASSERT_TRUE(scheme->flows && scheme->flows->clientCredentials && scheme->flows->password);
  const auto& flow = *scheme->flows->clientCredentials;
  EXPECT_EQ(flow.tokenUrl, "https://t");
  ASSERT_EQ(flow.scopes.size(), 2u);
  EXPECT_EQ(*flow.scopes.find("read"), "Read it");
  EXPECT_EQ(*flow.scopes.find("write"), "");
  // A flow of another kind has no URLs, empty scopes and its own location.
  EXPECT_TRUE(scheme->flows->password->scopes.empty());
  EXPECT_FALSE(scheme->flows->password->tokenUrl);
  EXPECT_EQ(scheme->flows->password->location.jsonPointer, "/flows/password");
  EXPECT_TRUE(reading.findings().empty());
}

struct TypeRow {
  const char* name;
  const char* json;
  bool accepted30;
  bool accepted31;
};

TEST(SecurityScheme, TypeMustBeOneTheVersionKnows) {
  const TypeRow rows[] = {
      {"mutual_tls", R"({"type": "mutualTLS"})", false, true},
      {"capitals", R"({"type": "HTTP", "scheme": "basic"})", false, false},
      {"missing", R"({"scheme": "basic"})", false, false},
      {"number", R"({"type": 1})", false, false},
      {"not_an_object", R"("apiKey")", false, false},
      {"open_id", R"({"type": "openIdConnect", "openIdConnectUrl": "https://x"})", true, true},
  };
  for (const TypeRow& row : rows) {
    for (bool is31 : {false, true}) {
      Reading reading(row.json);
      bool accepted = true;
      try {
        if (is31) {
          parseSecurityScheme<Version31>(*reading.root, reading.context, "auth");
        } else {
          parseSecurityScheme<Version30>(*reading.root, reading.context, "auth");
        }
      } catch (const TransformError& error) {
        accepted = false;
        EXPECT_EQ(error.message(), "Missing or invalid 'type' in securityScheme") << row.name;
        EXPECT_EQ(error.jsonPointer(), "") << row.name;
        EXPECT_TRUE(reading.findings().empty()) << row.name;
      }
      EXPECT_EQ(accepted, is31 ? row.accepted31 : row.accepted30) << row.name << (is31 ? " 3.1" : " 3.0");
    }
  }
}

}  // namespace
