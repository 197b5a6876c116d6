// Engine benchmarks; every figure is also reported as a ratio to one memcpy
// of the same amount of pixels measured in the same run.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
