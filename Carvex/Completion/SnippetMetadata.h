#pragma once

#include <QString>

#include <cstddef>
#include <functional>

namespace Carvex {

// What a snippet proposal carries for its insertion.
struct SnippetMetadata {
    // The id of the snippet template.
    QString templateId;
    // True when only the template's body is inserted under a key that is already written.
    bool isBodyOnly = false;
    // The template's content, placeholders included.
    QString templateContent;
    // The template's OpenAPI version text.
    QString openAPIVersion;

    bool operator==(const SnippetMetadata& other) const = default;
    // Combines the four fields in order.
    std::size_t hash() const;
};

} // namespace Carvex

template<>
struct std::hash<Carvex::SnippetMetadata> {
    std::size_t operator()(const Carvex::SnippetMetadata& metadata) const { return metadata.hash(); }
};
