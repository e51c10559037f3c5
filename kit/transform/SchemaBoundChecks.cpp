#include "kit/transform/SchemaBoundChecks.h"

namespace VoziZazIreTransform {

using VoziZazIreCore::GenericNode;

template <class V>
void checkSchemaBounds(const GenericNode&, TransformContext&) {}

bool regexPatternCompiles(std::string_view) { return true; }

template void checkSchemaBounds<Version30>(const GenericNode&, TransformContext&);
template void checkSchemaBounds<Version31>(const GenericNode&, TransformContext&);

}  // namespace VoziZazIreTransform
