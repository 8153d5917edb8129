// monotonic_clock.h - the one clock the benchmark measures with: CLOCK_MONOTONIC, which
// every process of the machine reads alike, so a time taken by the benchmark and one
// taken by the run it starts can be subtracted.
#ifndef KORVALINTH_BENCH_MONOTONIC_CLOCK_H
#define KORVALINTH_BENCH_MONOTONIC_CLOCK_H

#include <cstdint>

int64_t monotonicNanoseconds();

#endif
