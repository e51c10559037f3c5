#pragma once

#include "Carvex/ModelAdapters/RefOrValue.h"
#include "kit/core/AnyValue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Carvex {

// A schema of either version. References inside it are handed over unresolved.
class SchemaAdapter {
public:
    struct Property {
        std::string name;
        RefOrValue<SchemaAdapter> schema;
    };

    virtual ~SchemaAdapter() = default;
    // Start line of the schema object.
    virtual std::optional<int64_t> sourceLine() const = 0;
    // The type text shown for the schema: "integer | null", "array[Pet]", "oneOf", "any".
    virtual std::string typeDescription() const = 0;
    virtual std::optional<std::string> format() const = 0;
    // The compact text of `default`.
    virtual std::optional<std::string> defaultValue() const = 0;
    // The compact text of each `enum` member, in order.
    virtual std::optional<std::vector<std::string>> enumDisplayValues() const = 0;
    virtual std::optional<RefOrValue<SchemaAdapter>> items() const = 0;
    // True when allOf, anyOf or oneOf is present (even empty).
    virtual bool isComposition() const = 0;
    // "allOf", "anyOf" or "oneOf", the first present in that order.
    virtual std::optional<std::string> compositionType() const = 0;
    // Sorted by name in plain string order.
    virtual std::optional<std::vector<Property>> properties() const = 0;
    // `required` as written, order and repeats kept.
    virtual std::optional<std::vector<std::string>> requiredProperties() const = 0;
    virtual bool isNullable() const = 0;
    virtual bool isReadOnly() const = 0;
    virtual bool isWriteOnly() const = 0;
    virtual bool isDeprecated() const = 0;
    virtual std::optional<std::string> title() const = 0;
    virtual std::optional<std::string> schemaDescription() const = 0;
    virtual std::optional<std::vector<RefOrValue<SchemaAdapter>>> allOf() const = 0;
    virtual std::optional<std::vector<RefOrValue<SchemaAdapter>>> anyOf() const = 0;
    virtual std::optional<std::vector<RefOrValue<SchemaAdapter>>> oneOf() const = 0;
    // True for a schema-valued additionalProperties, the flag for a boolean one, absent when absent.
    virtual std::optional<bool> additionalPropertiesAllowed() const = 0;
    virtual std::optional<RefOrValue<SchemaAdapter>> additionalPropertiesSchema() const = 0;
    // The single `example` (3.0 schemas only).
    virtual std::optional<VoziZazIreCore::AnyValue> exampleValue() const = 0;
    // The `examples` array (3.1 schemas only).
    virtual std::optional<std::vector<VoziZazIreCore::AnyValue>> exampleValues() const = 0;
};

} // namespace Carvex
