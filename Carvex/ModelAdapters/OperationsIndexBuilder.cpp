#include "Carvex/ModelAdapters/OperationsIndexBuilder.h"

#include "Carvex/ModelAdapters/LocalizedStandardComparison.h"
#include "Carvex/ModelAdapters/OpenAPIDocumentAdapter.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace Carvex {

namespace {

std::optional<QString> text(const std::optional<std::string>& value)
{
    if (!value)
        return std::nullopt;
    return QString::fromStdString(*value);
}

} // namespace

std::vector<OperationRowViewModel> OperationsIndexBuilder::build(const ParsedOpenAPIModel& model) const
{
    const auto operations = model.makeAdapter()->allOperations();
    std::vector<OperationRowViewModel> rows;
    rows.reserve(operations.size());
    // Each distinct path gets its sort key and the position of its first row once.
    struct PathKey {
        std::string sortKey;
        std::size_t firstRow;
    };
    std::unordered_map<std::string, std::size_t> pathIndex;
    std::vector<PathKey> pathKeys;
    std::vector<std::size_t> rowPath;
    rowPath.reserve(operations.size());
    const LocalizedStandardComparison& comparison = LocalizedStandardComparison::forCurrentThread();
    for (const auto& [path, method, operation] : operations) {
        OperationRowViewModel row{.id = {QString::fromStdString(path), method},
                                  .summary = text(operation->summary()),
                                  .operationId = text(operation->operationId()),
                                  .deprecated = operation->deprecated(),
                                  .sourceLine = operation->sourceLine()};
        auto [found, inserted] = pathIndex.try_emplace(path, pathKeys.size());
        if (inserted)
            pathKeys.push_back({comparison.sortKey(row.id.path), rows.size()});
        rowPath.push_back(found->second);
        rows.push_back(std::move(row));
    }
    // Sort row numbers: by the path's key, then (for distinct paths with equal keys) by the path's first
    // row, then by method. This is a strict weak order, so the result is the same every run.
    std::vector<std::size_t> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const PathKey& pa = pathKeys[rowPath[a]];
        const PathKey& pb = pathKeys[rowPath[b]];
        if (rowPath[a] != rowPath[b]) {
            if (const int c = pa.sortKey.compare(pb.sortKey); c != 0)
                return c < 0;
            return pa.firstRow < pb.firstRow;
        }
        return rows[a].id.method < rows[b].id.method;
    });
    std::vector<OperationRowViewModel> sorted;
    sorted.reserve(rows.size());
    for (std::size_t index : order)
        sorted.push_back(std::move(rows[index]));
    return sorted;
}

} // namespace Carvex
