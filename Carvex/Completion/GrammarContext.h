#pragma once

#include "Carvex/Completion/ParameterLocation.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace Carvex {

// The kind of place in an OpenAPI document where the caret stands. One case, parameterObject,
// carries an optional parameter location; every other case carries nothing. A case converts
// implicitly, so `context == GrammarContext::Case::infoObject` reads as it should.
class GrammarContext {
public:
    enum class Case : std::uint8_t {
        openAPIRoot,
        infoObject,
        contactObject,
        licenseObject,
        serversArray,
        serverObject,
        serverVariableObject,
        pathsObject,
        pathItemObject,
        operationObject,
        parametersArray,
        parameterObject,
        requestBodyObject,
        contentObject,
        mediaTypeObject,
        responsesObject,
        responseObject,
        headersObject,
        headerObject,
        linksObject,
        linkObject,
        callbacksObject,
        callbackObject,
        componentsObject,
        componentSchemas,
        componentResponses,
        componentParameters,
        componentExamples,
        componentRequestBodies,
        componentHeaders,
        componentSecuritySchemes,
        componentLinks,
        componentCallbacks,
        componentPathItems,
        schemaObject,
        schemaProperties,
        schemaItems,
        examplesObject,
        exampleObject,
        securityRequirementObject,
        securitySchemeObject,
        oAuthFlowsObject,
        oAuthFlowObject,
        externalDocsObject,
        tagsArray,
        tagObject,
        discriminatorObject,
        xmlObject,
        referenceObject,
        unknown,
    };
    static constexpr int caseCount = 50;

    constexpr GrammarContext(Case value) : case_(value) {}
    static constexpr GrammarContext parameterObject(std::optional<ParameterLocation> location)
    {
        GrammarContext context(Case::parameterObject);
        context.location_ = location;
        return context;
    }

    constexpr Case kind() const { return case_; }
    // The parameter's location; always none for cases other than parameterObject.
    constexpr std::optional<ParameterLocation> location() const { return location_; }

    // Same case and, for parameterObject, equal locations (none equals only none).
    constexpr bool operator==(const GrammarContext& other) const = default;
    // Combines the case's position and, for parameterObject, the presence and raw value of the location.
    std::size_t hash() const;

private:
    Case case_;
    std::optional<ParameterLocation> location_;
};

// The case's name as declared ("parameterObject" whatever the location).
std::string_view caseName(GrammarContext::Case value);

} // namespace Carvex

template<>
struct std::hash<Carvex::GrammarContext> {
    std::size_t operator()(const Carvex::GrammarContext& context) const { return context.hash(); }
};
