#include "Carvex/Completion/GrammarContext.h"

#include <QHash>

#include <array>

namespace Carvex {

namespace {

constexpr std::array<std::string_view, GrammarContext::caseCount> kCaseNames{
    "openAPIRoot",
    "infoObject",
    "contactObject",
    "licenseObject",
    "serversArray",
    "serverObject",
    "serverVariableObject",
    "pathsObject",
    "pathItemObject",
    "operationObject",
    "parametersArray",
    "parameterObject",
    "requestBodyObject",
    "contentObject",
    "mediaTypeObject",
    "responsesObject",
    "responseObject",
    "headersObject",
    "headerObject",
    "linksObject",
    "linkObject",
    "callbacksObject",
    "callbackObject",
    "componentsObject",
    "componentSchemas",
    "componentResponses",
    "componentParameters",
    "componentExamples",
    "componentRequestBodies",
    "componentHeaders",
    "componentSecuritySchemes",
    "componentLinks",
    "componentCallbacks",
    "componentPathItems",
    "schemaObject",
    "schemaProperties",
    "schemaItems",
    "examplesObject",
    "exampleObject",
    "securityRequirementObject",
    "securitySchemeObject",
    "oAuthFlowsObject",
    "oAuthFlowObject",
    "externalDocsObject",
    "tagsArray",
    "tagObject",
    "discriminatorObject",
    "xmlObject",
    "referenceObject",
    "unknown",
};

} // namespace

std::size_t GrammarContext::hash() const
{
    std::size_t seed = qHash(static_cast<int>(case_));
    if (case_ == Case::parameterObject) {
        seed = qHashMulti(seed, location_.has_value());
        if (location_) {
            const std::string_view raw = rawValue(*location_);
            seed = qHashMulti(seed, QByteArrayView(raw.data(), static_cast<qsizetype>(raw.size())));
        }
    }
    return seed;
}

std::string_view caseName(GrammarContext::Case value)
{
    const auto index = static_cast<std::size_t>(value);
    return index < kCaseNames.size() ? kCaseNames[index] : kCaseNames.back();
}

} // namespace Carvex
