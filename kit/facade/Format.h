#pragma once

namespace VoziZazIre {

// The caller's choice of syntax: detect it from the content, or JSON, or YAML.
enum class Format { auto_, json, yaml };

}  // namespace VoziZazIre
