#pragma once
// A description whose operations hold every kind of example source: named, media-type and schema examples,
// quoted status codes, references to components (some of which are references themselves), a media type
// without schema and a schema nested deeper than example generation goes.

namespace ExampleTestDocument {

inline const char* const kDocument = R"(paths:
  /pets:
    post:
      requestBody:
        content:
          application/json:
            schema: {$ref: '#/components/schemas/Pet'}
            example: {ignored: true}
            examples:
              b: {value: 2}
              a: {summary: S, description: D, value: 1}
              r: {$ref: '#/components/examples/R'}
              gone: {$ref: '#/components/examples/Gone'}
              ext: {externalValue: 'https://example.com/x'}
          application/xml: {schema: {type: object, required: [n], properties: {n: {type: integer, example: 7}}}}
      responses:
        "'200'": {description: ok, content: {application/json: {example: {x: 1}, schema: {type: string, example: s}}}}
        '"201"': {description: created, content: {application/json: {schema: {$ref: '#/components/schemas/WithExample'}}}}
        '404': {description: not found}
        default: {$ref: '#/components/responses/Err'}
  /external:
    get:
      responses:
        '200':
          description: ok
          content:
            application/json: {example: 5, examples: {only: {externalValue: 'https://x'}}, schema: {type: integer, example: 3}}
  /aliases:
    put:
      requestBody: {$ref: '#/components/requestBodies/Alias'}
      responses:
        '200': {$ref: '#/components/responses/AliasResponse'}
        '202': {description: empty, content: {application/json: {}}}
        "'203'": {description: quoted, content: {application/json: {schema: {type: boolean}}}}
  /deep:
    get:
      responses:
        '200': {description: ok, content: {application/json: {schema: {$ref: '#/components/schemas/Deep'}}}}
  /nothing:
    delete:
      responses:
        '204': {description: gone}
components:
  schemas:
    Pet: {type: object, required: [id], properties: {id: {type: integer, example: 42}, name: {type: string, example: Rex}}}
    WithExample: {type: object, example: {w: true}}
    Deep: {type: object, required: [a], properties: {a: {type: object, required: [b], properties: {b: {type: object, required: [c], properties: {c: {type: object, required: [d], properties: {d: {type: object, required: [e], properties: {e: {type: object, required: [f], properties: {f: {type: object, required: [g], properties: {g: {type: object, required: [h], properties: {h: {type: object, required: [i], properties: {i: {type: object, required: [j], properties: {j: {type: object, required: [k], properties: {k: {type: object, required: [l], properties: {l: {type: string}}}}}}}}}}}}}}}}}}}}}}}}}
  examples:
    R: {value: [1, 2]}
  responses:
    Err: {description: e, content: {application/problem+json: {schema: {type: object, required: [code], properties: {code: {type: integer, example: 9}}}}}}
    AliasResponse: {$ref: '#/components/responses/Err'}
  requestBodies:
    Alias: {$ref: '#/components/requestBodies/Real'}
    Real: {content: {application/json: {schema: {type: string}}}}
)";

} // namespace ExampleTestDocument
