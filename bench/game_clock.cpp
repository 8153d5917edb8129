// game_clock.cpp - a steady clock for the game in the benchmark. The menus animate and
// run their countdowns by the time the frame timer measures, so on a slow machine their
// frames would differ from a fast one's, and a run's frames would depend on the run's own
// speed. The game's performance counter is the platform's test counter here, moved on by
// exactly 1/60 s per loop turn, so every run draws the same frames on every machine and
// the frame times compare. The benchmark's own timing uses CLOCK_MONOTONIC.
#include "game_clock.h"

#include "platform.h"
#include "test_hooks.h"
#include "world.h"

namespace {

// Counts of the steady counter: a whole number of them per 1/60 s, so that each turn is
// exactly that long, and the HUD's rate of one frame in one turn exactly 60.
const long long countsPerFrame = 1000000;
const long long countsPerSecond = 60 * countsPerFrame;

long long steadyCount = 0;

}  // namespace

void startSteadyGameClock() {
    if (!frameTimer) return;   // no timer: nothing measures the game's time
    useTestCounter(countsPerSecond, 0);
    // The frame timer takes the steady counter's frequency, and both of its readings start
    // here, so that the first steady turn, too, measures 1/60 s.
    frameTimer->init();
    frameTimer->elapsedSeconds(1);
    frameTimer->ratePerSecond(1);
}

void advanceGameClock() {
    steadyCount += countsPerFrame;
    setTestCounter(steadyCount);
}

// As Timer::elapsedSeconds computes it, so that the two are the same float.
float steadyFrameSeconds() { return float(double(countsPerFrame) / double(countsPerSecond)); }
