#include "kit/transform/PathTemplateNames.h"

namespace VoziZazIreTransform {

PathTemplateNames pathTemplateNamesOf(std::string_view pathKey) {
  PathTemplateNames names;
  (void)pathKey;
  return names;
}

}  // namespace VoziZazIreTransform
