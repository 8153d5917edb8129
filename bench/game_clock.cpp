// game_clock.cpp - a steady clock for the game in the benchmark. The game moves its cars
// and runs its countdowns by the time its frame timer measures, so on a slow machine its
// cars would take other paths than on a fast one, and a run's race would depend on the
// run's own speed. With the counter that the timer reads advanced by exactly 1/60 s per
// loop turn, every run drives the same race on every machine, and the frame times compare.
// The benchmark's link routes the timer's counter reads here through --wrap
// (bench/CMakeLists.txt); the benchmark's own timing uses CLOCK_MONOTONIC.
#include "game_clock.h"

#include "platform.h"

extern "C" BOOL __real__Z23QueryPerformanceCounterP14_LARGE_INTEGER(LARGE_INTEGER* count);

namespace {

bool steady = false;
long long steadyCount = 0;
long long lastRealCount = 0;   // the last reading the game took before the clock turned steady
long long countsPerFrame = 0;
long long countsPerSecond = 0;

}  // namespace

extern "C" BOOL __wrap__Z23QueryPerformanceCounterP14_LARGE_INTEGER(LARGE_INTEGER* count) {
    if (!count) return FALSE;
    if (!steady) {
        const BOOL read = __real__Z23QueryPerformanceCounterP14_LARGE_INTEGER(count);
        if (read) lastRealCount = count->QuadPart;
        return read;
    }
    count->QuadPart = steadyCount;
    return TRUE;
}

void startSteadyGameClock() {
    LARGE_INTEGER frequency;
    if (lastRealCount == 0 || !QueryPerformanceFrequency(&frequency) || frequency.QuadPart < 60)
        return;   // no counter: the game runs on its own clock
    // Counted on from the game's last reading, so that the first steady turn is 1/60 s too.
    steadyCount = lastRealCount;
    countsPerSecond = frequency.QuadPart;
    countsPerFrame = countsPerSecond / 60;
    steady = true;
}

void advanceGameClock() { steadyCount += countsPerFrame; }

// As Timer::elapsedSeconds computes it, so that the two are the same float.
float steadyFrameSeconds() {
    return countsPerSecond > 0 ? float(double(countsPerFrame) / double(countsPerSecond)) : 0.0f;
}
