// timer.h - seconds between calls, from the high-resolution performance counter.
// The previous readings are kept once for all timers, not per object.
#ifndef KORVALINTH_ENGINE_TIMER_H
#define KORVALINTH_ENGINE_TIMER_H

#include <cstdint>

class Timer {
public:
    int64_t startCount;
    int64_t frequency;

    Timer();
    ~Timer();
    bool init();                             // false when there is no counter
    float elapsedSeconds(int unused);        // seconds since the previous call of this operation
    float ratePerSecond(uint32_t count);     // count per second since the previous call
};

// The performance counter's reading now, in its counts: the one clock that the timers and
// the frame pacing share.
int64_t counterNow();

#endif
