#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

// The iteration count of a benchmark too slow to let the library choose one.
// With QEL_BENCH_ONCE=1 in the environment (the start-up check of
// scripts/run-benchmarks --once) it runs once instead, like every other.
inline benchmark::IterationCount FixedIterations(benchmark::IterationCount count)
{
    const char* once = std::getenv("QEL_BENCH_ONCE");
    return once != nullptr && std::strcmp(once, "1") == 0 ? 1 : count;
}
