#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ExampleDocuments.h"

namespace {

using namespace CarvexExampleTest;

// The example of the one operation (get /x) as "body=<json> params={name=<json>,...} responses={code=<json>,...}",
// in the result's order, or "error: " and the text.
std::string operationExample(const char* version, const std::string& operation, const ExampleGenerationOptions& options) {
  VoziZazIre::ParseResult result = parseDescription(
      version, "paths:\n  /x:\n    get:\n" + operation +
                   "components:\n  schemas:\n    Pet: {type: object, properties: {name: {type: string}}}\n"
                   "  responses:\n    Shared: {description: s, content: {text/plain: {schema: {type: string}}}}\n"
                   "  requestBodies:\n    Body: {content: {text/plain: {schema: {type: string}}}}\n");
  ExampleGenerator generator(options);
  try {
    OperationExampleResult example;
    if (const auto* document = result.document.v3_0()) {
      example = generator.generate(*(*document->paths)["/x"]->get, document->components.get());
    } else {
      const auto* document31 = result.document.v3_1();
      example = generator.generate(*(*document31->paths)["/x"]->get, document31->components.get());
    }
    auto json = [](const VoziZazIreCore::NodePtr& node) { return GenericNodeSerializer::toJSON(*node, false); };
    std::string text = "body=" + (example.requestBody ? json(example.requestBody) : std::string("none")) + " params={";
    for (const auto& [name, node] : example.parameters) text += name + "=" + json(node) + ",";
    text += "} responses={";
    for (const auto& [code, node] : example.responses) text += code + "=" + json(node) + ",";
    return text + "}";
  } catch (const ExampleGenerationError& error) {
    return std::string("error: ") + error.what();
  }
}

struct Row {
  const char* name;
  std::function<void(ExampleGenerationOptions&)> adjust;
  const char* operation;  // the operation's members, indented by six spaces
  const char* expected;
};

void runRows(const Row* rows, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const Row& row = rows[i];
    for (const char* version : {"3.0.3", "3.1.0"}) {
      ExampleGenerationOptions options = applicationOptions();
      row.adjust(options);
      EXPECT_EQ(operationExample(version, row.operation, options), row.expected) << row.name << " (" << version << ")";
    }
  }
}

std::function<void(ExampleGenerationOptions&)> responses(ResponseSelection selection) {
  return [selection](ExampleGenerationOptions& o) { o.responseSelection = selection; };
}
void keep(ExampleGenerationOptions&) {}
void preferJSON(ExampleGenerationOptions& o) { o.contentTypeSelection = ContentTypeSelection::preferJSON; }
void requiredParameters(ExampleGenerationOptions& o) { o.includeOptionalParameters = false; }
void provided(ExampleGenerationOptions& o) { o.useProvidedExamples = true; }

#define RESPONSE(code, value) "        '" code "': {description: d, content: {text/plain: {schema: {type: integer, default: " #value "}}}}\n"

TEST(OperationVisitor, ResponseSelection) {
  const Row rows[] = {
      {"prefer200 falls to default", responses(ResponseSelection::prefer200),
       "      responses:\n" RESPONSE("404", 4) RESPONSE("default", 0), "body=none params={} responses={default=0,}"},
      {"prefer200 falls to the first", responses(ResponseSelection::prefer200), "      responses:\n" RESPONSE("404", 4),
       "body=none params={} responses={404=4,}"},
      {"prefer200 hits a reference and stops", responses(ResponseSelection::prefer200),
       "      responses:\n        '200': {$ref: '#/components/responses/Shared'}\n" RESPONSE("201", 1),
       "body=none params={} responses={}"},
      {"prefer201", responses(ResponseSelection::prefer201), "      responses:\n" RESPONSE("200", 200) RESPONSE("201", 201),
       "body=none params={} responses={201=201,}"},
      {"preferDefault without default", responses(ResponseSelection::preferDefault),
       "      responses:\n" RESPONSE("404", 4) RESPONSE("200", 2), "body=none params={} responses={404=4,}"},
      {"firstDefined", responses(ResponseSelection::firstDefined),
       "      responses:\n" RESPONSE("500", 5) RESPONSE("200", 2), "body=none params={} responses={500=5,}"},
      {"all skips references and empty responses", responses(ResponseSelection::all),
       "      responses:\n" RESPONSE("500", 5) "        '204': {description: none}\n"
       "        '400': {$ref: '#/components/responses/Shared'}\n" RESPONSE("200", 2),
       "body=none params={} responses={500=5,200=2,}"},
  };
  runRows(rows, std::size(rows));
}

