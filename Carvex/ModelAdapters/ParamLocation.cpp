#include "Carvex/ModelAdapters/ParamLocation.h"

namespace Carvex {

namespace {
constexpr ParamLocation kAll[] = {ParamLocation::query, ParamLocation::header, ParamLocation::path,
                                  ParamLocation::cookie};
}

std::string_view rawValue(ParamLocation location)
{
    switch (location) {
    case ParamLocation::query: return "query";
    case ParamLocation::header: return "header";
    case ParamLocation::path: return "path";
    case ParamLocation::cookie: return "cookie";
    }
    return "query";
}

QString displayName(ParamLocation location)
{
    QString name = QString::fromLatin1(rawValue(location).data(), static_cast<qsizetype>(rawValue(location).size()));
    name[0] = name[0].toUpper();
    return name;
}

bool rawValueLess(ParamLocation a, ParamLocation b)
{
    return rawValue(a) < rawValue(b);
}

ParamLocation paramLocation(VoziZazIreModels::ParameterLocation location)
{
    switch (location) {
    case VoziZazIreModels::ParameterLocation::query: return ParamLocation::query;
    case VoziZazIreModels::ParameterLocation::header: return ParamLocation::header;
    case VoziZazIreModels::ParameterLocation::path: return ParamLocation::path;
    case VoziZazIreModels::ParameterLocation::cookie: return ParamLocation::cookie;
    }
    return ParamLocation::query;
}

} // namespace Carvex

template<>
std::optional<Carvex::ParamLocation> VoziZazIreCore::fromRawValue<Carvex::ParamLocation>(std::string_view text)
{
    for (Carvex::ParamLocation location : Carvex::kAll) {
        if (Carvex::rawValue(location) == text)
            return location;
    }
    return std::nullopt;
}
