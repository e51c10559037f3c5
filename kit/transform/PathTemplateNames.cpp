#include "kit/transform/PathTemplateNames.h"

#include "kit/transform/DocumentTextChecks.h"

namespace VoziZazIreTransform {

PathTemplateNames pathTemplateNamesOf(std::string_view pathKey) {
  PathTemplateNames names;
  for (std::string& name : DocumentTextChecks::templateNames(pathKey)) names.insert(std::move(name));
  return names;
}

}  // namespace VoziZazIreTransform
