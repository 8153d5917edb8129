// performance_counter.cpp - the high-resolution counter over the monotonic clock, and
// sleeping.
//
// The counter counts nanoseconds, so its frequency is fixed at 10^9 a second and it
// never goes backwards. Tests can put a counter of their own in its place; while they
// do, that counter is the only clock there is: a sleep moves it on instead of sleeping,
// and a clocked test counter also moves on as the thread reads it and swaps.
#include <cerrno>
#include <ctime>

#include <sched.h>

#include "sdl_state.h"
#include "test_hooks.h"

namespace {

const int64_t nanosecondsPerSecond = 1000000000;

bool testCounter = false;
int64_t testFrequency = 0;
int64_t testCount = 0;
int64_t testCountsPerRead = 0;
int64_t testCountsPerSwap = 0;
int testRefreshesPerSecond = 0;

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
        testCount += testCountsPerRead;
        return TRUE;
    }
    timespec now;
    if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) return FALSE;
    count->QuadPart = int64_t(now.tv_sec) * nanosecondsPerSecond + now.tv_nsec;
    return TRUE;
}

void Sleep(DWORD milliseconds) {
    if (testCounter) {
        testCount += int64_t(milliseconds) * testFrequency / 1000;
        return;
    }
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    timespec left = {time_t(milliseconds / 1000), long(milliseconds % 1000) * 1000000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

// nanosleep already wakes within microseconds of its time.
UINT timeBeginPeriod(UINT) { return TIMERR_NOERROR; }

void passTestSwapTime() {
    if (!testCounter) return;
    testCount += testCountsPerSwap;
    if (testRefreshesPerSecond > 0 && testFrequency > 0) {
        // Up to the next refresh that starts after the drawing is done, as a swap that
        // waits for vertical sync returns.
        const int64_t refresh = testFrequency / testRefreshesPerSecond;
        testCount = (testCount / refresh + 1) * refresh;
    }
}

// ---- test seams (test_hooks.h) -------------------------------------------------------------
void useTestCounter(int64_t frequency, int64_t count) {
    testCounter = true;
    testFrequency = frequency;
    testCount = count;
}

void setTestCounter(int64_t count) { testCount = count; }

void clockTestCounter(int64_t countsPerRead, int64_t countsPerSwap, int refreshesPerSecond) {
    testCountsPerRead = countsPerRead;
    testCountsPerSwap = countsPerSwap;
    testRefreshesPerSecond = refreshesPerSecond;
}
