#pragma once
#include <string>
#include <string_view>
#include <unordered_set>

namespace VoziZazIreTransform {

// The parameter names written in braces in a path key ("/pets/{petId}" -> {"petId"}). Read by the 3.1
// path item reader and handed to its parameters and operations; empty where no path key exists
// (webhooks, component path items, callback entries), which turns the path-template check off.
using PathTemplateNames = std::unordered_set<std::string>;

// The names of every "{name}" in `pathKey`: the text between a "{" and the next "}", at least one
// character long ("{}" gives nothing; "/a/{b}{c}" gives b and c).
PathTemplateNames pathTemplateNamesOf(std::string_view pathKey);

}  // namespace VoziZazIreTransform
