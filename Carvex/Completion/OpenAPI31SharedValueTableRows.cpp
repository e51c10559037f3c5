#include "Carvex/Completion/OpenAPI31TableRows.h"

// Rows of the value and structure tables that both grammars share.

namespace Carvex::OpenAPI31TableRows {

namespace {
using Kind = CompletionItemKind;
} // namespace

constexpr CompletionTableRow kParameterInValues[] = {
    {"query", nullptr, Kind::value, 100, false, false,
     "Query string parameter", nullptr,
     "Parameters appended to the URL after a question mark, such as /items?id=3. The most common location "
     "for optional filters."},
    {"header", nullptr, Kind::value, 80, false, false,
     "HTTP header parameter", nullptr,
     "Custom headers expected as part of the request. Header names are case-insensitive; Accept, "
     "Content-Type and Authorization are ignored here."},
    {"path", nullptr, Kind::value, 95, false, false,
     "URL path parameter", nullptr,
     "Parameters embedded in the URL path (e.g., /users/{userId}). Must be required and correspond to a "
     "template expression in the path."},
    {"cookie", nullptr, Kind::value, 60, false, false,
     "Cookie parameter", nullptr,
     "Parameters passed in a cookie of the request, such as a session identifier. Serialized with the form"
     " style by default."},
};
const std::span<const CompletionTableRow> parameterInValues{kParameterInValues};

constexpr CompletionTableRow kHttpStatusCodes[] = {
    {"default", nullptr, Kind::keyword, 85, true, false,
     "Default response", nullptr,
     "The response for every HTTP status code not covered individually, often used to describe errors in "
     "one place."},
    {"200", "'200'", Kind::value, 100, true, false,
     "OK", nullptr,
     "The request has succeeded. The response carries the requested resource or the result of the action."},
    {"201", "'201'", Kind::value, 95, true, false,
     "Created", nullptr,
     "The request has succeeded and a new resource has been created, usually given in the Location header "
     "or the body."},
    {"204", "'204'", Kind::value, 90, true, false,
     "No Content", nullptr,
     "The server has fulfilled the request and there is no content to send in the response body."},
    {"400", "'400'", Kind::value, 88, true, false,
     "Bad Request", nullptr,
     "The server cannot process the request because of a client error, such as malformed syntax or invalid"
     " parameters."},
    {"401", "'401'", Kind::value, 86, true, false,
     "Unauthorized", nullptr,
     "The request lacks valid authentication credentials for the target resource. The response should "
     "include a WWW-Authenticate header."},
    {"403", "'403'", Kind::value, 84, true, false,
     "Forbidden", nullptr,
     "The server understood the request but refuses to authorize it; authenticating again will not help."},
    {"404", "'404'", Kind::value, 87, true, false,
     "Not Found", nullptr,
     "The server cannot find the requested resource, or is not willing to disclose that it exists."},
    {"500", "'500'", Kind::value, 80, true, false,
     "Internal Server Error", nullptr,
     "The server encountered an unexpected condition that prevented it from fulfilling the request."},
};
const std::span<const CompletionTableRow> httpStatusCodes{kHttpStatusCodes};

constexpr CompletionTableRow kMediaTypes[] = {
    {"application/json", nullptr, Kind::value, 100, true, false,
     "JSON content", nullptr,
     "JSON content as defined by RFC 8259, the most common media type for API request and response bodies."},
    {"application/xml", nullptr, Kind::value, 85, true, false,
     "XML content", nullptr,
     "XML content. Schema properties may carry xml settings to control element names, attributes and "
     "wrapping."},
    {"application/x-www-form-urlencoded", nullptr, Kind::value, 90, true, false,
     "Form URL encoded", nullptr,
     "Form fields encoded as name=value pairs joined by ampersands, as sent by HTML forms. Describe the "
     "fields with an object schema."},
    {"multipart/form-data", nullptr, Kind::value, 88, true, false,
     "Multipart form data", nullptr,
     "Form data in multiple parts, each with its own headers, typically used for file uploads. Use "
     "encoding to set per-part content types."},
    {"text/plain", nullptr, Kind::value, 70, true, false,
     "Plain text", nullptr,
     "Plain text content without markup, such as a simple message, a token or a line of log output."},
    {"text/html", nullptr, Kind::value, 65, true, false,
     "HTML content", nullptr,
     "HTML content, such as a rendered page or a formatted error message meant for a browser."},
    {"application/octet-stream", nullptr, Kind::value, 60, true, false,
     "Binary data", nullptr,
     "Arbitrary binary data, such as a file download or upload, with no specific media type."},
    {"*/*", nullptr, Kind::value, 50, true, false,
     "Any content type", nullptr,
     "Any media type. A range that matches content of every type; more specific media types take "
     "precedence over it."},
};
const std::span<const CompletionTableRow> mediaTypes{kMediaTypes};

constexpr CompletionTableRow kBooleanValues[] = {
    {"true", nullptr, Kind::value, 100, false, false,
     "Boolean true", nullptr,
     "The boolean value true. Enables the flag given by the key, such as required, deprecated or readOnly."},
    {"false", nullptr, Kind::value, 90, false, false,
     "Boolean false", nullptr,
     "The boolean value false. Disables the flag given by the key; for most flags this is also the "
     "default."},
};
const std::span<const CompletionTableRow> booleanValues{kBooleanValues};

constexpr CompletionTableRow kStyleValues[] = {
    {"matrix", nullptr, Kind::value, 70, false, false,
     "Path-style expansion (;id=3)", nullptr,
     "Path-style parameters defined by RFC 6570, prefixed with a semicolon, such as ;color=blue. Applies "
     "to path parameters."},
    {"label", nullptr, Kind::value, 65, false, false,
     "Label expansion (.3)", nullptr,
     "Label-style parameters defined by RFC 6570, prefixed with a dot, such as .blue or .blue.black. "
     "Applies to path parameters."},
    {"form", nullptr, Kind::value, 100, false, false,
     "Form style (id=3) - default for query/cookie", nullptr,
     "Form style parameters. Default for query and cookie parameters. Example: color=blue or "
     "color=blue,black (or color=blue&color=black if explode=true)."},
    {"simple", nullptr, Kind::value, 95, false, false,
     "Simple style (3) - default for path/header", nullptr,
     "Simple style parameters defined by RFC 6570, such as blue,black. Default for path and header "
     "parameters."},
    {"spaceDelimited", nullptr, Kind::value, 60, false, false,
     "Space-delimited arrays (3 4 5)", nullptr,
     "Space-separated array values, such as color=blue%20black. Applies to query parameters holding arrays"
     " or objects."},
    {"pipeDelimited", nullptr, Kind::value, 55, false, false,
     "Pipe-delimited arrays (3|4|5)", nullptr,
     "Pipe-separated array values, such as color=blue|black. Applies to query parameters holding arrays or"
     " objects."},
    {"deepObject", nullptr, Kind::value, 50, false, false,
     "Deep object expansion (id[role]=admin)", nullptr,
     "Renders nested objects as separate bracketed names, such as color[R]=100&color[G]=200. Applies to "
     "query parameters holding objects."},
};
const std::span<const CompletionTableRow> styleValues{kStyleValues};

constexpr CompletionTableRow kSecuritySchemeInValues[] = {
    {"query", nullptr, Kind::value, 90, false, false,
     "API key in query string", nullptr,
     "The API key is sent as a query parameter of the URL. Simple to use, but the key may end up in logs "
     "and browser history."},
    {"header", nullptr, Kind::value, 100, false, false,
     "API key in header", nullptr,
     "The API key is sent in a request header named by the name field, such as X-API-Key. The most common "
     "choice."},
    {"cookie", nullptr, Kind::value, 70, false, false,
     "API key in cookie", nullptr,
     "The API key is sent in a cookie named by the name field, as browsers do for session-based "
     "authentication."},
};
const std::span<const CompletionTableRow> securitySchemeInValues{kSecuritySchemeInValues};

constexpr CompletionTableRow kHttpSchemeValues[] = {
    {"basic", nullptr, Kind::value, 95, false, false,
     "HTTP Basic authentication", nullptr,
     "HTTP Basic authentication as defined in RFC 7617: a user name and password sent base64-encoded in "
     "the Authorization header. Use only over TLS."},
    {"bearer", nullptr, Kind::value, 100, false, false,
     "Bearer token authentication", nullptr,
     "Bearer token authentication as defined in RFC 6750. Token is sent in Authorization header. Most "
     "common for JWT and OAuth2 access tokens."},
    {"digest", nullptr, Kind::value, 70, false, false,
     "HTTP Digest authentication", nullptr,
     "HTTP Digest access authentication as defined in RFC 7616, which sends a hash of the credentials "
     "instead of the password."},
    {"hoba", nullptr, Kind::value, 30, false, false,
     "HTTP Origin-Bound Authentication", nullptr,
     "HTTP Origin-Bound Authentication as defined in RFC 7486, a scheme based on digital signatures rather"
     " than passwords."},
    {"mutual", nullptr, Kind::value, 40, false, false,
     "Mutual authentication", nullptr,
     "Mutual authentication as defined in RFC 8120, in which client and server prove knowledge of a shared"
     " password to each other."},
    {"negotiate", nullptr, Kind::value, 50, false, false,
     "SPNEGO/Negotiate authentication", nullptr,
     "SPNEGO-based Negotiate authentication as defined in RFC 4559, commonly used with Kerberos in "
     "corporate networks."},
    {"oauth", nullptr, Kind::value, 60, false, false,
     "OAuth 1.0 authentication", nullptr,
     "OAuth 1.0 authentication as defined in RFC 5849, with signed requests. Prefer the oauth2 security "
     "scheme type for OAuth 2.0."},
    {"scram-sha-1", nullptr, Kind::value, 35, false, false,
     "SCRAM-SHA-1 authentication", nullptr,
     "SCRAM-SHA-1 authentication as defined in RFC 7804, a salted challenge-response mechanism. Prefer "
     "scram-sha-256 where available."},
    {"scram-sha-256", nullptr, Kind::value, 36, false, false,
     "SCRAM-SHA-256 authentication", nullptr,
     "SCRAM-SHA-256 authentication as defined in RFC 7804, a salted challenge-response mechanism using "
     "SHA-256."},
    {"vapid", nullptr, Kind::value, 25, false, false,
     "VAPID authentication", nullptr,
     "Voluntary Application Server Identification (VAPID) as defined in RFC 8292, used to identify servers"
     " sending web push messages."},
};
const std::span<const CompletionTableRow> httpSchemeValues{kHttpSchemeValues};

constexpr CompletionTableRow kObjectStructure[] = {
    {"{}", "{\n  \n}", Kind::snippet, 100, false, false,
     "Empty object", "Insert empty object structure",
     "Inserts an empty JSON object with proper formatting. Use for properties expecting a nested object "
     "structure."},
};
const std::span<const CompletionTableRow> objectStructure{kObjectStructure};

constexpr CompletionTableRow kArrayStructure[] = {
    {"[]", "[\n  \n]", Kind::snippet, 100, false, false,
     "Empty array", "Insert empty array structure",
     "Inserts an empty JSON array with proper formatting. Use for properties expecting a list of items."},
};
const std::span<const CompletionTableRow> arrayStructure{kArrayStructure};

constexpr CompletionTableRow kYamlArrayItem[] = {
    {"- (array item)", "- ", Kind::snippet, 100, false, false,
     "Array item", "Insert YAML array item",
     "Inserts a YAML array item prefix. In YAML, array items start with a dash followed by a space."},
};
const std::span<const CompletionTableRow> yamlArrayItem{kYamlArrayItem};

const std::span<const CompletionTableRow> yamlObjectStart;

constexpr CompletionTableRow kYamlSchemaArrayItems[] = {
    {"- $ref:", "- $ref: ", Kind::link, 100, false, false,
     "Reference to another schema", "Add schema reference",
     "Adds a list item that references a reusable schema, such as one under components/schemas. Use to "
     "compose existing schemas."},
    {"- type:", "- type: ", Kind::schema, 95, false, false,
     "Inline schema with type", "Add inline schema",
     "Adds a list item holding an inline schema that starts with its type. Use for schemas defined in "
     "place."},
};
const std::span<const CompletionTableRow> yamlSchemaArrayItems{kYamlSchemaArrayItems};

constexpr CompletionTableRow kYamlServerArrayItems[] = {
    {"- url:", "- url: ", Kind::server, 100, false, false,
     "Server URL", "Add server with URL",
     "Adds a server entry starting with its URL. The URL may contain {variables} described in the server's"
     " variables map."},
};
const std::span<const CompletionTableRow> yamlServerArrayItems{kYamlServerArrayItems};

constexpr CompletionTableRow kYamlParameterArrayItems[] = {
    {"- $ref:", "- $ref: ", Kind::link, 100, false, false,
     "Reference to a parameter", "Add parameter reference",
     "Adds a list item that references a reusable parameter, such as one under components/parameters."},
    {"- name:", "- name: \n  in: ", Kind::parameter, 95, false, false,
     "Inline parameter", "Add inline parameter",
     "Adds an inline parameter definition. Requires name and in fields. Use for operation-specific "
     "parameters."},
};
const std::span<const CompletionTableRow> yamlParameterArrayItems{kYamlParameterArrayItems};

constexpr CompletionTableRow kYamlTagArrayItems[] = {
    {"- name:", "- name: ", Kind::tag, 100, false, false,
     "Tag with name", "Add tag",
     "Adds a tag entry starting with its name. Tag names must be unique among the document's tags."},
};
const std::span<const CompletionTableRow> yamlTagArrayItems{kYamlTagArrayItems};

constexpr CompletionTableRow kYamlSecurityArrayItems[] = {
    {"- (security requirement)", "- ", Kind::security, 100, false, false,
     "Security requirement", "Add security requirement",
     "Adds a security requirement entry. Each entry is a map of security scheme names to required scopes "
     "(empty array for non-OAuth)."},
};
const std::span<const CompletionTableRow> yamlSecurityArrayItems{kYamlSecurityArrayItems};

} // namespace Carvex::OpenAPI31TableRows
