// timer.cpp - seconds between calls, from the high-resolution performance counter.
//
// The previous reading of each operation is kept once for the whole program, so every
// timer shares it: two timers read in turn measure the time between each other's calls.
#include "timer.h"

#include "platform.h"

namespace {

bool elapsedCalledBefore = false;
int64_t previousElapsedCount = 0;
bool rateCalledBefore = false;
int64_t previousRateCount = 0;

}  // namespace

int64_t counterNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// Zeroed rather than left unset: a timer read without a successful init then gives 0
// seconds and a rate of 0 instead of dividing by whatever the memory held.
Timer::Timer() : startCount(0), frequency(0) {}

Timer::~Timer() {}

bool Timer::init() {
    LARGE_INTEGER counts;
    if (!QueryPerformanceFrequency(&counts)) return false;
    frequency = counts.QuadPart;
    startCount = counterNow();
    return true;
}

float Timer::elapsedSeconds(int) {
    if (!elapsedCalledBefore) {
        previousElapsedCount = startCount;
        elapsedCalledBefore = true;
    }
    int64_t now = counterNow();
    double seconds = frequency > 0 ? double(now - previousElapsedCount) / double(frequency) : 0.0;
    previousElapsedCount = now;
    return float(seconds);
}

float Timer::ratePerSecond(uint32_t count) {
    if (!rateCalledBefore) {
        previousRateCount = startCount;
        rateCalledBefore = true;
    }
    int64_t now = counterNow();
    int64_t passed = now - previousRateCount;
    // No counts since the previous call: no time to measure a rate over, so 0, not an
    // infinity for the HUD to print.
    double rate = passed > 0 ? double(count) * double(frequency) / double(passed) : 0.0;
    previousRateCount = now;
    return float(rate);
}
