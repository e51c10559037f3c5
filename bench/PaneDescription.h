#pragma once
// A synthetic YAML description of a given size for the benchmarks of the properties pane, made once
// per size and checked to parse with three operations for each resource.

#include "Carvex/ModelAdapters/OpenAPIModelParsingService.h"
#include "Carvex/ModelAdapters/OperationsIndexBuilder.h"
#include "SyntheticDescription.h"

#include <QString>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <map>

struct PaneDescription {
    QString text;
    std::size_t operations = 0;

    static const PaneDescription& ofMegabytes(std::size_t megabytes)
    {
        using SyntheticDescription::Syntax;
        static std::map<std::size_t, PaneDescription> made;
        auto found = made.find(megabytes);
        if (found == made.end()) {
            const int units = SyntheticDescription::unitsFor(megabytes << 20, Syntax::yaml);
            const QString text = QString::fromStdString(SyntheticDescription::generateUnits(units, Syntax::yaml));
            const auto result = Carvex::OpenAPIModelParsingService().parse(text, Carvex::DocumentFormat::yaml);
            if (!result.isSuccess()) {
                std::fprintf(stderr, "description did not parse\n");
                std::abort();
            }
            const std::size_t rows = Carvex::OperationsIndexBuilder().build(*result.model()).size();
            if (rows != static_cast<std::size_t>(units) * 3) {
                std::fprintf(stderr, "%zu rows for %d resources\n", rows, units);
                std::abort();
            }
            found = made.emplace(megabytes, PaneDescription{text, rows}).first;
        }
        return found->second;
    }
};
