#pragma once

#include <benchmark/benchmark.h>

#include "platform/MemoryRelease.h"
#include "platform/TestApplication.h"

// The main function of a benchmark program that drives the application layer: the application object
// exists before the first benchmark runs, and the allocator works as in the application (large
// blocks mapped on their own), so that resident memory and the cost of large copies are the
// application's.
#define CARVEX_APP_BENCHMARK_MAIN()                                   \
    int main(int argc, char** argv) {                                 \
        CarvexPlatform::MemoryRelease::configureAllocator();          \
        CarvexPlatform::TestApplication::ensure();                    \
        benchmark::Initialize(&argc, argv);                           \
        if (benchmark::ReportUnrecognizedArguments(argc, argv)) {     \
            return 1;                                                 \
        }                                                             \
        benchmark::RunSpecifiedBenchmarks();                          \
        benchmark::Shutdown();                                        \
        return 0;                                                     \
    }
