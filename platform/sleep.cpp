// sleep.cpp - giving up the thread for a while: Sleep and the timer period it wakes by.
//
// On a test counter no time passes but the counter's: a sleep moves it on by its time
// and returns at once (performance_counter.cpp).
#include <cerrno>
#include <ctime>

#include <sched.h>

#include "sdl_state.h"

void Sleep(DWORD milliseconds) {
    if (passTestSleepTime(milliseconds)) return;
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
