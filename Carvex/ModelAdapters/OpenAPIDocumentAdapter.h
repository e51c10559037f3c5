#pragma once

#include "Carvex/CaretContext/ReferenceKind.h"
#include "Carvex/ModelAdapters/ExampleAdapter.h"
#include "Carvex/ModelAdapters/HTTPMethod.h"
#include "Carvex/ModelAdapters/OperationAdapter.h"
#include "Carvex/ModelAdapters/ParameterAdapter.h"
#include "Carvex/ModelAdapters/PathItemAdapter.h"
#include "Carvex/ModelAdapters/RequestBodyAdapter.h"
#include "Carvex/ModelAdapters/ResponseAdapter.h"
#include "Carvex/ModelAdapters/SchemaAdapter.h"
#include "Carvex/ModelAdapters/SecurityRequirementAdapter.h"
#include "Carvex/ModelAdapters/ServerAdapter.h"
#include "kit/core/Reference.h"
#include "kit/core/SourceLocation.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Carvex {

// A whole document of either version: the one way the application reads a parsed description.
//
// Local references "#/components/<section>/<name>" are resolved one step: the reference text is split at
// every "/" with empty pieces dropped, the first three pieces must be "#", "components" and the section,
// the fourth is the name with its pointer escapes read ("a~1b" names "a/b", "a~0b" names "a~b"), as
// validation and the example generator read it; further pieces are ignored. A component that is itself a
// "$ref" resolves to nothing; references into other files are never loaded.
class OpenAPIDocumentAdapter {
public:
    struct PathOperation {
        std::string path;
        HTTPMethod method;
        std::shared_ptr<const OperationAdapter> operation;
    };

    virtual ~OpenAPIDocumentAdapter() = default;
    // The path templates in the order written.
    virtual std::vector<std::string> pathStrings() const = 0;
    // The path item stored under exactly `path`; null when there is none.
    virtual std::shared_ptr<const PathItemAdapter> pathItem(std::string_view path) const = 0;
    // Every operation of every path item, grouped by path in the order written.
    virtual std::vector<PathOperation> allOperations() const = 0;
    virtual std::shared_ptr<const ParameterAdapter> resolveParameter(const VoziZazIreCore::Reference& reference) const = 0;
    virtual std::shared_ptr<const RequestBodyAdapter>
    resolveRequestBody(const VoziZazIreCore::Reference& reference) const = 0;
    virtual std::shared_ptr<const ResponseAdapter> resolveResponse(const VoziZazIreCore::Reference& reference) const = 0;
    virtual std::shared_ptr<const SchemaAdapter> resolveSchema(const VoziZazIreCore::Reference& reference) const = 0;
    // Start offset of the named component's entry (of the "$ref" itself when the entry is one).
    virtual std::optional<int64_t> resolveSchemaLocation(const VoziZazIreCore::Reference& reference) const = 0;
    virtual std::optional<int64_t> resolveParameterLocation(const VoziZazIreCore::Reference& reference) const = 0;
    virtual std::optional<int64_t> resolveResponseLocation(const VoziZazIreCore::Reference& reference) const = 0;
    virtual std::optional<int64_t> resolveRequestBodyLocation(const VoziZazIreCore::Reference& reference) const = 0;
    virtual std::optional<int64_t> resolveHeaderLocation(const VoziZazIreCore::Reference& reference) const = 0;
    // The whole start (line, column and offset) of the same entries, for placing a caret by line and
    // column: the offsets above are in the parser's units, not the text's.
    virtual std::optional<VoziZazIreCore::SourceLocation>
    resolveSchemaSourceLocation(const VoziZazIreCore::Reference& reference) const = 0;
    virtual std::optional<VoziZazIreCore::SourceLocation>
    resolveParameterSourceLocation(const VoziZazIreCore::Reference& reference) const = 0;
    virtual std::optional<VoziZazIreCore::SourceLocation>
    resolveResponseSourceLocation(const VoziZazIreCore::Reference& reference) const = 0;
    virtual std::optional<VoziZazIreCore::SourceLocation>
    resolveRequestBodySourceLocation(const VoziZazIreCore::Reference& reference) const = 0;
    virtual std::optional<VoziZazIreCore::SourceLocation>
    resolveHeaderSourceLocation(const VoziZazIreCore::Reference& reference) const = 0;
    // The same two starts for the entry under the section of `kind` (any of the components sections); nothing
    // for `unknown`, a reference into another section, and "pathItems" in a 3.0 document, which has none.
    virtual std::optional<int64_t> resolveComponentLocation(ReferenceKind kind,
                                                            const VoziZazIreCore::Reference& reference) const = 0;
    virtual std::optional<VoziZazIreCore::SourceLocation>
    resolveComponentSourceLocation(ReferenceKind kind, const VoziZazIreCore::Reference& reference) const = 0;
    // Top-level servers; empty when absent.
    virtual std::vector<std::shared_ptr<const ServerAdapter>> servers() const = 0;
    // Top-level security requirements; empty when absent.
    virtual std::vector<std::shared_ptr<const SecurityRequirementAdapter>> security() const = 0;
    virtual std::shared_ptr<const ExampleAdapter> resolveExample(const VoziZazIreCore::Reference& reference) const = 0;
};

} // namespace Carvex
