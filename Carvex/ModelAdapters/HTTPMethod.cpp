#include "Carvex/ModelAdapters/HTTPMethod.h"

#include <algorithm>
#include <cctype>

namespace Carvex {

std::string_view rawValue(HTTPMethod method)
{
    switch (method) {
    case HTTPMethod::get: return "GET";
    case HTTPMethod::post: return "POST";
    case HTTPMethod::put: return "PUT";
    case HTTPMethod::patch: return "PATCH";
    case HTTPMethod::delete_: return "DELETE";
    case HTTPMethod::head: return "HEAD";
    case HTTPMethod::options: return "OPTIONS";
    case HTTPMethod::trace: return "TRACE";
    }
    return "GET";
}

std::optional<HTTPMethod> httpMethodFromName(std::string_view name)
{
    for (HTTPMethod method : allHTTPMethods) {
        const std::string_view raw = rawValue(method);
        if (raw.size() == name.size()
            && std::equal(raw.begin(), raw.end(), name.begin(), [](char upper, char given) {
                   return upper == static_cast<char>(std::toupper(static_cast<unsigned char>(given)));
               }))
            return method;
    }
    return std::nullopt;
}

QColor badgeColor(HTTPMethod method)
{
    switch (method) {
    case HTTPMethod::get: return QColor::fromRgbF(0.3f, 0.69f, 0.31f, 1.0f);
    case HTTPMethod::post: return QColor::fromRgbF(0.25f, 0.47f, 0.85f, 1.0f);
    case HTTPMethod::put: return QColor::fromRgbF(0.8f, 0.55f, 0.2f, 1.0f);
    case HTTPMethod::patch: return QColor::fromRgbF(0.7f, 0.65f, 0.25f, 1.0f);
    case HTTPMethod::delete_: return QColor::fromRgbF(0.8f, 0.3f, 0.3f, 1.0f);
    case HTTPMethod::head: return QColor::fromRgbF(0.55f, 0.4f, 0.7f, 1.0f);
    case HTTPMethod::options: return QColor::fromRgbF(0.5f, 0.5f, 0.55f, 1.0f);
    case HTTPMethod::trace: return QColor::fromRgbF(0.5f, 0.5f, 0.55f, 1.0f);
    }
    return QColor();
}

} // namespace Carvex

template<>
std::optional<Carvex::HTTPMethod> VoziZazIreCore::fromRawValue<Carvex::HTTPMethod>(std::string_view text)
{
    for (Carvex::HTTPMethod method : Carvex::allHTTPMethods) {
        if (Carvex::rawValue(method) == text)
            return method;
    }
    return std::nullopt;
}
