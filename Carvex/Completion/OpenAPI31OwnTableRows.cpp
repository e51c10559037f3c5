#include "Carvex/Completion/OpenAPI31TableRows.h"

// Rows of the tables that belong to the OpenAPI 3.1 grammar alone.

namespace Carvex::OpenAPI31TableRows {

namespace {
using Kind = CompletionItemKind;
} // namespace

constexpr CompletionTableRow kRootKeys[] = {
    {"openapi", nullptr, Kind::property, 100, true, true,
     "OpenAPI specification version", "REQUIRED. String",
     "The version of the OpenAPI Specification that this document uses. This string must be the semantic "
     "version number of the OpenAPI Specification version that the document uses (e.g., '3.1.0')."},
    {"info", nullptr, Kind::property, 99, true, false,
     "API metadata", "REQUIRED. Info Object",
     "Metadata about the API: its title, version, description, contact, license and terms of service. "
     "Required in every OpenAPI document."},
    {"jsonSchemaDialect", nullptr, Kind::property, 70, true, true,
     "Default JSON Schema dialect", "String (URI)",
     "The default value of the $schema keyword for Schema Objects in this document, given as a URI. "
     "Schemas without their own $schema use this dialect. New in OpenAPI 3.1."},
    {"servers", nullptr, Kind::property, 85, true, false,
     "Server information", "Array of Server Objects",
     "An array of Server Objects giving the base URLs where the API is served. When absent or empty, the "
     "default is a single server with the URL /."},
    {"paths", nullptr, Kind::property, 98, true, false,
     "API endpoints", "Paths Object",
     "The available paths and operations of the API, keyed by relative path templates such as /users/{id}."
     " In OpenAPI 3.1 a document needs at least one of paths, components or webhooks."},
    {"webhooks", nullptr, Kind::property, 75, true, false,
     "Webhook definitions", "Map of Path Item Objects",
     "The incoming webhooks that may be received as part of this API. The key is a unique name for the "
     "webhook. Each webhook describes a request that may be initiated by the API provider and the expected"
     " response."},
    {"components", nullptr, Kind::property, 90, true, false,
     "Reusable components", "Components Object",
     "Holds reusable objects for the document: schemas, responses, parameters, examples, request bodies, "
     "headers, security schemes, links and callbacks, referenced with $ref."},
    {"security", nullptr, Kind::property, 80, true, false,
     "Security requirements", "Array of Security Requirement Objects",
     "The security mechanisms that apply across the whole API. Each entry is an alternative requirement; "
     "an empty object in the list makes security optional."},
    {"tags", nullptr, Kind::property, 78, true, false,
     "Tag definitions", "Array of Tag Objects",
     "A list of tags with additional metadata, used by tools to group operations. Tag names must be "
     "unique, and their order can drive the order in documentation."},
    {"externalDocs", nullptr, Kind::property, 60, true, false,
     "External documentation", "External Documentation Object",
     "A link to additional external documentation for the API as a whole, given as an External "
     "Documentation Object with a required url."},
};
const std::span<const CompletionTableRow> rootKeys{kRootKeys};

constexpr CompletionTableRow kInfoKeys[] = {
    {"title", nullptr, Kind::property, 100, true, true,
     "API title", "REQUIRED. String",
     "The title of the API, shown in documentation and tools. Required in the Info Object."},
    {"summary", nullptr, Kind::property, 85, true, true,
     "Short API summary", "String",
     "A short summary of the API, one line that complements the longer description. New in OpenAPI 3.1."},
    {"description", nullptr, Kind::property, 90, true, true,
     "API description", "String (CommonMark)",
     "A description of the API. CommonMark syntax may be used for rich text representation, and tools "
     "render it in generated documentation."},
    {"termsOfService", nullptr, Kind::property, 70, true, true,
     "Terms of service URL", "String (URL)",
     "A URL to the Terms of Service for the API. The value must be in the form of a URL."},
    {"contact", nullptr, Kind::property, 75, true, false,
     "Contact information", "Contact Object",
     "Contact information for the exposed API: a name, a URL and an email address, all optional."},
    {"license", nullptr, Kind::property, 80, true, false,
     "License information", "License Object",
     "License information for the exposed API. The License Object requires a name and may give a URL to "
     "the license text."},
    {"version", nullptr, Kind::property, 99, true, true,
     "API version", "REQUIRED. String",
     "The version of the API description document, not of the OpenAPI Specification or of the API "
     "implementation. Required in the Info Object."},
};
const std::span<const CompletionTableRow> infoKeys{kInfoKeys};

constexpr CompletionTableRow kLicenseKeys[] = {
    {"name", nullptr, Kind::property, 100, true, true,
     "License name", "REQUIRED. String",
     "The license name used for the API, such as Apache 2.0 or MIT. Required in the License Object."},
    {"identifier", nullptr, Kind::property, 85, true, true,
     "SPDX license identifier", "String",
     "An SPDX license expression for the API, such as Apache-2.0. Mutually exclusive with the url field. "
     "New in OpenAPI 3.1."},
    {"url", nullptr, Kind::property, 80, true, true,
     "License URL", "String (URL)",
     "A URL to the license used for the API. In OpenAPI 3.1 it is mutually exclusive with the identifier "
     "field."},
};
const std::span<const CompletionTableRow> licenseKeys{kLicenseKeys};

constexpr CompletionTableRow kMediaTypeKeys[] = {
    {"schema", nullptr, Kind::property, 100, true, false,
     "Content schema", "Schema Object",
     "The schema defining the content of the request, response or parameter for this media type."},
    {"example", nullptr, Kind::property, 85, true, true,
     "Example value", "Any",
     "An example of the media type's content. It is mutually exclusive with the examples field and, when "
     "given, overrides any example in the schema."},
    {"examples", nullptr, Kind::property, 80, true, false,
     "Example values", "Map of Example Objects",
     "Named examples of the media type's content, each an Example Object or a reference. Mutually "
     "exclusive with the example field."},
    {"encoding", nullptr, Kind::property, 70, true, false,
     "Encoding information", "Map of Encoding Objects",
     "A map from property names to encoding information. Applies only to request bodies of type multipart "
     "or application/x-www-form-urlencoded."},
};
const std::span<const CompletionTableRow> mediaTypeKeys{kMediaTypeKeys};

constexpr CompletionTableRow kComponentsKeys[] = {
    {"schemas", nullptr, Kind::property, 100, true, false,
     "Reusable schemas", "Map of Schema Objects",
     "An object to hold reusable Schema Objects, keyed by name. Reference one with $ref: "
     "'#/components/schemas/Name'."},
    {"responses", nullptr, Kind::property, 90, true, false,
     "Reusable responses", "Map of Response Objects",
     "An object to hold reusable Response Objects, keyed by name and referenced from an operation's "
     "responses with $ref."},
    {"parameters", nullptr, Kind::property, 85, true, false,
     "Reusable parameters", "Map of Parameter Objects",
     "An object to hold reusable Parameter Objects, keyed by name and referenced from parameter lists with"
     " $ref."},
    {"examples", nullptr, Kind::property, 70, true, false,
     "Reusable examples", "Map of Example Objects",
     "An object to hold reusable Example Objects, keyed by name and referenced from examples maps with "
     "$ref."},
    {"requestBodies", nullptr, Kind::property, 80, true, false,
     "Reusable request bodies", "Map of Request Body Objects",
     "An object to hold reusable Request Body Objects, keyed by name and referenced from an operation's "
     "requestBody with $ref."},
    {"headers", nullptr, Kind::property, 75, true, false,
     "Reusable headers", "Map of Header Objects",
     "An object to hold reusable Header Objects, keyed by name and referenced from response or encoding "
     "headers with $ref."},
    {"securitySchemes", nullptr, Kind::property, 88, true, false,
     "Security scheme definitions", "Map of Security Scheme Objects",
     "An object to hold reusable Security Scheme Objects. Security requirements refer to these schemes by "
     "their names."},
    {"links", nullptr, Kind::property, 65, true, false,
     "Reusable links", "Map of Link Objects",
     "An object to hold reusable Link Objects, keyed by name and referenced from a response's links with "
     "$ref."},
    {"callbacks", nullptr, Kind::property, 60, true, false,
     "Reusable callbacks", "Map of Callback Objects",
     "An object to hold reusable Callback Objects, keyed by name and referenced from an operation's "
     "callbacks with $ref."},
    {"pathItems", nullptr, Kind::property, 55, true, false,
     "Reusable path items", "Map of Path Item Objects",
     "An object to hold reusable Path Item Objects. Define complete path definitions that can be "
     "referenced in paths or webhooks. New in OpenAPI 3.1."},
};
const std::span<const CompletionTableRow> componentsKeys{kComponentsKeys};

constexpr CompletionTableRow kSchemaKeys[] = {
    {"$ref", nullptr, Kind::link, 100, true, true,
     "Reference to schema", "String",
     "A reference to another schema by URI, such as '#/components/schemas/Pet'. In OpenAPI 3.1 sibling "
     "keywords apply alongside the reference; in 3.0 they are ignored."},
    {"type", nullptr, Kind::property, 99, true, true,
     "Data type", "String or Array",
     "The data type of the schema. In OpenAPI 3.1, can be a single type or an array of types (e.g., "
     "['string', 'null']). Values: string, number, integer, boolean, array, object, null."},
    {"title", nullptr, Kind::property, 70, true, true,
     "Schema title", "String",
     "A short title for the schema, used by documentation tools. It does not affect validation."},
    {"description", nullptr, Kind::property, 80, true, true,
     "Schema description", "String",
     "An explanation of the schema's purpose. CommonMark syntax may be used, and the text does not affect "
     "validation."},
    {"format", nullptr, Kind::property, 85, true, true,
     "Data format", "String",
     "Refines the type with a well-known format such as date-time, email, uuid, int64 or binary. Tools may"
     " validate it; unknown formats are ignored."},
    {"default", nullptr, Kind::property, 65, true, true,
     "Default value", "Any",
     "The value a consumer should assume when none is given. It should validate against the schema and "
     "does not fill in values by itself."},
    {"enum", nullptr, Kind::property, 75, true, false,
     "Enumerated values", "Array",
     "A list of the allowed values. An instance is valid only if it equals one of the listed values; the "
     "list should not be empty."},
    {"const", nullptr, Kind::property, 60, true, true,
     "Constant value", "Any",
     "Restricts the value to exactly one constant, equivalent to an enum with a single value. New in "
     "OpenAPI 3.1."},
    {"properties", nullptr, Kind::property, 95, true, false,
     "Object properties", "Map of Schema Objects",
     "A map of property names to the schemas of their values, for object instances. Properties not listed "
     "are governed by additionalProperties."},
    {"required", nullptr, Kind::property, 90, true, false,
     "Required properties", "Array of String",
     "A list of property names that an object instance must contain. Each name should appear only once in "
     "the list."},
    {"additionalProperties", nullptr, Kind::property, 55, true, false,
     "Additional properties schema", "Schema Object or Boolean",
     "A schema for properties not listed in properties, or false to forbid them. Defaults to allowing any "
     "additional property."},
    {"items", nullptr, Kind::property, 88, true, false,
     "Array items schema", "Schema Object",
     "The schema that every element of an array instance must match. Required when type is array in "
     "OpenAPI 3.0."},
    {"allOf", nullptr, Kind::property, 78, true, false,
     "All of composition", "Array of Schema Objects",
     "An instance must be valid against all of the listed schemas. Often used to combine or extend "
     "schemas."},
    {"oneOf", nullptr, Kind::property, 77, true, false,
     "One of composition", "Array of Schema Objects",
     "An instance must be valid against exactly one of the listed schemas. Often paired with a "
     "discriminator for polymorphism."},
    {"anyOf", nullptr, Kind::property, 76, true, false,
     "Any of composition", "Array of Schema Objects",
     "An instance must be valid against at least one of the listed schemas. Unlike oneOf, several may "
     "match at once."},
    {"not", nullptr, Kind::property, 50, true, false,
     "Not composition", "Schema Object",
     "An instance is valid only if it does not match the given schema. Useful to exclude a shape or a "
     "value."},
    {"nullable", nullptr, Kind::property, 40, true, true,
     "Allow null value", "Boolean (deprecated in 3.1)",
     "Deprecated in OpenAPI 3.1. In 3.1, use type: ['string', 'null'] instead. When true, allows null as a"
     " valid value for this schema."},
    {"discriminator", nullptr, Kind::property, 45, true, false,
     "Discriminator for polymorphism", "Discriminator Object",
     "Tells which schema of a oneOf, anyOf or allOf applies, by the value of a named property. Holds "
     "propertyName and an optional mapping."},
    {"readOnly", nullptr, Kind::property, 42, true, true,
     "Read-only flag", "Boolean",
     "When true, the property is sent in responses only and should not be sent in requests. Defaults to "
     "false; not to be true together with writeOnly."},
    {"writeOnly", nullptr, Kind::property, 41, true, true,
     "Write-only flag", "Boolean",
     "When true, the property is sent in requests only and should not be returned in responses. Defaults "
     "to false; not to be true together with readOnly."},
    {"example", nullptr, Kind::property, 68, true, true,
     "Example value", "Any",
     "A free-form example of an instance of this schema. Deprecated in OpenAPI 3.1 in favour of the "
     "examples keyword of JSON Schema."},
    {"examples", nullptr, Kind::property, 67, true, false,
     "Example values", "Array",
     "An array of example values that should validate against the schema, from JSON Schema 2020-12. New in"
     " OpenAPI 3.1."},
    {"deprecated", nullptr, Kind::property, 35, true, true,
     "Deprecation flag", "Boolean",
     "When true, the schema is deprecated and should be transitioned out of usage. Defaults to false."},
    {"xml", nullptr, Kind::property, 30, true, false,
     "XML representation", "XML Object",
     "Adds XML representation details to a property: element name, namespace, prefix, attribute and "
     "wrapping."},
    {"externalDocs", nullptr, Kind::property, 25, true, false,
     "External documentation", "External Documentation Object",
     "A link to additional external documentation for this schema, given as an External Documentation "
     "Object."},
    {"minLength", nullptr, Kind::property, 52, true, true,
     "Minimum string length", "Integer",
     "The minimum length of a string instance, counted in characters. A non-negative integer; defaults to "
     "0."},
    {"maxLength", nullptr, Kind::property, 51, true, true,
     "Maximum string length", "Integer",
     "The maximum length of a string instance, counted in characters. A non-negative integer."},
    {"pattern", nullptr, Kind::property, 48, true, true,
     "Regex pattern", "String (regex)",
     "A regular expression (ECMA-262 dialect) that a string instance must match. The pattern is not "
     "implicitly anchored."},
    {"minimum", nullptr, Kind::property, 54, true, true,
     "Minimum value", "Number",
     "The inclusive lower bound of a numeric instance: the value must be greater than or equal to this "
     "number."},
    {"maximum", nullptr, Kind::property, 53, true, true,
     "Maximum value", "Number",
     "The inclusive upper bound of a numeric instance: the value must be less than or equal to this "
     "number."},
    {"exclusiveMinimum", nullptr, Kind::property, 44, true, true,
     "Exclusive minimum", "Number",
     "A numeric instance is valid only if it is strictly greater than this value (exclusive lower bound). "
     "In JSON Schema draft 2020-12, this is a number, not a boolean."},
    {"exclusiveMaximum", nullptr, Kind::property, 43, true, true,
     "Exclusive maximum", "Number",
     "A numeric instance is valid only if it is strictly less than this value (exclusive upper bound). In "
     "JSON Schema draft 2020-12, this is a number, not a boolean."},
    {"multipleOf", nullptr, Kind::property, 38, true, true,
     "Multiple of value", "Number",
     "A numeric instance is valid only if dividing it by this value gives an integer. Must be a number "
     "strictly greater than 0."},
    {"minItems", nullptr, Kind::property, 47, true, true,
     "Minimum array items", "Integer",
     "The minimum number of elements of an array instance. A non-negative integer; defaults to 0."},
    {"maxItems", nullptr, Kind::property, 46, true, true,
     "Maximum array items", "Integer",
     "The maximum number of elements of an array instance. A non-negative integer."},
    {"uniqueItems", nullptr, Kind::property, 36, true, true,
     "Unique items flag", "Boolean",
     "When true, all elements of an array instance must be distinct. Defaults to false."},
    {"minProperties", nullptr, Kind::property, 33, true, true,
     "Minimum properties", "Integer",
     "The minimum number of properties of an object instance. A non-negative integer; defaults to 0."},
    {"maxProperties", nullptr, Kind::property, 32, true, true,
     "Maximum properties", "Integer",
     "The maximum number of properties of an object instance. A non-negative integer."},
};
const std::span<const CompletionTableRow> schemaKeys{kSchemaKeys};

constexpr CompletionTableRow kSchemaTypeValues[] = {
    {"string", nullptr, Kind::schema, 100, false, false,
     "String type", nullptr,
     "A text value. Combine with format, pattern, minLength and maxLength to narrow the accepted strings."},
    {"number", nullptr, Kind::schema, 90, false, false,
     "Number type (float)", nullptr,
     "Any numeric value, integer or fractional. Use format float or double to hint at the precision "
     "expected."},
    {"integer", nullptr, Kind::schema, 95, false, false,
     "Integer type", nullptr,
     "A whole number without a fractional part. Use format int32 or int64 to give its expected range."},
    {"boolean", nullptr, Kind::schema, 85, false, false,
     "Boolean type", nullptr,
     "A true or false value. Boolean schemas accept exactly the two JSON literals true and false."},
    {"array", nullptr, Kind::schema, 88, false, false,
     "Array type", nullptr,
     "An ordered list of values. Describe its elements with items, and its size with minItems and "
     "maxItems."},
    {"object", nullptr, Kind::schema, 92, false, false,
     "Object type", nullptr,
     "A map of named values. Describe its members with properties, required and additionalProperties."},
    {"null", nullptr, Kind::schema, 50, false, false,
     "Null type", nullptr,
     "Represents the absence of a value. In OpenAPI 3.1, combine with other types for nullable fields: "
     "type: ['string', 'null']."},
};
const std::span<const CompletionTableRow> schemaTypeValues{kSchemaTypeValues};

constexpr CompletionTableRow kSchemaFormatValues[] = {
    {"date", nullptr, Kind::value, 90, false, false,
     "Full date (RFC 3339)", nullptr,
     "A full date as defined by RFC 3339, section 5.6, such as 2024-05-17. Used with type string."},
    {"date-time", nullptr, Kind::value, 100, false, false,
     "Date and time (RFC 3339)", nullptr,
     "A date and time as defined by RFC 3339, section 5.6, such as 2024-05-17T10:30:00Z. Used with type "
     "string."},
    {"time", nullptr, Kind::value, 85, false, false,
     "Time (RFC 3339)", nullptr,
     "A time of day as defined by RFC 3339, such as 10:30:00Z. Used with type string; defined by JSON "
     "Schema 2020-12."},
    {"duration", nullptr, Kind::value, 60, false, false,
     "Duration (RFC 3339)", nullptr,
     "A duration as defined by RFC 3339, appendix A (ISO 8601 form), such as P3DT4H. Used with type "
     "string; defined by JSON Schema 2020-12."},
    {"email", nullptr, Kind::value, 88, false, false,
     "Email address", nullptr,
     "An Internet email address as defined by RFC 5321, section 4.1.2, such as user@example.com. Used with"
     " type string."},
    {"idn-email", nullptr, Kind::value, 55, false, false,
     "Internationalized email", nullptr,
     "An internationalized email address as defined by RFC 6531, which allows non-ASCII characters. Used "
     "with type string."},
    {"hostname", nullptr, Kind::value, 70, false, false,
     "Internet hostname", nullptr,
     "An Internet host name as defined by RFC 1123, section 2.1, such as api.example.com. Used with type "
     "string."},
    {"idn-hostname", nullptr, Kind::value, 50, false, false,
     "Internationalized hostname", nullptr,
     "An internationalized host name as defined by RFC 5890, which allows non-ASCII labels. Used with type"
     " string."},
    {"ipv4", nullptr, Kind::value, 75, false, false,
     "IPv4 address", nullptr,
     "An IPv4 address in dotted-quad notation as defined by RFC 2673, such as 192.168.0.1. Used with type "
     "string."},
    {"ipv6", nullptr, Kind::value, 74, false, false,
     "IPv6 address", nullptr,
     "An IPv6 address as defined by RFC 4291, section 2.2, such as 2001:db8::1. Used with type string."},
    {"uri", nullptr, Kind::value, 82, false, false,
     "URI (RFC 3986)", nullptr,
     "An absolute URI as defined by RFC 3986, including its scheme, such as https://example.com/a. Used "
     "with type string."},
    {"uri-reference", nullptr, Kind::value, 78, false, false,
     "URI reference", nullptr,
     "A URI reference as defined by RFC 3986: an absolute URI or a relative reference such as ../pets. "
     "Used with type string."},
    {"iri", nullptr, Kind::value, 45, false, false,
     "Internationalized URI", nullptr,
     "An internationalized resource identifier as defined by RFC 3987: an absolute URI that may contain "
     "non-ASCII characters. Used with type string."},
    {"iri-reference", nullptr, Kind::value, 44, false, false,
     "IRI reference", nullptr,
     "An internationalized resource identifier reference as defined by RFC 3987, absolute or relative. "
     "Used with type string."},
    {"uuid", nullptr, Kind::value, 86, false, false,
     "UUID", nullptr,
     "A universally unique identifier as defined by RFC 4122, such as "
     "3e4666bf-d5e5-4aa7-b8ce-cefe41c7568a. Used with type string."},
    {"uri-template", nullptr, Kind::value, 65, false, false,
     "URI template (RFC 6570)", nullptr,
     "A URI template as defined by RFC 6570, such as /users/{id}. Used with type string; defined by JSON "
     "Schema 2020-12."},
    {"json-pointer", nullptr, Kind::value, 40, false, false,
     "JSON Pointer (RFC 6901)", nullptr,
     "A JSON Pointer as defined by RFC 6901, such as /components/schemas/Pet. Used with type string."},
    {"relative-json-pointer", nullptr, Kind::value, 38, false, false,
     "Relative JSON Pointer", nullptr,
     "A relative JSON Pointer, which counts levels up from the current location before descending, such as"
     " 1/name. Used with type string."},
    {"regex", nullptr, Kind::value, 68, false, false,
     "Regular expression", nullptr,
     "A regular expression in the ECMA-262 dialect. Used with type string; defined by JSON Schema 2020-12."},
    {"password", nullptr, Kind::value, 80, false, false,
     "Password (UI hint)", nullptr,
     "A hint to user interfaces to obscure the value, such as with a masked input field. It adds no "
     "validation."},
    {"byte", nullptr, Kind::value, 72, false, false,
     "Base64 encoded", nullptr,
     "Base64-encoded characters as defined by RFC 4648, for binary data carried in a string. In OpenAPI "
     "3.1 prefer contentEncoding: base64."},
    {"binary", nullptr, Kind::value, 71, false, false,
     "Binary data", nullptr,
     "Any sequence of octets, such as a file upload. In OpenAPI 3.1 prefer contentMediaType, or an empty "
     "schema for binary content."},
    {"int32", nullptr, Kind::value, 92, false, false,
     "32-bit integer", nullptr,
     "A signed 32-bit integer, from -2147483648 to 2147483647. Used with type integer."},
    {"int64", nullptr, Kind::value, 91, false, false,
     "64-bit integer", nullptr,
     "A signed 64-bit integer, also known as long. Used with type integer for values beyond the 32-bit "
     "range."},
    {"float", nullptr, Kind::value, 83, false, false,
     "Float", nullptr,
     "A single-precision floating-point number as defined by IEEE 754. Used with type number."},
    {"double", nullptr, Kind::value, 84, false, false,
     "Double", nullptr,
     "A double-precision floating-point number as defined by IEEE 754. Used with type number."},
};
const std::span<const CompletionTableRow> schemaFormatValues{kSchemaFormatValues};

constexpr CompletionTableRow kSecuritySchemeTypeValues[] = {
    {"apiKey", nullptr, Kind::value, 100, false, false,
     "API key authentication", nullptr,
     "Authentication by an API key sent in a header, query parameter or cookie. Requires the name and in "
     "fields."},
    {"http", nullptr, Kind::value, 95, false, false,
     "HTTP authentication", nullptr,
     "HTTP authentication through the Authorization header, such as basic or bearer. Requires the scheme "
     "field."},
    {"mutualTLS", nullptr, Kind::value, 60, false, false,
     "Mutual TLS", nullptr,
     "Mutual TLS client certificate authentication. Both client and server authenticate with certificates."
     " New in OpenAPI 3.1."},
    {"oauth2", nullptr, Kind::value, 90, false, false,
     "OAuth 2.0", nullptr,
     "OAuth 2.0 authorization. Requires the flows field, which describes the supported flows with their "
     "URLs and scopes."},
    {"openIdConnect", nullptr, Kind::value, 85, false, false,
     "OpenID Connect", nullptr,
     "OpenID Connect discovery. Requires the openIdConnectUrl field pointing to the provider's discovery "
     "document."},
};
const std::span<const CompletionTableRow> securitySchemeTypeValues{kSecuritySchemeTypeValues};

} // namespace Carvex::OpenAPI31TableRows
