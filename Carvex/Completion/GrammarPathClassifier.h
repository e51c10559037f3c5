#pragma once

#include "Carvex/CaretContext/PathComponent.h"
#include "Carvex/Completion/GrammarContext.h"
#include "Carvex/Completion/OpenAPIVersion.h"
#include "Carvex/CaretContext/ReferenceKind.h"

#include <QStringView>

#include <optional>
#include <vector>

namespace Carvex {

// The path classification and reference-kind lookup that both grammars share; the version decides
// the 3.1 additions ("webhooks" at the root, "pathItems" among the components). The walks loop over
// the path, so no path is too long to classify.
namespace GrammarPathClassifier {

GrammarContext classify(const std::vector<PathComponent>& path, OpenAPIVersion version);

// The kind of component a `$ref` in these contexts points to: the first context that is not
// neutral decides; none when every context is neutral.
std::optional<ReferenceKind> expectedReferenceKind(const std::vector<GrammarContext>& contexts);

// One of the eight HTTP method names, in lower case only.
bool isHttpMethod(QStringView key);

} // namespace GrammarPathClassifier

} // namespace Carvex
