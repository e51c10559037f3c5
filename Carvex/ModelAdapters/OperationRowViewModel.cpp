#include "Carvex/ModelAdapters/OperationRowViewModel.h"

namespace Carvex {

QString OperationRowViewModel::displaySummary() const
{
    if (summary && !summary->isEmpty())
        return *summary;
    if (operationId && !operationId->isEmpty())
        return *operationId;
    return id.path;
}

} // namespace Carvex