TEST(OperationVisitor, ContentParametersAndBodies) {
  const Row rows[] = {
      {"preferJSON takes application/json", preferJSON,
       "      requestBody:\n        content:\n          application/xml: {schema: {type: integer}}\n"
       "          application/json: {schema: {type: boolean}}\n      responses: {}\n",
       "body=true params={} responses={}"},
      {"preferJSON matches exactly", preferJSON,
       "      requestBody:\n        content:\n          application/json; charset=utf-8: {schema: {type: integer}}\n"
       "          text/plain: {schema: {type: boolean}}\n      responses: {}\n",
       "body=0 params={} responses={}"},
      {"firstDefined takes the first", keep,
       "      requestBody:\n        content:\n          application/xml: {schema: {type: integer}}\n"
       "          application/json: {schema: {type: boolean}}\n      responses: {}\n",
       "body=0 params={} responses={}"},
      {"body by reference gives none", keep, "      requestBody: {$ref: '#/components/requestBodies/Body'}\n      responses: {}\n",
       "body=none params={} responses={}"},
      {"body without schema gives none", keep, "      requestBody: {content: {text/plain: {}}}\n      responses: {}\n",
       "body=none params={} responses={}"},
      {"optional parameter included", keep,
       "      parameters:\n        - {name: q, in: query, schema: {type: integer}}\n        - {name: p, in: path, required: true, schema: {type: boolean}}\n"
       "      responses: {}\n",
       "body=none params={q=0,p=true,} responses={}"},
      {"optional parameter left out", requiredParameters,
       "      parameters:\n        - {name: q, in: query, schema: {type: integer}}\n        - {name: p, in: path, required: true, schema: {type: boolean}}\n"
       "      responses: {}\n",
       "body=none params={p=true,} responses={}"},
      {"two parameters of one name", keep,
       "      parameters:\n        - {name: id, in: header, schema: {type: integer}}\n        - {name: id, in: query, schema: {type: boolean}}\n"
       "      responses: {}\n",
       "body=none params={id=true,} responses={}"},
      {"parameter without schema or content", keep,
       "      parameters:\n        - {name: v, in: query}\n      responses: {}\n", "body=none params={v=\"value\",} responses={}"},
      {"parameter with content", keep,
       "      parameters:\n        - {name: c, in: query, content: {application/json: {schema: {$ref: '#/components/schemas/Pet'}}}}\n"
       "      responses: {}\n",
       "body=none params={c={\"name\":\"string\"},} responses={}"},
      {"parameter by reference skipped", keep,
       "      parameters:\n        - {$ref: '#/components/parameters/Nope'}\n      responses: {}\n",
       "body=none params={} responses={}"},
      {"walker error ends the call", keep,
       "      parameters:\n        - {name: ok, in: query, schema: {type: integer}}\n"
       "        - {name: bad, in: query, schema: {$ref: '#/components/schemas/Nope'}}\n      responses: {}\n",
       "error: Reference '#/components/schemas/Nope' not found at path: "},
  };
  runRows(rows, std::size(rows));
}

TEST(OperationVisitor, ProvidedExamples) {
  const char* operation =
      "      parameters:\n        - {name: p, in: query, example: 7, schema: {type: string}}\n"
      "      requestBody:\n        content:\n          application/json: {example: {a: 1}, schema: {type: boolean}}\n"
      "      responses:\n"
      "        '200': {description: d, content: {application/json: {examples: {first: {$ref: '#/components/examples/E'}, second: {value: 2}}, schema: {type: integer}}}}\n"
      "        '201': {description: d, content: {application/json: {examples: {only: {externalValue: 'https://example.com/x'}}, schema: {type: string}}}}\n"
      "        default: {description: d, content: {application/json: {examples: {one: {value: [1]}}, schema: {type: string}}}}\n";
  const Row rows[] = {
      {"provided examples used", [](ExampleGenerationOptions& o) { provided(o); o.responseSelection = ResponseSelection::all; },
       operation, "body={\"a\":1} params={p=7,} responses={200=0,201=\"string\",default=[1],}"},
      {"provided examples ignored", responses(ResponseSelection::all), operation,
       "body=true params={p=\"string\",} responses={200=0,201=\"string\",default=\"string\",}"},
  };
  runRows(rows, std::size(rows));
}

}  // namespace
