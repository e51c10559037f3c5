#include "Carvex/ModelAdapters/OperationID.h"

#include "kit/core/HashCombine.h"

namespace Carvex {

std::string OperationID::description() const
{
    std::string text(rawValue(method));
    text += ' ';
    text += path;
    return text;
}

std::size_t OperationID::hash() const noexcept
{
    std::size_t seed = std::hash<std::string>{}(path);
    VoziZazIreCore::hashCombine(seed, std::hash<HTTPMethod>{}(method));
    return seed;
}

} // namespace Carvex
