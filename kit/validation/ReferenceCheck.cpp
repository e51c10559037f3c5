#include "kit/validation/ReferenceCheck.h"

#include <vector>

#include "kit/core/Diagnostic.h"

namespace VoziZazIreValidation {

using VoziZazIreCore::Diagnostic;
using VoziZazIreCore::Reference;

namespace {

// The non-empty pieces between "/" of the text after "#/".
std::vector<std::string_view> localPieces(std::string_view ref) {
  std::vector<std::string_view> pieces;
  std::string_view rest = ref.substr(2);
  while (!rest.empty()) {
    const auto slash = rest.find('/');
    const std::string_view piece = rest.substr(0, slash);
    if (!piece.empty()) pieces.push_back(piece);
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
  return pieces;
}

// Every "~1" replaced by "/", then every "~0" by "~" (so "~01" stays "~1").
std::string unescapedName(std::string_view piece) {
  std::string slashes;
  slashes.reserve(piece.size());
  for (std::size_t i = 0; i < piece.size(); ++i) {
    if (piece[i] == '~' && i + 1 < piece.size() && piece[i + 1] == '1') {
      slashes += '/';
      ++i;
    } else {
      slashes += piece[i];
    }
  }
  std::string name;
  name.reserve(slashes.size());
  for (std::size_t i = 0; i < slashes.size(); ++i) {
    if (slashes[i] == '~' && i + 1 < slashes.size() && slashes[i + 1] == '0') {
      name += '~';
      ++i;
    } else {
      name += slashes[i];
    }
  }
  return name;
}

void report(const Reference& reference, std::string message, ValidationContext& context) {
  if (reference.location)
    context.addDiagnostic(
        Diagnostic::error(std::move(message), reference.location->jsonPointer.str(), reference.location->locationRange));
  else
    context.addDiagnostic(Diagnostic::error(std::move(message), reference.ref));
}

void reportFormat(const Reference& reference, std::string_view tail, ValidationContext& context) {
  std::string message = "[REF-001] Invalid reference format: '";
  message += reference.ref;
  message += tail;
  report(reference, std::move(message), context);
}

}  // namespace

void checkReference(const Reference& reference, std::string_view expectedSection, ValidationContext& context) {
  const std::string& r = reference.ref;
  if (r.starts_with("#/")) {
    const auto pieces = localPieces(r);
    if (pieces.size() < 2) return reportFormat(reference, "'. Reference path is too short.", context);
    if (pieces[0] != "components")
      return reportFormat(reference, "'. Local references must point to components.", context);
    if (pieces.size() == 2) return reportFormat(reference, "'. Component name is missing.", context);
    const std::string_view section = pieces[1];
    const std::string name = unescapedName(pieces[2]);
    if (!context.hasComponent(section, name)) {
      std::string message = "[REF-002] Reference target does not exist: '";
      message += r;
      message += "'. Component '";
      message += name;
      message += "' not found in components/";
      message += section;
      message += '.';
      report(reference, std::move(message), context);
    }
    if (section != expectedSection) {
      std::string message = "[REF-004] Reference type mismatch: '";
      message += r;
      message += "' references a ";
      message += section;
      message += " but is used where a ";
      message += expectedSection;
      message += " is expected.";
      report(reference, std::move(message), context);
    }
    return;
  }
  if (r.starts_with("http://") || r.starts_with("https://") || r.starts_with("file://") || r.starts_with('#')) return;
  reportFormat(reference, "'. References must start with '#/' for local refs or a URL scheme for external refs.",
               context);
}

std::optional<std::string> referencedSchemaName(std::string_view ref) {
  if (!ref.starts_with("#/")) return std::nullopt;
  const auto pieces = localPieces(ref);
  if (pieces.size() != 3 || pieces[0] != "components" || pieces[1] != "schemas") return std::nullopt;
  return unescapedName(pieces[2]);
}

}  // namespace VoziZazIreValidation
