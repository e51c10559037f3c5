#include "Carvex/Completion/CompletionResult.h"

#include <utility>

namespace Carvex {

CompletionResult CompletionResult::empty(CompletionContext context)
{
    return CompletionResult{OpenAPIVersion::openAPI31, std::move(context), {}, {}, false};
}

} // namespace Carvex
