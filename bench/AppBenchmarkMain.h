#pragma once

#include <benchmark/benchmark.h>

#include "platform/TestApplication.h"

// The main function of a benchmark program that drives the application layer: the application object
// exists before the first benchmark runs.
#define CARVEX_APP_BENCHMARK_MAIN()                                   \
    int main(int argc, char** argv) {                                 \
        CarvexPlatform::TestApplication::ensure();                    \
        benchmark::Initialize(&argc, argv);                           \
        if (benchmark::ReportUnrecognizedArguments(argc, argv)) {     \
            return 1;                                                 \
        }                                                             \
        benchmark::RunSpecifiedBenchmarks();                          \
        benchmark::Shutdown();                                        \
        return 0;                                                     \
    }
