#pragma once
#include <vector>

#include "kit/core/Diagnostic.h"

namespace VoziZazIre {

// Brings the findings of one parse together. Several checks are made twice, once while the transform
// reads the tree and again by the validation rules; a fault they both find is reported once.
namespace FindingMerge {

// The transform's findings in their order, then the validation rules' in theirs, less every transform
// finding that the validation rules also made: the same rule code, the same JSON pointer and range, and
// the same thing named (the same variable, scheme or operationId, however each side words it). The
// validation rules' wording is the one kept. Findings of one code at one node that name different things
// stay apart; each validation finding stands in for at most one transform finding.
std::vector<VoziZazIreCore::Diagnostic> merge(std::vector<VoziZazIreCore::Diagnostic> transformFindings,
                                              std::vector<VoziZazIreCore::Diagnostic> validationFindings);

}  // namespace FindingMerge
}  // namespace VoziZazIre
