#pragma once
#include "kit/core/AnyValue.h"
#include "kit/core/CompactOptional.h"
#include "kit/core/LocationInfo.h"
#include "kit/core/OrderedMap.h"
#include "kit/core/Reference.h"
#include "kit/core/ReferenceOr.h"

// The core values the model classes are made of, named in the model's namespace so that the class
// declarations read plainly.
//
// Shape of every model class: a plain struct of public const fields, `location` first and
// `vendorExtensions` last (SecurityRequirement has none), built once in place with designated initialisers
// that name every field, and shared as std::shared_ptr<const T>:
//   std::shared_ptr<const Tag>(new Tag{.location = ..., .name = ..., ..., .vendorExtensions = ...})
// (std::make_shared<const T>(T{...}) works too but copies every const field once; the readers use
// makeShared, which builds the object inside the shared block). Class-typed fields hold a
// std::shared_ptr<const T>: null means absent for an optional field and never occurs for a required one.
// Maps keep document order.
namespace VoziZazIreModels {

using VoziZazIreCore::AnyValue;
using VoziZazIreCore::CompactOptional;
using VoziZazIreCore::LocationInfo;
using VoziZazIreCore::OrderedMap;
using VoziZazIreCore::Reference;
using VoziZazIreCore::ReferenceOr;

}  // namespace VoziZazIreModels
