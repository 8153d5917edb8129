// monotonic_clock.cpp - the benchmark's clock.
#include "monotonic_clock.h"

#include <time.h>

int64_t monotonicNanoseconds() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}
