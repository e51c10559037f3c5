#pragma once

#include "kit/core/RawValue.h"

#include <QColor>

#include <array>
#include <functional>
#include <optional>
#include <string_view>

class QPixmap;

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

// The method's badge for the operations table: its raw value in white, monospaced 8 pt semibold,
// centred on a rounded rectangle of the badge colour. Every badge has the size the widest of the
// eight names needs, so none is clipped and a column of badges lines up. Drawn once per method and
// device pixel ratio (a ratio outside 0.5 to 8 is taken as the nearest of those, an invalid one as 1)
// and kept for the process. Main thread only.
QPixmap badgeImage(HTTPMethod method, qreal devicePixelRatio);

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
