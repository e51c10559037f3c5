#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace VoziZazIreCore {

// Building and taking apart RFC 6901 JSON pointers.
namespace JSONPointerUtils {

// "~" -> "~0" first, then "/" -> "~1".
std::string escape(std::string_view key);
// "~1" -> "/" first, then "~0" -> "~".
std::string unescape(std::string_view token);
std::string append(std::string_view pointer, std::string_view key);
std::string append(std::string_view pointer, int64_t index);
// Appends "/" + escape(key) to `pointer` in place.
void appendInPlace(std::string& pointer, std::string_view key);
// The unescaped reference tokens; a text not starting with "/" is one token, unchanged. Never fails.
std::vector<std::string> parse(std::string_view pointer);

}  // namespace JSONPointerUtils
}  // namespace VoziZazIreCore
