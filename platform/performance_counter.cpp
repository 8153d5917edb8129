// performance_counter.cpp - the high-resolution counter over the monotonic clock.
//
// The counter counts nanoseconds, so its frequency is fixed at 10^9 a second and it
// never goes backwards. Tests can put a counter of their own in its place; while they
// do, that counter is the only clock there is: a sleep moves it on instead of sleeping,
// and the tests' own steps move it on as the thread reads it and swaps.
#include <ctime>

#include "sdl_state.h"
#include "test_hooks.h"

namespace {

const int64_t nanosecondsPerSecond = 1000000000;

bool testCounter = false;
int64_t testFrequency = 0;
int64_t testCount = 0;
TestCounterStep stepAfterRead = nullptr;
TestCounterStep stepAfterSwap = nullptr;

}  // namespace

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (!frequency) return FALSE;
    frequency->QuadPart = testCounter ? testFrequency : nanosecondsPerSecond;
    return frequency->QuadPart > 0 ? TRUE : FALSE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (!count) return FALSE;
    if (testCounter) {
        count->QuadPart = testCount;
        if (stepAfterRead) stepAfterRead(testCount);
        return TRUE;
    }
    timespec now;
    if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) return FALSE;
    count->QuadPart = int64_t(now.tv_sec) * nanosecondsPerSecond + now.tv_nsec;
    return TRUE;
}

bool passTestSleepTime(DWORD milliseconds) {
    if (!testCounter) return false;
    testCount += int64_t(milliseconds) * testFrequency / 1000;
    return true;
}

void passTestSwapTime() {
    if (testCounter && stepAfterSwap) stepAfterSwap(testCount);
}

// ---- test seams (test_hooks.h) -------------------------------------------------------------
void useTestCounter(int64_t frequency, int64_t count) {
    testCounter = true;
    testFrequency = frequency;
    testCount = count;
}

void useRealCounter() {
    testCounter = false;
    stepAfterRead = nullptr;
    stepAfterSwap = nullptr;
}

void setTestCounter(int64_t count) { testCount = count; }

void stepTestCounter(TestCounterStep afterRead, TestCounterStep afterSwap) {
    stepAfterRead = afterRead;
    stepAfterSwap = afterSwap;
}
