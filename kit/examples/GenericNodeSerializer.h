#pragma once
#include <string>

#include "kit/core/GenericNode.h"
#include "kit/examples/OutputFormat.h"

namespace VoziZazIreExampleGeneration {

// Prints node trees as indented JSON, compact JSON or block YAML. Object keys come out in ascending
// byte order, so one tree always gives one text; no output ends with a line break. Trees of any depth
// are printed without recursion. JSON has no spelling for the non-finite numbers: they print as null
// there, and as .inf, -.inf and .nan in YAML.
namespace GenericNodeSerializer {

// Indented (two spaces a level) or compact JSON.
std::string toJSON(const VoziZazIreCore::GenericNode& node, bool prettyPrint);
// Block YAML: no document marker, no comments, no flow collections but "{}" and "[]".
std::string toYAML(const VoziZazIreCore::GenericNode& node);
// Indented JSON or YAML.
std::string serialize(const VoziZazIreCore::GenericNode& node, OutputFormat format);

// The text of a number: a whole number of magnitude below 2^63 as a decimal integer ("3", "0" for
// negative zero); other values as the shortest text that reads back, in plain notation from 0.0001 on
// ("0.5") and in exponent notation below it and from 2^63 on ("1e-05", "1e+19"); "inf", "-inf", "nan".
std::string formatNumber(double value);

}  // namespace GenericNodeSerializer
}  // namespace VoziZazIreExampleGeneration
