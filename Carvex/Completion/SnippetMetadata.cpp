#include "Carvex/Completion/SnippetMetadata.h"

#include <QHash>

namespace Carvex {

std::size_t SnippetMetadata::hash() const
{
    std::size_t seed = qHash(templateId);
    seed = qHashMulti(seed, isBodyOnly, templateContent, openAPIVersion);
    return seed;
}

} // namespace Carvex
