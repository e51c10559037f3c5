#include "Carvex/Completion/OpenAPI31TableRows.h"

// Rows of the object key tables that both grammars share.

namespace Carvex::OpenAPI31TableRows {

namespace {
using Kind = CompletionItemKind;
} // namespace

constexpr CompletionTableRow kContactKeys[] = {
    {"name", nullptr, Kind::property, 90, true, true,
     "Contact name", "String",
     "The identifying name of the contact person or organization responsible for the API."},
    {"url", nullptr, Kind::property, 85, true, true,
     "Contact URL", "String (URL)",
     "The URL pointing to the contact information, such as a support page. The value must be in the form "
     "of a URL."},
    {"email", nullptr, Kind::property, 80, true, true,
     "Contact email", "String (email)",
     "The email address of the contact person or organization. The value must be in the form of an email "
     "address."},
};
const std::span<const CompletionTableRow> contactKeys{kContactKeys};

constexpr CompletionTableRow kServerKeys[] = {
    {"url", nullptr, Kind::property, 100, true, true,
     "Server URL", "REQUIRED. String (URL)",
     "A URL to the target host, possibly relative to the document's location. Variable substitutions in "
     "{braces} are filled from the variables map. Required."},
    {"description", nullptr, Kind::property, 85, true, true,
     "Server description", "String",
     "An optional string describing the host designated by the URL, such as Production or Staging. "
     "CommonMark may be used."},
    {"variables", nullptr, Kind::property, 80, true, false,
     "Server variables", "Map of Server Variable Objects",
     "A map from variable names to Server Variable Objects, giving the values substituted for {name} in "
     "the server URL."},
};
const std::span<const CompletionTableRow> serverKeys{kServerKeys};

constexpr CompletionTableRow kServerVariableKeys[] = {
    {"enum", nullptr, Kind::property, 85, true, false,
     "Enumerated values", "Array of String",
     "The values allowed for the substitution, as a list of strings. The list should not be empty and must"
     " contain the default value."},
    {"default", nullptr, Kind::property, 100, true, true,
     "Default value", "REQUIRED. String",
     "The value used for the substitution when no other is supplied. Required; unlike a Schema Object's "
     "default, it must be given."},
    {"description", nullptr, Kind::property, 80, true, true,
     "Variable description", "String",
     "An optional description of the server variable. CommonMark syntax may be used for rich text "
     "representation."},
};
const std::span<const CompletionTableRow> serverVariableKeys{kServerVariableKeys};

constexpr CompletionTableRow kPathItemKeys[] = {
    {"$ref", nullptr, Kind::link, 95, true, true,
     "Reference to path item", "String",
     "Allows for a referenced definition of this path item. The referenced structure must be a Path Item "
     "Object. If there are conflicts, the referenced structure's values are overridden."},
    {"summary", nullptr, Kind::property, 85, true, true,
     "Path summary", "String",
     "An optional short summary that applies to all operations of this path, shown in documentation tools."},
    {"description", nullptr, Kind::property, 80, true, true,
     "Path description", "String",
     "An optional description that applies to all operations of this path. CommonMark syntax may be used."},
    {"get", nullptr, Kind::operation, 100, true, false,
     "GET operation", "Operation Object",
     "The definition of a GET operation on this path, for reading a resource. It should not change server "
     "state."},
    {"put", nullptr, Kind::operation, 95, true, false,
     "PUT operation", "Operation Object",
     "The definition of a PUT operation on this path, usually replacing the resource at the path with the "
     "request's content."},
    {"post", nullptr, Kind::operation, 98, true, false,
     "POST operation", "Operation Object",
     "The definition of a POST operation on this path, usually creating a resource or triggering "
     "processing."},
    {"delete", nullptr, Kind::operation, 90, true, false,
     "DELETE operation", "Operation Object",
     "The definition of a DELETE operation on this path, removing the resource at the path."},
    {"options", nullptr, Kind::operation, 70, true, false,
     "OPTIONS operation", "Operation Object",
     "The definition of an OPTIONS operation on this path, describing the communication options for the "
     "resource."},
    {"head", nullptr, Kind::operation, 65, true, false,
     "HEAD operation", "Operation Object",
     "The definition of a HEAD operation on this path: like GET, but the response carries headers only, no"
     " body."},
    {"patch", nullptr, Kind::operation, 88, true, false,
     "PATCH operation", "Operation Object",
     "The definition of a PATCH operation on this path, applying partial modifications to the resource."},
    {"trace", nullptr, Kind::operation, 60, true, false,
     "TRACE operation", "Operation Object",
     "The definition of a TRACE operation on this path, performing a message loop-back test along the path"
     " to the resource."},
    {"servers", nullptr, Kind::property, 50, true, false,
     "Path-level servers", "Array of Server Objects",
     "An alternative server array to service all operations in this path, overriding the document's "
     "servers."},
    {"parameters", nullptr, Kind::property, 75, true, false,
     "Path-level parameters", "Array of Parameter Objects",
     "Parameters that apply to all operations of this path. An operation may override one with the same "
     "name and location, but not remove it."},
};
const std::span<const CompletionTableRow> pathItemKeys{kPathItemKeys};

constexpr CompletionTableRow kOperationKeys[] = {
    {"tags", nullptr, Kind::property, 90, true, false,
     "Operation tags", "Array of String",
     "A list of tag names for grouping this operation in documentation and tools. Tags may be described at"
     " the document level."},
    {"summary", nullptr, Kind::property, 95, true, true,
     "Operation summary", "String",
     "A short summary of what the operation does. For maximum readability in documentation, this field "
     "should be limited to 120 characters."},
    {"description", nullptr, Kind::property, 85, true, true,
     "Operation description", "String",
     "A verbose explanation of the operation's behaviour. CommonMark syntax may be used for rich text "
     "representation."},
    {"externalDocs", nullptr, Kind::property, 50, true, false,
     "External documentation", "External Documentation Object",
     "Additional external documentation for this operation, given as an External Documentation Object."},
    {"operationId", nullptr, Kind::property, 88, true, true,
     "Unique operation identifier", "String",
     "A unique string identifying the operation among all operations of the API. Tools and code generators"
     " use it to name methods; it is case-sensitive."},
    {"parameters", nullptr, Kind::property, 80, true, false,
     "Operation parameters", "Array of Parameter Objects",
     "Parameters for this operation. It adds to the path's parameters and overrides one with the same name"
     " and location; duplicates are not allowed."},
    {"requestBody", nullptr, Kind::property, 78, true, false,
     "Request body", "Request Body Object",
     "The request body applicable for this operation. Not supported for GET, HEAD, or DELETE operations "
     "per HTTP specification."},
    {"responses", nullptr, Kind::property, 100, true, false,
     "Operation responses", "REQUIRED. Responses Object",
     "The possible responses of the operation, keyed by HTTP status code or default. Required in OpenAPI "
     "3.0; optional in 3.1."},
    {"callbacks", nullptr, Kind::property, 60, true, false,
     "Callbacks", "Map of Callback Objects",
     "A map of possible out-of-band callbacks related to this operation, each keyed by a unique name and "
     "describing requests the API may send."},
    {"deprecated", nullptr, Kind::property, 55, true, true,
     "Deprecation flag", "Boolean",
     "When true, the operation is deprecated and consumers should refrain from using it. Defaults to "
     "false."},
    {"security", nullptr, Kind::property, 70, true, false,
     "Security requirements", "Array of Security Requirement Objects",
     "The security mechanisms that apply to this operation, overriding the document-level security. An "
     "empty list removes security for it."},
    {"servers", nullptr, Kind::property, 45, true, false,
     "Operation servers", "Array of Server Objects",
     "An alternative server array to service this operation, overriding the path and document servers."},
};
const std::span<const CompletionTableRow> operationKeys{kOperationKeys};

constexpr CompletionTableRow kParameterKeys[] = {
    {"$ref", nullptr, Kind::link, 95, true, true,
     "Reference to parameter", "String",
     "A reference to a Parameter Object, usually one under components/parameters. The referenced parameter"
     " replaces this object."},
    {"name", nullptr, Kind::property, 100, true, true,
     "Parameter name", "REQUIRED. String",
     "The name of the parameter, case-sensitive. For a path parameter it must match a template expression "
     "in the path, such as {id}. Required."},
    {"in", nullptr, Kind::property, 99, true, true,
     "Parameter location", "REQUIRED. query/header/path/cookie",
     "The location of the parameter: query, header, path or cookie. Required; path parameters must also be"
     " required."},
    {"description", nullptr, Kind::property, 85, true, true,
     "Parameter description", "String",
     "A brief description of the parameter, with examples of use. CommonMark syntax may be used for rich "
     "text representation."},
    {"required", nullptr, Kind::property, 90, true, true,
     "Required flag", "Boolean",
     "Whether the parameter is mandatory. Must be true for path parameters; defaults to false for the "
     "other locations."},
    {"deprecated", nullptr, Kind::property, 50, true, true,
     "Deprecation flag", "Boolean",
     "When true, the parameter is deprecated and should be transitioned out of usage. Defaults to false."},
    {"allowEmptyValue", nullptr, Kind::property, 45, true, true,
     "Allow empty value", "Boolean",
     "Allows sending a query parameter with an empty value. Valid only for query parameters; its use is "
     "not recommended and it may be removed."},
    {"style", nullptr, Kind::property, 70, true, true,
     "Serialization style", "String",
     "How the parameter value is serialized: matrix, label, form, simple, spaceDelimited, pipeDelimited or"
     " deepObject. Defaults by location."},
    {"explode", nullptr, Kind::property, 65, true, true,
     "Explode arrays/objects", "Boolean",
     "When true, array and object values generate separate parameters for each item or property. Defaults "
     "to true for form style, false otherwise."},
    {"allowReserved", nullptr, Kind::property, 40, true, true,
     "Allow reserved characters", "Boolean",
     "Determines whether the parameter value should allow reserved characters :/?#[]@!$&'()*+,;= to be "
     "included without percent-encoding. Only applies to query parameters."},
    {"schema", nullptr, Kind::property, 88, true, false,
     "Parameter schema", "Schema Object",
     "The schema defining the type of the parameter's value. A parameter has either schema or content, not"
     " both."},
    {"example", nullptr, Kind::property, 60, true, true,
     "Example value", "Any",
     "An example of the parameter's value, matching its schema. Mutually exclusive with the examples "
     "field."},
    {"examples", nullptr, Kind::property, 58, true, false,
     "Example values", "Map of Example Objects",
     "Named examples of the parameter's value, each an Example Object or a reference. Mutually exclusive "
     "with the example field."},
    {"content", nullptr, Kind::property, 55, true, false,
     "Content by media type", "Map of Media Type Objects",
     "A map with exactly one media type describing the parameter's representation, for complex values. "
     "Mutually exclusive with schema."},
};
const std::span<const CompletionTableRow> parameterKeys{kParameterKeys};

constexpr CompletionTableRow kRequestBodyKeys[] = {
    {"$ref", nullptr, Kind::link, 95, true, true,
     "Reference to request body", "String",
     "A reference to a Request Body Object, usually one under components/requestBodies. The referenced "
     "body replaces this object."},
    {"description", nullptr, Kind::property, 85, true, true,
     "Request body description", "String",
     "A brief description of the request body, which may include examples of use. CommonMark syntax may be"
     " used."},
    {"content", nullptr, Kind::property, 100, true, false,
     "Content by media type", "REQUIRED. Map of Media Type Objects",
     "The content of the request body, keyed by media type or media type range such as application/json. "
     "Required."},
    {"required", nullptr, Kind::property, 90, true, true,
     "Required flag", "Boolean",
     "Whether the request body is mandatory in the request. Defaults to false, so the body may be omitted."},
};
const std::span<const CompletionTableRow> requestBodyKeys{kRequestBodyKeys};

constexpr CompletionTableRow kResponseKeys[] = {
    {"$ref", nullptr, Kind::link, 95, true, true,
     "Reference to response", "String",
     "A reference to a Response Object, usually one under components/responses. The referenced response "
     "replaces this object."},
    {"description", nullptr, Kind::property, 100, true, true,
     "Response description", "REQUIRED. String",
     "A description of the response, shown in documentation. Required in every Response Object; CommonMark"
     " syntax may be used."},
    {"headers", nullptr, Kind::property, 80, true, false,
     "Response headers", "Map of Header Objects",
     "A map of header names to the headers sent with the response. A Content-Type header given here is "
     "ignored."},
    {"content", nullptr, Kind::property, 90, true, false,
     "Response content", "Map of Media Type Objects",
     "The possible payloads of the response, keyed by media type or media type range such as "
     "application/json."},
    {"links", nullptr, Kind::property, 70, true, false,
     "Response links", "Map of Link Objects",
     "A map of operations that can be followed from the response, each given as a Link Object or a "
     "reference."},
};
const std::span<const CompletionTableRow> responseKeys{kResponseKeys};

constexpr CompletionTableRow kSecuritySchemeKeys[] = {
    {"type", nullptr, Kind::property, 100, true, true,
     "Security scheme type", "REQUIRED. apiKey/http/mutualTLS/oauth2/openIdConnect",
     "The type of the security scheme: apiKey, http, oauth2 or openIdConnect, and mutualTLS in OpenAPI "
     "3.1. Required; it decides which other fields apply."},
    {"description", nullptr, Kind::property, 85, true, true,
     "Security scheme description", "String",
     "A description of the security scheme, shown in documentation. CommonMark syntax may be used."},
    {"name", nullptr, Kind::property, 95, true, true,
     "Header/query/cookie name", "REQUIRED for apiKey",
     "The name of the header, query parameter or cookie that carries the API key. Required for type "
     "apiKey."},
    {"in", nullptr, Kind::property, 94, true, true,
     "Location of API key", "REQUIRED for apiKey. query/header/cookie",
     "Where the API key is sent: query, header or cookie. Required for type apiKey."},
    {"scheme", nullptr, Kind::property, 93, true, true,
     "HTTP auth scheme", "REQUIRED for http",
     "The name of the HTTP authorization scheme used in the Authorization header, such as basic or bearer."
     " Required for type http."},
    {"bearerFormat", nullptr, Kind::property, 70, true, true,
     "Bearer token format", "String (e.g., JWT)",
     "A hint to the client about how the bearer token is formatted, such as JWT. Applies to type http with"
     " scheme bearer and is for documentation only."},
    {"flows", nullptr, Kind::property, 92, true, false,
     "OAuth2 flows", "REQUIRED for oauth2. OAuth Flows Object",
     "The OAuth 2.0 flows supported by the scheme: implicit, password, clientCredentials and "
     "authorizationCode. Required for type oauth2."},
    {"openIdConnectUrl", nullptr, Kind::property, 91, true, true,
     "OpenID Connect URL", "REQUIRED for openIdConnect",
     "The URL of the OpenID Connect discovery document, used to discover OAuth 2.0 configuration values. "
     "Required for type openIdConnect."},
};
const std::span<const CompletionTableRow> securitySchemeKeys{kSecuritySchemeKeys};

constexpr CompletionTableRow kOAuthFlowsKeys[] = {
    {"implicit", nullptr, Kind::property, 80, true, false,
     "Implicit flow", "OAuth Flow Object",
     "Configuration for the OAuth 2.0 implicit flow, which needs an authorizationUrl and scopes. The flow "
     "is discouraged by current OAuth guidance."},
    {"password", nullptr, Kind::property, 75, true, false,
     "Password flow", "OAuth Flow Object",
     "Configuration for the OAuth 2.0 resource owner password flow, which needs a tokenUrl and scopes."},
    {"clientCredentials", nullptr, Kind::property, 85, true, false,
     "Client credentials flow", "OAuth Flow Object",
     "Configuration for the OAuth 2.0 client credentials flow, used for machine-to-machine access; needs a"
     " tokenUrl and scopes."},
    {"authorizationCode", nullptr, Kind::property, 100, true, false,
     "Authorization code flow", "OAuth Flow Object",
     "Configuration for the OAuth 2.0 authorization code flow, which needs both an authorizationUrl and a "
     "tokenUrl and scopes."},
};
const std::span<const CompletionTableRow> oAuthFlowsKeys{kOAuthFlowsKeys};

constexpr CompletionTableRow kOAuthFlowKeys[] = {
    {"authorizationUrl", nullptr, Kind::property, 100, true, true,
     "Authorization endpoint URL", "REQUIRED for implicit/authorizationCode",
     "The authorization URL to be used for this flow, in the form of a URL. Required for the implicit and "
     "authorizationCode flows."},
    {"tokenUrl", nullptr, Kind::property, 99, true, true,
     "Token endpoint URL", "REQUIRED for password/clientCredentials/authorizationCode",
     "The token URL to be used for this flow, in the form of a URL. Required for the password, "
     "clientCredentials and authorizationCode flows."},
    {"refreshUrl", nullptr, Kind::property, 80, true, true,
     "Refresh token URL", "String (URL)",
     "The URL to be used for obtaining refresh tokens, in the form of a URL. Optional for every flow."},
    {"scopes", nullptr, Kind::property, 95, true, false,
     "Available scopes", "REQUIRED. Map of String",
     "The available scopes of the OAuth 2.0 scheme, as a map from scope name to a short description. "
     "Required; the map may be empty."},
};
const std::span<const CompletionTableRow> oAuthFlowKeys{kOAuthFlowKeys};

constexpr CompletionTableRow kTagKeys[] = {
    {"name", nullptr, Kind::property, 100, true, true,
     "Tag name", "REQUIRED. String",
     "The name of the tag, as operations list it in their tags. Required and unique among the document's "
     "tags."},
    {"description", nullptr, Kind::property, 85, true, true,
     "Tag description", "String",
     "A description of the tag, shown as the group's introduction in documentation. CommonMark syntax may "
     "be used."},
    {"externalDocs", nullptr, Kind::property, 70, true, false,
     "External documentation", "External Documentation Object",
     "Additional external documentation for this tag, given as an External Documentation Object."},
};
const std::span<const CompletionTableRow> tagKeys{kTagKeys};

constexpr CompletionTableRow kExternalDocsKeys[] = {
    {"description", nullptr, Kind::property, 85, true, true,
     "Documentation description", "String",
     "A description of the target documentation, shown with the link. CommonMark syntax may be used."},
    {"url", nullptr, Kind::property, 100, true, true,
     "Documentation URL", "REQUIRED. String (URL)",
     "The URL of the target documentation, in the form of a URL. Required in the External Documentation "
     "Object."},
};
const std::span<const CompletionTableRow> externalDocsKeys{kExternalDocsKeys};

constexpr CompletionTableRow kExampleKeys[] = {
    {"$ref", nullptr, Kind::link, 95, true, true,
     "Reference to example", "String",
     "A reference to an Example Object, usually one under components/examples. The referenced example "
     "replaces this object."},
    {"summary", nullptr, Kind::property, 90, true, true,
     "Example summary", "String",
     "A short description of the example, shown as its title in documentation tools."},
    {"description", nullptr, Kind::property, 85, true, true,
     "Example description", "String",
     "A long description of the example. CommonMark syntax may be used for rich text representation."},
    {"value", nullptr, Kind::property, 100, true, true,
     "Example value", "Any",
     "The embedded literal example value. Mutually exclusive with externalValue; non-JSON media types can "
     "be given as escaped strings."},
    {"externalValue", nullptr, Kind::property, 70, true, true,
     "External value URL", "String (URL)",
     "A URL pointing to the literal example, for examples that cannot easily be embedded. Mutually "
     "exclusive with value."},
};
const std::span<const CompletionTableRow> exampleKeys{kExampleKeys};

constexpr CompletionTableRow kHeaderKeys[] = {
    {"$ref", nullptr, Kind::link, 95, true, true,
     "Reference to header", "String",
     "A reference to a Header Object, usually one under components/headers. The referenced header replaces"
     " this object."},
    {"description", nullptr, Kind::property, 85, true, true,
     "Header description", "String",
     "A brief description of the header, with examples of use. CommonMark syntax may be used for rich text"
     " representation."},
    {"required", nullptr, Kind::property, 90, true, true,
     "Required flag", "Boolean",
     "Whether the header is mandatory. Defaults to false, so the header may be absent from the message."},
    {"deprecated", nullptr, Kind::property, 50, true, true,
     "Deprecation flag", "Boolean",
     "When true, the header is deprecated and should be transitioned out of usage. Defaults to false."},
    {"schema", nullptr, Kind::property, 100, true, false,
     "Header schema", "Schema Object",
     "The schema defining the type of the header's value. A header has either schema or content, not both."},
    {"style", nullptr, Kind::property, 70, true, true,
     "Serialization style", "String",
     "How the header value is serialized. Headers allow only the simple style, which is also the default."},
    {"explode", nullptr, Kind::property, 65, true, true,
     "Explode flag", "Boolean",
     "When true, array and object values are serialized with each item or property separately. Defaults to"
     " false for headers."},
    {"example", nullptr, Kind::property, 60, true, true,
     "Example value", "Any",
     "An example of the header's value, matching its schema. Mutually exclusive with the examples field."},
    {"examples", nullptr, Kind::property, 58, true, false,
     "Example values", "Map of Example Objects",
     "Named examples of the header's value, each an Example Object or a reference. Mutually exclusive with"
     " the example field."},
};
const std::span<const CompletionTableRow> headerKeys{kHeaderKeys};

constexpr CompletionTableRow kLinkKeys[] = {
    {"$ref", nullptr, Kind::link, 95, true, true,
     "Reference to link", "String",
     "A reference to a Link Object, usually one under components/links. The referenced link replaces this "
     "object."},
    {"operationRef", nullptr, Kind::property, 90, true, true,
     "Operation reference", "String",
     "A URI reference to the target operation, such as a JSON Pointer into this document. Mutually "
     "exclusive with operationId."},
    {"operationId", nullptr, Kind::property, 88, true, true,
     "Operation ID", "String",
     "The operationId of an existing operation in this document, the target of the link. Mutually "
     "exclusive with operationRef."},
    {"parameters", nullptr, Kind::property, 85, true, false,
     "Link parameters", "Map of expressions",
     "A map of parameter names of the target operation to constant values or runtime expressions such as "
     "$response.body#/id."},
    {"requestBody", nullptr, Kind::property, 80, true, true,
     "Link request body", "Expression",
     "A constant value or runtime expression to use as the request body when calling the target operation."},
    {"description", nullptr, Kind::property, 75, true, true,
     "Link description", "String",
     "A description of the link, shown in documentation. CommonMark syntax may be used for rich text "
     "representation."},
    {"server", nullptr, Kind::property, 70, true, false,
     "Target server", "Server Object",
     "A Server Object to be used by the target operation instead of the servers it would otherwise use."},
};
const std::span<const CompletionTableRow> linkKeys{kLinkKeys};

constexpr CompletionTableRow kDiscriminatorKeys[] = {
    {"propertyName", nullptr, Kind::property, 100, true, true,
     "Discriminator property", "REQUIRED. String",
     "The name of the property in the payload whose value tells which schema applies. Required in the "
     "Discriminator Object."},
    {"mapping", nullptr, Kind::property, 90, true, false,
     "Value to schema mapping", "Map of String",
     "A map from payload values to schema names or references, for values that do not match a schema name "
     "directly."},
};
const std::span<const CompletionTableRow> discriminatorKeys{kDiscriminatorKeys};

constexpr CompletionTableRow kXmlKeys[] = {
    {"name", nullptr, Kind::property, 100, true, true,
     "XML element name", "String",
     "Replaces the name of the element or attribute used for the described schema property. Has no effect "
     "inside items unless wrapped."},
    {"namespace", nullptr, Kind::property, 90, true, true,
     "XML namespace", "String (URI)",
     "The URI of the namespace definition for the element. The value must be an absolute URI."},
    {"prefix", nullptr, Kind::property, 85, true, true,
     "XML prefix", "String",
     "The prefix to be used for the name, bound to the namespace of the element, such as ns in ns:item."},
    {"attribute", nullptr, Kind::property, 80, true, true,
     "XML attribute flag", "Boolean",
     "When true, the property is serialized as an XML attribute instead of an element. Defaults to false."},
    {"wrapped", nullptr, Kind::property, 75, true, true,
     "XML wrapped flag", "Boolean",
     "When true, an array is wrapped in an outer element, such as <books><book/></books>. Only valid for "
     "arrays; defaults to false."},
};
const std::span<const CompletionTableRow> xmlKeys{kXmlKeys};

} // namespace Carvex::OpenAPI31TableRows
