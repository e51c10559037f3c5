#pragma once

#include "kit/core/AnyValue.h"

#include <string>

namespace Carvex {

// The two text forms in which values of the model (examples, defaults, enum members) are shown. Both
// walk the value with a stack of their own, so nesting depth costs no call stack.
namespace AnyValueText {

// One line: strings bare, objects as {key: value, ...} with keys in plain string order, doubles in
// their shortest form that reads back as the same number (5.0, 0.25, 1e-05, nan, inf).
std::string compactString(const VoziZazIreCore::AnyValue& value);

// Indented JSON with keys in plain string order and `indent` spaces per level, no trailing newline.
// Whole doubles print with one decimal (5.0); doubles that JSON cannot carry (NaN, the infinities)
// print as null, and control characters other than line feed, carriage return and tab as \u00XX,
// so the text always reads back as JSON.
std::string prettyJSONString(const VoziZazIreCore::AnyValue& value, int indent = 2);

// The shortest text that reads back as the same double: decimal with at least one fractional digit
// for magnitudes from 1e-4 below 1e16, exponential ("1e-05", "1e+16") beyond; "nan", "inf", "-inf".
std::string doubleDescription(double value);

} // namespace AnyValueText

} // namespace Carvex
