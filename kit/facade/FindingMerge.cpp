#include "kit/facade/FindingMerge.h"

#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace VoziZazIre::FindingMerge {

using VoziZazIreCore::Diagnostic;

namespace {

// How each side words a rule whose texts differ. In a form, "@" stands for the thing the finding names
// and a final "*" for a tail that may differ (a pointer or a value the other side leaves out). Rules
// not listed here are worded alike by both sides, so their whole text names what they found.
struct Wording {
  std::string_view code;
  std::string_view transformForm;
  std::string_view validationForm;
};

constexpr Wording kWordings[] = {
    {"OPR-001", "Duplicate operationId '@' (first at *", "Duplicate operationId '@' (first defined at *"},
    {"SRV-002", "Template variable '{@}' has no matching variable definition",
     "Template variable '{@}' in server URL has no matching variable definition"},
    {"SRV-003", "Server variable '@' default '*", "Server variable '@' default value '*"},
    {"DOC-004", "info.termsOfService should be a valid URL", "info.termsOfService should be a valid URL: *"},
    {"DOC-005", "info.contact.url should be a valid URL", "info.contact.url should be a valid URL: *"},
    {"DOC-006", "info.contact.email should be a valid email", "info.contact.email should be a valid email: *"},
};

// The rule code of "[<code>] <text>" and the text; nothing for a message of another form.
std::optional<std::pair<std::string_view, std::string_view>> splitCoded(std::string_view message) {
  if (!message.starts_with('[')) return std::nullopt;
  const std::size_t close = message.find("] ");
  if (close == std::string_view::npos || close < 2 || close > 16) return std::nullopt;
  return std::pair{message.substr(1, close - 1), message.substr(close + 2)};
}

// What `text` names by `form`, or nothing when the text does not have that form.
std::optional<std::string_view> namedBy(std::string_view form, std::string_view text) {
  const bool openTail = form.ends_with('*');
  if (openTail) form.remove_suffix(1);
  const std::size_t slot = form.find('@');
  if (slot == std::string_view::npos) {
    if (openTail ? text.starts_with(form) : text == form) return std::string_view();
    return std::nullopt;
  }
  const std::string_view head = form.substr(0, slot);
  const std::string_view after = form.substr(slot + 1);
  if (!text.starts_with(head)) return std::nullopt;
  text.remove_prefix(head.size());
  if (openTail) {
    const std::size_t end = text.find(after);
    if (end == std::string_view::npos) return std::nullopt;
    return text.substr(0, end);
  }
  if (!text.ends_with(after)) return std::nullopt;
  return text.substr(0, text.size() - after.size());
}

// The identity of a coded finding: code, pointer, range and what it names, as one text. Nothing for an
// uncoded finding, which is never merged.
std::optional<std::string> identity(const Diagnostic& finding, bool fromTransform) {
  const auto coded = splitCoded(finding.message());
  if (!coded) return std::nullopt;
  const auto [code, text] = *coded;
  std::string_view named = text;
  for (const Wording& wording : kWordings) {
    if (wording.code != code) continue;
    if (auto name = namedBy(fromTransform ? wording.transformForm : wording.validationForm, text)) named = *name;
    break;
  }
  std::string key(code);
  key += '\x1f';
  if (const auto& pointer = finding.jsonPointer()) {
    key += '/';
    key += *pointer;
  }
  key += '\x1f';
  if (const auto& range = finding.range()) {
    for (const auto* at : {&range->start, &range->end}) {
      key += std::to_string(at->line) + ':' + std::to_string(at->column) + ':' + std::to_string(at->offset) + ';';
    }
  }
  key += '\x1f';
  key += named;
  return key;
}

}  // namespace

std::vector<Diagnostic> merge(std::vector<Diagnostic> transformFindings, std::vector<Diagnostic> validationFindings) {
  if (validationFindings.empty() || transformFindings.empty()) {
    transformFindings.insert(transformFindings.end(), std::make_move_iterator(validationFindings.begin()),
                             std::make_move_iterator(validationFindings.end()));
    return transformFindings;
  }
  std::unordered_map<std::string, std::size_t> available;
  for (const Diagnostic& finding : validationFindings)
    if (auto key = identity(finding, false)) ++available[*key];

  std::vector<Diagnostic> merged;
  merged.reserve(transformFindings.size() + validationFindings.size());
  for (Diagnostic& finding : transformFindings) {
    if (auto key = identity(finding, true)) {
      if (auto it = available.find(*key); it != available.end() && it->second > 0) {
        --it->second;
        continue;
      }
    }
    merged.push_back(std::move(finding));
  }
  merged.insert(merged.end(), std::make_move_iterator(validationFindings.begin()),
                std::make_move_iterator(validationFindings.end()));
  return merged;
}

}  // namespace VoziZazIre::FindingMerge
