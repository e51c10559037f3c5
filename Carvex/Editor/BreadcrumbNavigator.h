#pragma once

#include "Carvex/CaretContext/PathComponent.h"

#include <QStringView>

#include <optional>
#include <vector>

namespace Carvex {

// Finds where a breadcrumb path points in a document's text: the UTF-16 offset at which the last
// component is written, or nothing when the text holds no such place.
struct BreadcrumbNavigator {
    // A key is found at its opening quote among the members of the container found for the
    // component before it; an index right after the comma that ends the element before it (right
    // after the bracket for index 0). An index past the container's last element finds nothing.
    static std::optional<qsizetype> findJSONPosition(const std::vector<PathComponent>& path, QStringView text);

    // A key is found at its first character on a line indented at least as deep as the previous
    // component's children, written plain or in quotes, inside the previous component's block; an
    // index at the dash of that item of the first sequence under the previous component. A key
    // right after an index is looked for on the item's dash line first ("- name: a").
    static std::optional<qsizetype> findYAMLPosition(const std::vector<PathComponent>& path, QStringView text);
};

} // namespace Carvex
