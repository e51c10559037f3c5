#pragma once

#include "kit/core/RawValue.h"

#include <QColor>

#include <array>
#include <functional>
#include <optional>
#include <string_view>

namespace Carvex {

// The method of an operation. The declaration order is the order wherever methods are sorted.
enum class HTTPMethod {
    get,
    post,
    put,
    patch,
    delete_,
    head,
    options,
    trace,
};

inline constexpr std::array<HTTPMethod, 8> allHTTPMethods = {
    HTTPMethod::get,   HTTPMethod::post, HTTPMethod::put,     HTTPMethod::patch,
    HTTPMethod::delete_, HTTPMethod::head, HTTPMethod::options, HTTPMethod::trace,
};

// "GET", "POST", ... in upper case.
std::string_view rawValue(HTTPMethod method);

// The method named by `name` in any letter case ("get", "Patch", "DELETE"); nothing for other text.
std::optional<HTTPMethod> httpMethodFromName(std::string_view name);

// The colour of the method's badge and of its text in the operation header.
QColor badgeColor(HTTPMethod method);

} // namespace Carvex

namespace VoziZazIreCore {
// Exactly the upper-case raw values: "GET" gives get, "get" nothing.
template<>
std::optional<Carvex::HTTPMethod> fromRawValue<Carvex::HTTPMethod>(std::string_view text);
} // namespace VoziZazIreCore

template<>
struct std::hash<Carvex::HTTPMethod> {
    std::size_t operator()(Carvex::HTTPMethod method) const noexcept
    {
        return std::hash<std::string_view>{}(Carvex::rawValue(method));
    }
};
