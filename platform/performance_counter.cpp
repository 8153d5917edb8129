// performance_counter.cpp - the high-resolution counter over the monotonic clock.
//
// The counter counts nanoseconds, so its frequency is fixed at 10^9 a second and it
// never goes backwards. Tests can put a counter of their own in its place.
#include <ctime>

#include "test_hooks.h"
#include "win32.h"

namespace {

const int64_t nanosecondsPerSecond = 1000000000;

bool testCounter = false;
int64_t testFrequency = 0;
int64_t testCount = 0;

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
        return TRUE;
    }
    timespec now;
    if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) return FALSE;
    count->QuadPart = int64_t(now.tv_sec) * nanosecondsPerSecond + now.tv_nsec;
    return TRUE;
}

// ---- test seams (test_hooks.h) -------------------------------------------------------------
void useTestCounter(int64_t frequency, int64_t count) {
    testCounter = true;
    testFrequency = frequency;
    testCount = count;
}

void setTestCounter(int64_t count) { testCount = count; }
