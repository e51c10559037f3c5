#pragma once

#include "kit/core/ParseError.h"
#include "kit/facade/OpenApiParser.h"

#include <QString>
#include <QStringList>

#include <map>
#include <string>
#include <vector>

// Descriptions that host each built-in template under its trigger, in two-space YAML and in JSON,
// and the reader that checks the result.
namespace BuiltInTemplateHosts {

// Where a body is typed: the text before the trigger's line, the trigger's line up to the caret
// (its indentation and the trigger word), and the rest of the document.
struct Host {
    const char* before;
    const char* indent;
    const char* trigger;
    const char* after;
};

inline const char* const kYamlHead = "openapi: 3.0.3\ninfo:\n  title: T\n  version: '1'\n";
inline const char* const kYamlResponse200 = "paths:\n  /items:\n    get:\n      responses:\n        '200':\n";
inline const char* const kYamlSchemas = "paths: {}\ncomponents:\n  schemas:\n";
inline const char* const kYamlProperties = "paths: {}\ncomponents:\n  schemas:\n    Pet:\n      properties:\n";

inline const std::map<QString, Host>& yamlHosts() {
    static const std::map<QString, Host> hosts = {
        {"info", {"openapi: 3.0.3\n", "", "info:", "\npaths: {}\n"}},
        {"operation-get", {"paths:\n  /items:\n", "    ", "get:", "\n"}},
        {"operation-post", {"paths:\n  /items:\n", "    ", "post:", "\n"}},
        {"operation-put", {"paths:\n  /items:\n", "    ", "put:", "\n"}},
        {"operation-delete", {"paths:\n  /items:\n", "    ", "delete:", "\n"}},
        {"parameter", {"paths:\n  /items:\n    get:\n      parameters:\n", "        ", "-", "\n"}},
        {"parameter-full", {"paths:\n  /items:\n    get:\n      parameters:\n", "        ", "- name:", "\n"}},
        {"response", {"paths:\n  /items:\n    get:\n      responses:\n", "        ", "'200':", "\n"}},
        {"schema", {"paths: {}\ncomponents:\n  schemas:\n    Pet:\n", "      ", "schema:", "\n"}},
        {"request-body", {"paths:\n  /items:\n    post:\n", "      ", "requestBody:", "\n"}},
        {"security-scheme", {"paths: {}\ncomponents:\n", "  ", "securitySchemes:", "\n"}},
        {"server", {"servers:\n", "  ", "- url:", "\npaths: {}\n"}},
        {"schema-definition", {kYamlSchemas, "    ", "Pet:", "\n"}},
        {"schema-parameter",
         {"paths:\n  /items:\n    get:\n      parameters:\n        - name: id\n          in: query\n", "          ",
          "schema:", "\n"}},
        {"schema-response",
         {"paths:\n  /items:\n    get:\n      responses:\n        '200':\n          description: ok\n"
          "          content:\n            application/json:\n",
          "              ", "schema:", "\n"}},
        {"schema-requestbody",
         {"paths:\n  /items:\n    post:\n      requestBody:\n        content:\n          application/json:\n",
          "            ", "schema:", "\n"}},
        {"schema-header",
         {"paths:\n  /items:\n    get:\n      responses:\n        '200':\n          description: ok\n"
          "          headers:\n            X-Rate:\n",
          "              ", "schema:", "\n"}},
        {"schema-property", {kYamlProperties, "        ", "id:", "\n"}},
        {"schema-items", {"paths: {}\ncomponents:\n  schemas:\n    Pet:\n      properties:\n        tags:\n",
                          "          ", "items:", "\n"}},
        {"schema-inline", {kYamlResponse200, "          ", "schema:", "\n"}},
        {"tag-object", {"paths: {}\ntags:\n", "  ", "-", "\n"}},
        {"external-docs", {"paths: {}\n", "", "externalDocs:", "\n"}},
        {"response-definition", {"paths: {}\ncomponents:\n  responses:\n", "    ", "NotFound:", "\n"}},
        {"schema-enum", {kYamlSchemas, "    ", "Status:", "\n"}},
        {"schema-array", {kYamlSchemas, "    ", "Pets:", "\n"}},
        {"schema-allof", {kYamlSchemas, "    ", "Dog:", "\n"}},
        {"schema-object-type", {"paths: {}\ncomponents:\n  schemas:\n    Pet:\n", "      ", "type:", "\n"}},
        {"schema-array-type", {"paths: {}\ncomponents:\n  schemas:\n    Pet:\n", "      ", "type:", "\n"}},
        {"schema-string-enum", {"paths: {}\ncomponents:\n  schemas:\n    Pet:\n", "      ", "type:", "\n"}},
        {"schema-allof-composition", {"paths: {}\ncomponents:\n  schemas:\n    Pet:\n", "      ", "allOf:", "\n"}},
        {"schema-properties-block", {"paths: {}\ncomponents:\n  schemas:\n    Pet:\n", "      ", "properties:", "\n"}},
        {"operation-get-pagination", {"paths:\n  /items:\n", "    ", "get:", "\n"}},
        {"operation-get-by-id", {"paths:\n  /items/{id}:\n", "    ", "get:", "\n"}},
        {"response-error", {"paths: {}\ncomponents:\n  responses:\n", "    ", "Error:", "\n"}},
        {"response-paginated", {"paths: {}\ncomponents:\n  responses:\n", "    ", "Page:", "\n"}},
        {"property-string-validation", {kYamlProperties, "        ", "code:", "\n"}},
        {"property-array", {kYamlProperties, "        ", "tags:", "\n"}},
        {"property-ref", {kYamlProperties, "        ", "owner:", "\n"}},
    };
    return hosts;
}

inline const char* const kJsonHead = "{\n  \"openapi\": \"3.0.3\",\n  \"info\": {\"title\": \"T\", \"version\": \"1\"},\n";
inline const char* const kJsonSchemas = "  \"paths\": {},\n  \"components\": {\n    \"schemas\": {\n";
inline const char* const kJsonProperties =
    "  \"paths\": {},\n  \"components\": {\n    \"schemas\": {\n      \"Pet\": {\n        \"properties\": {\n";
inline const char* const kJsonCloseProperties = "\n        }\n      }\n    }\n  }\n}\n";

// JSON bodies that open an object of their own.
inline const std::map<QString, Host>& jsonHosts() {
    static const std::map<QString, Host> hosts = {
        {"operation-get", {"  \"paths\": {\n    \"/items\": {\n", "      ", "\"get\":", "\n    }\n  }\n}\n"}},
        {"operation-post", {"  \"paths\": {\n    \"/items\": {\n", "      ", "\"post\":", "\n    }\n  }\n}\n"}},
        {"operation-put", {"  \"paths\": {\n    \"/items\": {\n", "      ", "\"put\":", "\n    }\n  }\n}\n"}},
        {"operation-delete", {"  \"paths\": {\n    \"/items\": {\n", "      ", "\"delete\":", "\n    }\n  }\n}\n"}},
        {"server", {"  \"paths\": {},\n  \"servers\": [\n", "    ", "", "\n  ]\n}\n"}},
        {"schema-definition", {kJsonSchemas, "      ", "\"Pet\":", "\n    }\n  }\n}\n"}},
        {"schema-property", {kJsonProperties, "          ", "\"id\":", kJsonCloseProperties}},
        {"tag-object", {"  \"paths\": {},\n  \"tags\": [\n", "    ", "", "\n  ]\n}\n"}},
        {"external-docs", {"  \"paths\": {},\n", "  ", "\"externalDocs\":", "\n}\n"}},
        {"response-definition",
         {"  \"paths\": {},\n  \"components\": {\n    \"responses\": {\n", "      ", "\"NotFound\":", "\n    }\n  }\n}\n"}},
        {"schema-enum", {kJsonSchemas, "      ", "\"Status\":", "\n    }\n  }\n}\n"}},
        {"schema-array", {kJsonSchemas, "      ", "\"Pets\":", "\n    }\n  }\n}\n"}},
        {"schema-allof", {kJsonSchemas, "      ", "\"Dog\":", "\n    }\n  }\n}\n"}},
        {"operation-get-pagination", {"  \"paths\": {\n    \"/items\": {\n", "      ", "\"get\":", "\n    }\n  }\n}\n"}},
        {"operation-get-by-id", {"  \"paths\": {\n    \"/items/{id}\": {\n", "      ", "\"get\":", "\n    }\n  }\n}\n"}},
        {"response-error",
         {"  \"paths\": {},\n  \"components\": {\n    \"responses\": {\n", "      ", "\"Error\":", "\n    }\n  }\n}\n"}},
        {"response-paginated",
         {"  \"paths\": {},\n  \"components\": {\n    \"responses\": {\n", "      ", "\"Page\":", "\n    }\n  }\n}\n"}},
        {"property-string-validation", {kJsonProperties, "          ", "\"code\":", kJsonCloseProperties}},
        {"property-array", {kJsonProperties, "          ", "\"tags\":", kJsonCloseProperties}},
        {"property-ref", {kJsonProperties, "          ", "\"owner\":", kJsonCloseProperties}},
    };
    return hosts;
}

// The message of the parse error the document raises, or "" when it reads.
inline std::string parseErrorOf(const QString& document, VoziZazIre::Format format) {
    try {
        (void)VoziZazIre::OpenApiParser().parse(document.toStdString(), format, VoziZazIreCore::ValidationLevel::none);
    } catch (const VoziZazIreCore::ParseError& error) {
        return error.what();
    } catch (const std::exception&) {
        // A transform error: the text reads, the description is merely incomplete.
    }
    return {};
}

// Two-space YAML with four spaces per level; the keys of a list item stay two columns after its
// dash, where YAML wants them.
inline QString fourSpaced(const QString& yaml) {
    struct Level {
        qsizetype from;
        qsizetype to;
    };
    std::vector<Level> levels;
    QStringList out;
    for (const QString& line : yaml.split(u'\n')) {
        qsizetype column = 0;
        while (column < line.size() && line[column] == u' ') ++column;
        if (column == line.size()) {
            out << line;
            continue;
        }
        while (!levels.empty() && levels.back().from > column) levels.pop_back();
        if (levels.empty() || levels.back().from != column) {
            levels.push_back({column, levels.empty() ? 2 * column : levels.back().to + 2 * (column - levels.back().from)});
        }
        const qsizetype to = levels.back().to;
        if (line.sliced(column).startsWith(u"- ")) levels.push_back({column + 2, to + 2});
        out << QString(to, u' ') + line.sliced(column);
    }
    return out.join(u'\n');
}

}  // namespace BuiltInTemplateHosts
