#include "Carvex/Snippets/BuiltInTemplateTable.h"

namespace Carvex::BuiltInTemplateTable {

const std::vector<BuiltInTemplateRow>& rows() {
    static const std::vector<BuiltInTemplateRow> table = {
        // 1
        {.id = "info",
         .name = "Info Object",
         .yamlTriggerKeywords = {"info:"},
         .jsonTriggerKeywords = {"info:"},
         .requiredParent = nullptr,
         .immediateParent = nullptr,
         .minIndentLevel = 0,
         .depthScore = 1,
         .yamlBody = "info:\n"
                     "  title: ${1:API Title}\n"
                     "  version: ${2:1.0.0}\n"
                     "  description: ${3:API description}",
         .jsonBody = "\"info\": {\n"
                     "  \"title\": \"${1:API Title}\",\n"
                     "  \"version\": \"${2:1.0.0}\",\n"
                     "  \"description\": \"${3:API description}\"\n"
                     "}"},
        // 2
        {.id = "operation-get",
         .name = "GET Operation",
         .yamlTriggerKeywords = {"get:", "get :"},
         .jsonTriggerKeywords = {"get:", "get :"},
         .requiredParent = "paths",
         .immediateParent = nullptr,
         .minIndentLevel = 2,
         .depthScore = 3,
         .yamlBody = "\n"
                     "  summary: ${1:Get items}\n"
                     "  operationId: ${2:getItems}\n"
                     "  tags:\n"
                     "    - ${3:tag}\n"
                     "  responses:\n"
                     "    '200':\n"
                     "      description: ${4:Successful response}",
         .jsonBody = " {\n"
                     "  \"summary\": \"${1:Get items}\",\n"
                     "  \"operationId\": \"${2:getItems}\",\n"
                     "  \"tags\": [\"${3:tag}\"],\n"
                     "  \"responses\": {\n"
                     "    \"200\": {\n"
                     "      \"description\": \"${4:Successful response}\"\n"
                     "    }\n"
                     "  }\n"
                     "}"},
        // 3
        {.id = "operation-post",
         .name = "POST Operation",
         .yamlTriggerKeywords = {"post:", "post :"},
         .jsonTriggerKeywords = {"post:", "post :"},
         .requiredParent = "paths",
         .immediateParent = nullptr,
         .minIndentLevel = 2,
         .depthScore = 3,
         .yamlBody = "\n"
                     "  summary: ${1:Create item}\n"
                     "  operationId: ${2:createItem}\n"
                     "  tags:\n"
                     "    - ${3:tag}\n"
                     "  requestBody:\n"
                     "    required: true\n"
                     "    content:\n"
                     "      application/json:\n"
                     "        schema:\n"
                     "          $ref: '${4:#/components/schemas/Item}'\n"
                     "  responses:\n"
                     "    '201':\n"
                     "      description: ${5:Created successfully}",
         .jsonBody = " {\n"
                     "  \"summary\": \"${1:Create item}\",\n"
                     "  \"operationId\": \"${2:createItem}\",\n"
                     "  \"tags\": [\"${3:tag}\"],\n"
                     "  \"requestBody\": {\n"
                     "    \"required\": true,\n"
                     "    \"content\": {\n"
                     "      \"application/json\": {\n"
                     "        \"schema\": {\n"
                     "          \"$ref\": \"${4:#/components/schemas/Item}\"\n"
                     "        }\n"
                     "      }\n"
                     "    }\n"
                     "  },\n"
                     "  \"responses\": {\n"
                     "    \"201\": {\n"
                     "      \"description\": \"${5:Created successfully}\"\n"
                     "    }\n"
                     "  }\n"
                     "}"},
        // 4
        {.id = "operation-put",
         .name = "PUT Operation",
         .yamlTriggerKeywords = {"put:", "put :"},
         .jsonTriggerKeywords = {"put:", "put :"},
         .requiredParent = "paths",
         .immediateParent = nullptr,
         .minIndentLevel = 2,
         .depthScore = 3,
         .yamlBody = "\n"
                     "  summary: ${1:Update item}\n"
                     "  operationId: ${2:updateItem}\n"
                     "  tags:\n"
                     "    - ${3:tag}\n"
                     "  requestBody:\n"
                     "    required: true\n"
                     "    content:\n"
                     "      application/json:\n"
                     "        schema:\n"
                     "          $ref: '${4:#/components/schemas/Item}'\n"
                     "  responses:\n"
                     "    '200':\n"
                     "      description: ${5:Updated successfully}",
         .jsonBody = " {\n"
                     "  \"summary\": \"${1:Update item}\",\n"
                     "  \"operationId\": \"${2:updateItem}\",\n"
                     "  \"tags\": [\"${3:tag}\"],\n"
                     "  \"requestBody\": {\n"
                     "    \"required\": true,\n"
                     "    \"content\": {\n"
                     "      \"application/json\": {\n"
                     "        \"schema\": {\n"
                     "          \"$ref\": \"${4:#/components/schemas/Item}\"\n"
                     "        }\n"
                     "      }\n"
                     "    }\n"
                     "  },\n"
                     "  \"responses\": {\n"
                     "    \"200\": {\n"
                     "      \"description\": \"${5:Updated successfully}\"\n"
                     "    }\n"
                     "  }\n"
                     "}"},
        // 5
        {.id = "operation-delete",
         .name = "DELETE Operation",
         .yamlTriggerKeywords = {"delete:", "delete :"},
         .jsonTriggerKeywords = {"delete:", "delete :"},
         .requiredParent = "paths",
         .immediateParent = nullptr,
         .minIndentLevel = 2,
         .depthScore = 3,
         .yamlBody = "\n"
                     "  summary: ${1:Delete item}\n"
                     "  operationId: ${2:deleteItem}\n"
                     "  tags:\n"
                     "    - ${3:tag}\n"
                     "  responses:\n"
                     "    '204':\n"
                     "      description: ${4:Deleted successfully}",
         .jsonBody = " {\n"
                     "  \"summary\": \"${1:Delete item}\",\n"
                     "  \"operationId\": \"${2:deleteItem}\",\n"
                     "  \"tags\": [\"${3:tag}\"],\n"
                     "  \"responses\": {\n"
                     "    \"204\": {\n"
                     "      \"description\": \"${4:Deleted successfully}\"\n"
                     "    }\n"
                     "  }\n"
                     "}"},
        // 6
        {.id = "parameter",
         .name = "Parameter",
         .yamlTriggerKeywords = {"-"},
         .jsonTriggerKeywords = {"{"},
         .requiredParent = "parameters",
         .immediateParent = nullptr,
         .minIndentLevel = 3,
         .depthScore = 4,
         .yamlBody = " name: ${1:paramName}\n"
                     "in: ${2:query}\n"
                     "description: ${3:Parameter description}\n"
                     "required: ${4:false}\n"
                     "schema:\n"
                     "  type: ${5:string}",
         .jsonBody = "\n"
                     "  \"name\": \"${1:paramName}\",\n"
                     "  \"in\": \"${2:query}\",\n"
                     "  \"description\": \"${3:Parameter description}\",\n"
                     "  \"required\": ${4:false},\n"
                     "  \"schema\": {\n"
                     "    \"type\": \"${5:string}\"\n"
                     "  }\n"
                     "}"},
        // 7
        {.id = "parameter-full",
         .name = "Full Parameter",
         .yamlTriggerKeywords = {"name:", "name :"},
         .jsonTriggerKeywords = {"name:", "name :"},
         .requiredParent = "parameters",
         .immediateParent = nullptr,
         .minIndentLevel = 4,
         .depthScore = 4,
         .yamlBody = "name: ${1:paramName}\n"
                     "in: ${2:query}\n"
                     "description: ${3:Parameter description}\n"
                     "required: ${4:false}\n"
                     "schema:\n"
                     "  type: ${5:string}",
         .jsonBody = "\"name\": \"${1:paramName}\",\n"
                     "\"in\": \"${2:query}\",\n"
                     "\"description\": \"${3:Parameter description}\",\n"
                     "\"required\": ${4:false},\n"
                     "\"schema\": {\n"
                     "  \"type\": \"${5:string}\"\n"
                     "}"},
        // 8
        {.id = "response",
         .name = "Response",
         .yamlTriggerKeywords = {"'200':", "'201':", "'204':", "'400':", "'401':", "'404':", "'500':"},
         .jsonTriggerKeywords = {"'200':", "'201':", "'204':", "'400':", "'401':", "'404':", "'500':"},
         .requiredParent = "responses",
         .immediateParent = nullptr,
         .minIndentLevel = 4,
         .depthScore = 5,
         .yamlBody = "\n"
                     "      description: ${1:Response description}\n"
                     "      content:\n"
                     "        application/json:\n"
                     "          schema:\n"
                     "            $ref: '${2:#/components/schemas/Response}'",
         .jsonBody = "\n"
                     "      \"description\": \"${1:Response description}\",\n"
                     "      \"content\": {\n"
                     "        \"application/json\": {\n"
                     "          \"schema\": {\n"
                     "            \"$ref\": \"${2:#/components/schemas/Response}\"\n"
                     "          }\n"
                     "        }\n"
                     "      }"},
        // 9
        {.id = "schema",
         .name = "Schema Object",
         .yamlTriggerKeywords = {"schema:", "schema :"},
         .jsonTriggerKeywords = {"schema:", "schema :"},
         .requiredParent = "schemas",
         .immediateParent = nullptr,
         .minIndentLevel = 3,
         .depthScore = 4,
         .yamlBody = "\n"
                     "      type: ${1:object}\n"
                     "      properties:\n"
                     "        ${2:propertyName}:\n"
                     "          type: ${3:string}\n"
                     "          description: ${4:Property description}",
         .jsonBody = "\n"
                     "      \"type\": \"${1:object}\",\n"
                     "      \"properties\": {\n"
                     "        \"${2:propertyName}\": {\n"
                     "          \"type\": \"${3:string}\",\n"
                     "          \"description\": \"${4:Property description}\"\n"
                     "        }\n"
                     "      }"},
        // 10
        {.id = "request-body",
         .name = "Request Body",
         .yamlTriggerKeywords = {"requestBody:", "requestBody :"},
         .jsonTriggerKeywords = {"requestBody:", "requestBody :"},
         .requiredParent = "paths",
         .immediateParent = nullptr,
         .minIndentLevel = 3,
         .depthScore = 4,
         .yamlBody = "\n"
                     "    required: ${1:true}\n"
                     "    content:\n"
                     "      application/json:\n"
                     "        schema:\n"
                     "          $ref: '${2:#/components/schemas/Request}'",
         .jsonBody = "\n"
                     "    \"required\": ${1:true},\n"
                     "    \"content\": {\n"
                     "      \"application/json\": {\n"
                     "        \"schema\": {\n"
                     "          \"$ref\": \"${2:#/components/schemas/Request}\"\n"
                     "        }\n"
                     "      }\n"
                     "    }"},
        // 11
        {.id = "security-scheme",
         .name = "Security Scheme",
         .yamlTriggerKeywords = {"securitySchemes:", "securitySchemes :"},
         .jsonTriggerKeywords = {"securitySchemes:", "securitySchemes :"},
         .requiredParent = "components",
         .immediateParent = nullptr,
         .minIndentLevel = 2,
         .depthScore = 3,
         .yamlBody = "\n"
                     "    ${1:bearerAuth}:\n"
                     "      type: ${2:http}\n"
                     "      scheme: ${3:bearer}\n"
                     "      bearerFormat: ${4:JWT}",
         .jsonBody = "\n"
                     "    \"${1:bearerAuth}\": {\n"
                     "      \"type\": \"${2:http}\",\n"
                     "      \"scheme\": \"${3:bearer}\",\n"
                     "      \"bearerFormat\": \"${4:JWT}\"\n"
                     "    }"},
        // 12
        {.id = "server",
         .name = "Server",
         .yamlTriggerKeywords = {"- url:", "- url :"},
         .jsonTriggerKeywords = {"- url:", "- url :"},
         .requiredParent = "servers",
         .immediateParent = nullptr,
         .minIndentLevel = 1,
         .depthScore = 2,
         .yamlBody = " ${1:https://api.example.com/v1}\n"
                     "    description: ${2:Production server}",
         .jsonBody = "{\n"
                     "    \"url\": \"${1:https://api.example.com/v1}\",\n"
                     "    \"description\": \"${2:Production server}\"\n"
                     "  }"},
        // 13
        {.id = "schema-definition",
         .name = "Schema Definition",
         .yamlTriggerKeywords = {":"},
         .jsonTriggerKeywords = {":"},
         .requiredParent = nullptr,
         .immediateParent = "schemas",
         .minIndentLevel = 3,
         .depthScore = 10,
         .yamlBody = "\n"
                     "    type: ${1:object}\n"
                     "    description: ${2:Schema description}\n"
                     "    properties:\n"
                     "      ${3:id}:\n"
                     "        type: ${4:integer}\n"
                     "        format: ${5:int64}\n"
                     "        description: ${6:Unique identifier}\n"
                     "      ${7:name}:\n"
                     "        type: ${8:string}\n"
                     "        description: ${9:Name}\n"
                     "    required:\n"
                     "      - ${10:id}",
         .jsonBody = " {\n"
                     "    \"type\": \"${1:object}\",\n"
                     "    \"description\": \"${2:Schema description}\",\n"
                     "    \"properties\": {\n"
                     "      \"${3:id}\": {\n"
                     "        \"type\": \"${4:integer}\",\n"
                     "        \"format\": \"${5:int64}\",\n"
                     "        \"description\": \"${6:Unique identifier}\"\n"
                     "      },\n"
                     "      \"${7:name}\": {\n"
                     "        \"type\": \"${8:string}\",\n"
                     "        \"description\": \"${9:Name}\"\n"
                     "      }\n"
                     "    },\n"
                     "    \"required\": [\"${10:id}\"]\n"
                     "  }"},
        // 14
        {.id = "schema-parameter",
         .name = "Parameter Schema",
         .yamlTriggerKeywords = {"schema:", "schema :"},
         .jsonTriggerKeywords = {"schema:", "schema :"},
         .requiredParent = "parameters",
         .immediateParent = nullptr,
         .minIndentLevel = 4,
         .depthScore = 7,
         .yamlBody = "\n"
                     "      type: ${1:string}\n"
                     "      format: ${2:uuid}\n"
                     "      description: ${3:Parameter value}",
         .jsonBody = "\n"
                     "      \"type\": \"${1:string}\",\n"
                     "      \"format\": \"${2:uuid}\",\n"
                     "      \"description\": \"${3:Parameter value}\""},
        // 15
        {.id = "schema-response",
         .name = "Response Schema",
         .yamlTriggerKeywords = {"schema:", "schema :"},
         .jsonTriggerKeywords = {"schema:", "schema :"},
         .requiredParent = "responses",
         .immediateParent = nullptr,
         .minIndentLevel = 5,
         .depthScore = 8,
         .yamlBody = "\n"
                     "          type: ${1:object}\n"
                     "          properties:\n"
                     "            ${2:data}:\n"
                     "              type: ${3:array}\n"
                     "              items:\n"
                     "                $ref: '${4:#/components/schemas/Item}'\n"
                     "            ${5:meta}:\n"
                     "              type: object\n"
                     "              properties:\n"
                     "                total:\n"
                     "                  type: integer",
         .jsonBody = "\n"
                     "          \"type\": \"${1:object}\",\n"
                     "          \"properties\": {\n"
                     "            \"${2:data}\": {\n"
                     "              \"type\": \"${3:array}\",\n"
                     "              \"items\": {\n"
                     "                \"$ref\": \"${4:#/components/schemas/Item}\"\n"
                     "              }\n"
                     "            },\n"
                     "            \"${5:meta}\": {\n"
                     "              \"type\": \"object\",\n"
                     "              \"properties\": {\n"
                     "                \"total\": {\n"
                     "                  \"type\": \"integer\"\n"
                     "                }\n"
                     "              }\n"
                     "            }\n"
                     "          }"},
        // 16
        {.id = "schema-requestbody",
         .name = "RequestBody Schema",
         .yamlTriggerKeywords = {"schema:", "schema :"},
         .jsonTriggerKeywords = {"schema:", "schema :"},
         .requiredParent = "requestBody",
         .immediateParent = nullptr,
         .minIndentLevel = 4,
         .depthScore = 7,
         .yamlBody = "\n"
                     "        type: ${1:object}\n"
                     "        properties:\n"
                     "          ${2:name}:\n"
                     "            type: ${3:string}\n"
                     "            description: ${4:Name}\n"
                     "            minLength: ${5:1}\n"
                     "            maxLength: ${6:100}\n"
                     "          ${7:email}:\n"
                     "            type: string\n"
                     "            format: email\n"
                     "            description: ${8:Email address}\n"
                     "        required:\n"
                     "          - ${9:name}",
         .jsonBody = "\n"
                     "        \"type\": \"${1:object}\",\n"
                     "        \"properties\": {\n"
                     "          \"${2:name}\": {\n"
                     "            \"type\": \"${3:string}\",\n"
                     "            \"description\": \"${4:Name}\",\n"
                     "            \"minLength\": ${5:1},\n"
                     "            \"maxLength\": ${6:100}\n"
                     "          },\n"
                     "          \"${7:email}\": {\n"
                     "            \"type\": \"string\",\n"
                     "            \"format\": \"email\",\n"
                     "            \"description\": \"${8:Email address}\"\n"
                     "          }\n"
                     "        },\n"
                     "        \"required\": [\"${9:name}\"]"},
        // 17
        {.id = "schema-header",
         .name = "Header Schema",
         .yamlTriggerKeywords = {"schema:", "schema :"},
         .jsonTriggerKeywords = {"schema:", "schema :"},
         .requiredParent = "headers",
         .immediateParent = nullptr,
         .minIndentLevel = 4,
         .depthScore = 7,
         .yamlBody = "\n"
                     "      type: ${1:string}\n"
                     "      format: ${2:uuid}\n"
                     "      example: ${3:123e4567-e89b-12d3-a456-426614174000}",
         .jsonBody = "\n"
                     "      \"type\": \"${1:string}\",\n"
                     "      \"format\": \"${2:uuid}\",\n"
                     "      \"example\": \"${3:123e4567-e89b-12d3-a456-426614174000}\""},
        // 18
        {.id = "schema-property",
         .name = "Property Schema",
         .yamlTriggerKeywords = {":"},
         .jsonTriggerKeywords = {":"},
         .requiredParent = nullptr,
         .immediateParent = "properties",
         .minIndentLevel = 5,
         .depthScore = 6,
         .yamlBody = "\n"
                     "          type: ${1:string}\n"
                     "          format: ${2:uuid}\n"
                     "          description: ${3:Property description}",
         .jsonBody = " {\n"
                     "          \"type\": \"${1:string}\",\n"
                     "          \"format\": \"${2:uuid}\",\n"
                     "          \"description\": \"${3:Property description}\"\n"
                     "        }"},
        // 19
        {.id = "schema-items",
         .name = "Array Items Schema",
         .yamlTriggerKeywords = {"items:", "items :"},
         .jsonTriggerKeywords = {"items:", "items :"},
         .requiredParent = "properties",
         .immediateParent = nullptr,
         .minIndentLevel = 5,
         .depthScore = 6,
         .yamlBody = "\n"
                     "            type: ${1:object}\n"
                     "            properties:\n"
                     "              ${2:id}:\n"
                     "                type: ${3:integer}",
         .jsonBody = "\n"
                     "            \"type\": \"${1:object}\",\n"
                     "            \"properties\": {\n"
                     "              \"${2:id}\": {\n"
                     "                \"type\": \"${3:integer}\"\n"
                     "              }\n"
                     "            }"},
        // 20
        {.id = "schema-inline",
         .name = "Inline Schema",
         .yamlTriggerKeywords = {"schema:", "schema :"},
         .jsonTriggerKeywords = {"schema:", "schema :"},
         .requiredParent = nullptr,
         .immediateParent = nullptr,
         .minIndentLevel = 2,
         .depthScore = 1,
         .yamlBody = "\n"
                     "  type: ${1:object}\n"
                     "  properties:\n"
                     "    ${2:property}:\n"
                     "      type: ${3:string}",
         .jsonBody = "\n"
                     "  \"type\": \"${1:object}\",\n"
                     "  \"properties\": {\n"
                     "    \"${2:property}\": {\n"
                     "      \"type\": \"${3:string}\"\n"
                     "    }\n"
                     "  }"},
        // 21
        {.id = "tag-object",
         .name = "Tag Object",
         .yamlTriggerKeywords = {"-"},
         .jsonTriggerKeywords = {"-"},
         .requiredParent = nullptr,
         .immediateParent = "tags",
         .minIndentLevel = 1,
         .depthScore = 5,
         .yamlBody = " name: ${1:tagName}\n"
                     "description: ${2:Tag description}\n"
                     "externalDocs:\n"
                     "  url: ${3:https://docs.example.com}\n"
                     "  description: ${4:External documentation}",
         .jsonBody = "{\n"
                     "    \"name\": \"${1:tagName}\",\n"
                     "    \"description\": \"${2:Tag description}\",\n"
                     "    \"externalDocs\": {\n"
                     "      \"url\": \"${3:https://docs.example.com}\",\n"
                     "      \"description\": \"${4:External documentation}\"\n"
                     "    }\n"
                     "  }",
         // Only the root's tags are tag objects: an operation's tags are plain names.
         .rootParent = "tags"},
        // 22
        {.id = "external-docs",
         .name = "External Documentation",
         .yamlTriggerKeywords = {"externalDocs:", "externalDocs :"},
         .jsonTriggerKeywords = {"externalDocs:", "externalDocs :"},
         .requiredParent = nullptr,
         .immediateParent = nullptr,
         .minIndentLevel = 1,
         .depthScore = 3,
         .yamlBody = "\n"
                     "  url: ${1:https://docs.example.com}\n"
                     "  description: ${2:External documentation}",
         .jsonBody = " {\n"
                     "  \"url\": \"${1:https://docs.example.com}\",\n"
                     "  \"description\": \"${2:External documentation}\"\n"
                     "}"},
        // 23
        {.id = "response-definition",
         .name = "Response Definition",
         .yamlTriggerKeywords = {":"},
         .jsonTriggerKeywords = {":"},
         .requiredParent = "components",
         .immediateParent = "responses",
         .minIndentLevel = 3,
         .depthScore = 10,
         .yamlBody = "\n"
                     "    description: ${1:Response description}\n"
                     "    content:\n"
                     "      application/json:\n"
                     "        schema:\n"
                     "          type: ${2:object}\n"
                     "          properties:\n"
                     "            ${3:data}:\n"
                     "              type: ${4:string}",
         .jsonBody = " {\n"
                     "    \"description\": \"${1:Response description}\",\n"
                     "    \"content\": {\n"
                     "      \"application/json\": {\n"
                     "        \"schema\": {\n"
                     "          \"type\": \"${2:object}\",\n"
                     "          \"properties\": {\n"
                     "            \"${3:data}\": {\n"
                     "              \"type\": \"${4:string}\"\n"
                     "            }\n"
                     "          }\n"
                     "        }\n"
                     "      }\n"
                     "    }\n"
                     "  }"},
        // 24
        {.id = "schema-enum",
         .name = "Schema with Enum",
         .yamlTriggerKeywords = {":"},
         .jsonTriggerKeywords = {":"},
         .requiredParent = nullptr,
         .immediateParent = "schemas",
         .minIndentLevel = 3,
         .depthScore = 10,
         .yamlBody = "\n"
                     "    type: ${1:string}\n"
                     "    description: ${2:Enumerated value}\n"
                     "    enum:\n"
                     "      - ${3:value1}\n"
                     "      - ${4:value2}\n"
                     "      - ${5:value3}",
         .jsonBody = " {\n"
                     "    \"type\": \"${1:string}\",\n"
                     "    \"description\": \"${2:Enumerated value}\",\n"
                     "    \"enum\": [\"${3:value1}\", \"${4:value2}\", \"${5:value3}\"]\n"
                     "  }"},
        // 25
        {.id = "schema-array",
         .name = "Schema with Array",
         .yamlTriggerKeywords = {":"},
         .jsonTriggerKeywords = {":"},
         .requiredParent = nullptr,
         .immediateParent = "schemas",
         .minIndentLevel = 3,
         .depthScore = 10,
         .yamlBody = "\n"
                     "    type: array\n"
                     "    description: ${1:Array description}\n"
                     "    items:\n"
                     "      $ref: '${2:#/components/schemas/Item}'\n"
                     "    minItems: ${3:0}\n"
                     "    maxItems: ${4:100}",
         .jsonBody = " {\n"
                     "    \"type\": \"array\",\n"
                     "    \"description\": \"${1:Array description}\",\n"
                     "    \"items\": {\n"
                     "      \"$ref\": \"${2:#/components/schemas/Item}\"\n"
                     "    },\n"
                     "    \"minItems\": ${3:0},\n"
                     "    \"maxItems\": ${4:100}\n"
                     "  }"},
        // 26
        {.id = "schema-allof",
         .name = "Schema with allOf",
         .yamlTriggerKeywords = {":"},
         .jsonTriggerKeywords = {":"},
         .requiredParent = nullptr,
         .immediateParent = "schemas",
         .minIndentLevel = 3,
         .depthScore = 10,
         .yamlBody = "\n"
                     "    description: ${1:Combined schema}\n"
                     "    allOf:\n"
                     "      - $ref: '${2:#/components/schemas/Base}'\n"
                     "      - type: object\n"
                     "        properties:\n"
                     "          ${3:additionalProp}:\n"
                     "            type: ${4:string}",
         .jsonBody = " {\n"
                     "    \"description\": \"${1:Combined schema}\",\n"
                     "    \"allOf\": [\n"
                     "      { \"$ref\": \"${2:#/components/schemas/Base}\" },\n"
                     "      {\n"
                     "        \"type\": \"object\",\n"
                     "        \"properties\": {\n"
                     "          \"${3:additionalProp}\": {\n"
                     "            \"type\": \"${4:string}\"\n"
                     "          }\n"
                     "        }\n"
                     "      }\n"
                     "    ]\n"
                     "  }"},
        // 27
        {.id = "schema-object-type",
         .name = "Object with Properties",
         .yamlTriggerKeywords = {"type:", "type :"},
         .jsonTriggerKeywords = {"type:", "type :"},
         .requiredParent = "schemas",
         .immediateParent = nullptr,
         .minIndentLevel = 3,
         .depthScore = 8,
         .yamlBody = "type: object\n"
                     "description: ${1:Object description}\n"
                     "properties:\n"
                     "  ${2:id}:\n"
                     "    type: ${3:integer}\n"
                     "    format: ${4:int64}\n"
                     "    description: ${5:Unique identifier}\n"
                     "  ${6:name}:\n"
                     "    type: ${7:string}\n"
                     "    description: ${8:Name}\n"
                     "required:\n"
                     "  - ${9:id}",
         .jsonBody = "\"type\": \"object\",\n"
                     "\"description\": \"${1:Object description}\",\n"
                     "\"properties\": {\n"
                     "  \"${2:id}\": {\n"
                     "    \"type\": \"${3:integer}\",\n"
                     "    \"format\": \"${4:int64}\",\n"
                     "    \"description\": \"${5:Unique identifier}\"\n"
                     "  },\n"
                     "  \"${6:name}\": {\n"
                     "    \"type\": \"${7:string}\",\n"
                     "    \"description\": \"${8:Name}\"\n"
                     "  }\n"
                     "},\n"
                     "\"required\": [\"${9:id}\"]"},
        // 28
        {.id = "schema-array-type",
         .name = "Array with Items",
         .yamlTriggerKeywords = {"type:", "type :"},
         .jsonTriggerKeywords = {"type:", "type :"},
         .requiredParent = "schemas",
         .immediateParent = nullptr,
         .minIndentLevel = 3,
         .depthScore = 8,
         .yamlBody = "type: array\n"
                     "description: ${1:Array description}\n"
                     "items:\n"
                     "  $ref: '${2:#/components/schemas/Item}'\n"
                     "minItems: ${3:0}",
         .jsonBody = "\"type\": \"array\",\n"
                     "\"description\": \"${1:Array description}\",\n"
                     "\"items\": {\n"
                     "  \"$ref\": \"${2:#/components/schemas/Item}\"\n"
                     "},\n"
                     "\"minItems\": ${3:0}"},
        // 29
        {.id = "schema-string-enum",
         .name = "String with Enum",
         .yamlTriggerKeywords = {"type:", "type :"},
         .jsonTriggerKeywords = {"type:", "type :"},
         .requiredParent = "schemas",
         .immediateParent = nullptr,
         .minIndentLevel = 3,
         .depthScore = 8,
         .yamlBody = "type: string\n"
                     "description: ${1:Enumerated value}\n"
                     "enum:\n"
                     "  - ${2:value1}\n"
                     "  - ${3:value2}\n"
                     "  - ${4:value3}",
         .jsonBody = "\"type\": \"string\",\n"
                     "\"description\": \"${1:Enumerated value}\",\n"
                     "\"enum\": [\"${2:value1}\", \"${3:value2}\", \"${4:value3}\"]"},
        // 30
        {.id = "schema-allof-composition",
         .name = "allOf Composition",
         .yamlTriggerKeywords = {"allOf:", "allOf :"},
         .jsonTriggerKeywords = {"allOf:", "allOf :"},
         .requiredParent = "schemas",
         .immediateParent = nullptr,
         .minIndentLevel = 3,
         .depthScore = 8,
         .yamlBody = "allOf:\n"
                     "  - $ref: '${1:#/components/schemas/Base}'\n"
                     "  - type: object\n"
                     "    properties:\n"
                     "      ${2:additionalProp}:\n"
                     "        type: ${3:string}",
         .jsonBody = "\"allOf\": [\n"
                     "  { \"$ref\": \"${1:#/components/schemas/Base}\" },\n"
                     "  {\n"
                     "    \"type\": \"object\",\n"
                     "    \"properties\": {\n"
                     "      \"${2:additionalProp}\": {\n"
                     "        \"type\": \"${3:string}\"\n"
                     "      }\n"
                     "    }\n"
                     "  }\n"
                     "]"},
        // 31
        {.id = "schema-properties-block",
         .name = "Properties Block",
         .yamlTriggerKeywords = {"properties:", "properties :"},
         .jsonTriggerKeywords = {"properties:", "properties :"},
         .requiredParent = "schemas",
         .immediateParent = nullptr,
         .minIndentLevel = 3,
         .depthScore = 8,
         .yamlBody = "properties:\n"
                     "  ${1:id}:\n"
                     "    type: ${2:integer}\n"
                     "    format: ${3:int64}\n"
                     "    description: ${4:Unique identifier}\n"
                     "  ${5:name}:\n"
                     "    type: ${6:string}\n"
                     "    description: ${7:Display name}\n"
                     "required:\n"
                     "  - ${8:id}",
         .jsonBody = "\"properties\": {\n"
                     "  \"${1:id}\": {\n"
                     "    \"type\": \"${2:integer}\",\n"
                     "    \"format\": \"${3:int64}\",\n"
                     "    \"description\": \"${4:Unique identifier}\"\n"
                     "  },\n"
                     "  \"${5:name}\": {\n"
                     "    \"type\": \"${6:string}\",\n"
                     "    \"description\": \"${7:Display name}\"\n"
                     "  }\n"
                     "},\n"
                     "\"required\": [\"${8:id}\"]"},
        // 32
        {.id = "operation-get-pagination",
         .name = "GET with Pagination",
         .yamlTriggerKeywords = {"get:", "get :"},
         .jsonTriggerKeywords = {"get:", "get :"},
         .requiredParent = "paths",
         .immediateParent = nullptr,
         .minIndentLevel = 2,
         .depthScore = 3,
         .yamlBody = "\n"
                     "  summary: ${1:List items with pagination}\n"
                     "  operationId: ${2:listItems}\n"
                     "  tags:\n"
                     "    - ${3:tag}\n"
                     "  parameters:\n"
                     "    - name: page\n"
                     "      in: query\n"
                     "      description: Page number\n"
                     "      schema:\n"
                     "        type: integer\n"
                     "        minimum: 1\n"
                     "        default: 1\n"
                     "    - name: limit\n"
                     "      in: query\n"
                     "      description: Items per page\n"
                     "      schema:\n"
                     "        type: integer\n"
                     "        minimum: 1\n"
                     "        maximum: 100\n"
                     "        default: 20\n"
                     "  responses:\n"
                     "    '200':\n"
                     "      description: ${4:Paginated list}\n"
                     "      content:\n"
                     "        application/json:\n"
                     "          schema:\n"
                     "            type: object\n"
                     "            properties:\n"
                     "              data:\n"
                     "                type: array\n"
                     "                items:\n"
                     "                  $ref: '${5:#/components/schemas/Item}'\n"
                     "              total:\n"
                     "                type: integer\n"
                     "              page:\n"
                     "                type: integer\n"
                     "              limit:\n"
                     "                type: integer",
         .jsonBody = " {\n"
                     "  \"summary\": \"${1:List items with pagination}\",\n"
                     "  \"operationId\": \"${2:listItems}\",\n"
                     "  \"tags\": [\"${3:tag}\"],\n"
                     "  \"parameters\": [\n"
                     "    {\n"
                     "      \"name\": \"page\",\n"
                     "      \"in\": \"query\",\n"
                     "      \"description\": \"Page number\",\n"
                     "      \"schema\": { \"type\": \"integer\", \"minimum\": 1, \"default\": 1 }\n"
                     "    },\n"
                     "    {\n"
                     "      \"name\": \"limit\",\n"
                     "      \"in\": \"query\",\n"
                     "      \"description\": \"Items per page\",\n"
                     "      \"schema\": { \"type\": \"integer\", \"minimum\": 1, \"maximum\": 100, \"default\": 20 }\n"
                     "    }\n"
                     "  ],\n"
                     "  \"responses\": {\n"
                     "    \"200\": {\n"
                     "      \"description\": \"${4:Paginated list}\",\n"
                     "      \"content\": {\n"
                     "        \"application/json\": {\n"
                     "          \"schema\": {\n"
                     "            \"type\": \"object\",\n"
                     "            \"properties\": {\n"
                     "              \"data\": {\n"
                     "                \"type\": \"array\",\n"
                     "                \"items\": { \"$ref\": \"${5:#/components/schemas/Item}\" }\n"
                     "              },\n"
                     "              \"total\": { \"type\": \"integer\" },\n"
                     "              \"page\": { \"type\": \"integer\" },\n"
                     "              \"limit\": { \"type\": \"integer\" }\n"
                     "            }\n"
                     "          }\n"
                     "        }\n"
                     "      }\n"
                     "    }\n"
                     "  }\n"
                     "}"},
        // 33
        {.id = "operation-get-by-id",
         .name = "GET by ID",
         .yamlTriggerKeywords = {"get:", "get :"},
         .jsonTriggerKeywords = {"get:", "get :"},
         .requiredParent = "paths",
         .immediateParent = nullptr,
         .minIndentLevel = 2,
         .depthScore = 3,
         .yamlBody = "\n"
                     "  summary: ${1:Get item by ID}\n"
                     "  operationId: ${2:getItemById}\n"
                     "  tags:\n"
                     "    - ${3:tag}\n"
                     "  parameters:\n"
                     "    - name: ${4:id}\n"
                     "      in: path\n"
                     "      required: true\n"
                     "      description: ${5:Item identifier}\n"
                     "      schema:\n"
                     "        type: ${6:string}\n"
                     "        format: ${7:uuid}\n"
                     "  responses:\n"
                     "    '200':\n"
                     "      description: ${8:Item found}\n"
                     "      content:\n"
                     "        application/json:\n"
                     "          schema:\n"
                     "            $ref: '${9:#/components/schemas/Item}'\n"
                     "    '404':\n"
                     "      description: Item not found",
         .jsonBody = " {\n"
                     "  \"summary\": \"${1:Get item by ID}\",\n"
                     "  \"operationId\": \"${2:getItemById}\",\n"
                     "  \"tags\": [\"${3:tag}\"],\n"
                     "  \"parameters\": [\n"
                     "    {\n"
                     "      \"name\": \"${4:id}\",\n"
                     "      \"in\": \"path\",\n"
                     "      \"required\": true,\n"
                     "      \"description\": \"${5:Item identifier}\",\n"
                     "      \"schema\": { \"type\": \"${6:string}\", \"format\": \"${7:uuid}\" }\n"
                     "    }\n"
                     "  ],\n"
                     "  \"responses\": {\n"
                     "    \"200\": {\n"
                     "      \"description\": \"${8:Item found}\",\n"
                     "      \"content\": {\n"
                     "        \"application/json\": {\n"
                     "          \"schema\": { \"$ref\": \"${9:#/components/schemas/Item}\" }\n"
                     "        }\n"
                     "      }\n"
                     "    },\n"
                     "    \"404\": {\n"
                     "      \"description\": \"Item not found\"\n"
                     "    }\n"
                     "  }\n"
                     "}"},
        // 34
        {.id = "response-error",
         .name = "Error Response",
         .yamlTriggerKeywords = {":"},
         .jsonTriggerKeywords = {":"},
         .requiredParent = "components",
         .immediateParent = "responses",
         .minIndentLevel = 3,
         .depthScore = 10,
         .yamlBody = "\n"
                     "    description: ${1:Error response}\n"
                     "    content:\n"
                     "      application/json:\n"
                     "        schema:\n"
                     "          type: object\n"
                     "          properties:\n"
                     "            code:\n"
                     "              type: integer\n"
                     "              description: Error code\n"
                     "            message:\n"
                     "              type: string\n"
                     "              description: ${2:Error message}\n"
                     "            details:\n"
                     "              type: string\n"
                     "              description: Additional error details\n"
                     "          required:\n"
                     "            - code\n"
                     "            - message",
         .jsonBody = " {\n"
                     "    \"description\": \"${1:Error response}\",\n"
                     "    \"content\": {\n"
                     "      \"application/json\": {\n"
                     "        \"schema\": {\n"
                     "          \"type\": \"object\",\n"
                     "          \"properties\": {\n"
                     "            \"code\": { \"type\": \"integer\", \"description\": \"Error code\" },\n"
                     "            \"message\": { \"type\": \"string\", \"description\": \"${2:Error message}\" },\n"
                     "            \"details\": { \"type\": \"string\", \"description\": \"Additional error details\" }\n"
                     "          },\n"
                     "          \"required\": [\"code\", \"message\"]\n"
                     "        }\n"
                     "      }\n"
                     "    }\n"
                     "  }"},
        // 35
        {.id = "response-paginated",
         .name = "Paginated Response",
         .yamlTriggerKeywords = {":"},
         .jsonTriggerKeywords = {":"},
         .requiredParent = "components",
         .immediateParent = "responses",
         .minIndentLevel = 3,
         .depthScore = 10,
         .yamlBody = "\n"
                     "    description: ${1:Paginated response}\n"
                     "    content:\n"
                     "      application/json:\n"
                     "        schema:\n"
                     "          type: object\n"
                     "          properties:\n"
                     "            data:\n"
                     "              type: array\n"
                     "              items:\n"
                     "                $ref: '${2:#/components/schemas/Item}'\n"
                     "            total:\n"
                     "              type: integer\n"
                     "            page:\n"
                     "              type: integer\n"
                     "            limit:\n"
                     "              type: integer",
         .jsonBody = " {\n"
                     "    \"description\": \"${1:Paginated response}\",\n"
                     "    \"content\": {\n"
                     "      \"application/json\": {\n"
                     "        \"schema\": {\n"
                     "          \"type\": \"object\",\n"
                     "          \"properties\": {\n"
                     "            \"data\": {\n"
                     "              \"type\": \"array\",\n"
                     "              \"items\": { \"$ref\": \"${2:#/components/schemas/Item}\" }\n"
                     "            },\n"
                     "            \"total\": { \"type\": \"integer\" },\n"
                     "            \"page\": { \"type\": \"integer\" },\n"
                     "            \"limit\": { \"type\": \"integer\" }\n"
                     "          }\n"
                     "        }\n"
                     "      }\n"
                     "    }\n"
                     "  }"},
        // 36
        {.id = "property-string-validation",
         .name = "String with Validation",
         .yamlTriggerKeywords = {":"},
         .jsonTriggerKeywords = {":"},
         .requiredParent = nullptr,
         .immediateParent = "properties",
         .minIndentLevel = 5,
         .depthScore = 6,
         .yamlBody = "\n"
                     "          type: string\n"
                     "          description: ${1:Property description}\n"
                     "          minLength: ${2:1}\n"
                     "          maxLength: ${3:255}\n"
                     "          pattern: ${4:^[a-zA-Z0-9]+$}",
         .jsonBody = " {\n"
                     "          \"type\": \"string\",\n"
                     "          \"description\": \"${1:Property description}\",\n"
                     "          \"minLength\": ${2:1},\n"
                     "          \"maxLength\": ${3:255},\n"
                     "          \"pattern\": \"${4:^[a-zA-Z0-9]+$}\"\n"
                     "        }"},
        // 37
        {.id = "property-array",
         .name = "Array Property",
         .yamlTriggerKeywords = {":"},
         .jsonTriggerKeywords = {":"},
         .requiredParent = nullptr,
         .immediateParent = "properties",
         .minIndentLevel = 5,
         .depthScore = 6,
         .yamlBody = "\n"
                     "          type: array\n"
                     "          description: ${1:Array property}\n"
                     "          items:\n"
                     "            type: ${2:string}\n"
                     "          minItems: ${3:0}",
         .jsonBody = " {\n"
                     "          \"type\": \"array\",\n"
                     "          \"description\": \"${1:Array property}\",\n"
                     "          \"items\": { \"type\": \"${2:string}\" },\n"
                     "          \"minItems\": ${3:0}\n"
                     "        }"},
        // 38
        {.id = "property-ref",
         .name = "Reference Property",
         .yamlTriggerKeywords = {":"},
         .jsonTriggerKeywords = {":"},
         .requiredParent = nullptr,
         .immediateParent = "properties",
         .minIndentLevel = 5,
         .depthScore = 6,
         .yamlBody = "\n"
                     "          $ref: '${1:#/components/schemas/Referenced}'",
         .jsonBody = " {\n"
                     "          \"$ref\": \"${1:#/components/schemas/Referenced}\"\n"
                     "        }"},
    };
    return table;
}

}  // namespace Carvex::BuiltInTemplateTable
