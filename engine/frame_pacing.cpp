// frame_pacing.cpp - the end of every frame and the wait that keeps the game at no more
// than 60 frames a second.
//
// The wait runs on the high-resolution counter: a sleep for most of it, then yielding
// and reading the counter for the last two milliseconds, because a sleep wakes up to a
// millisecond or so late and the frames must reach the display evenly spaced.
#include "frame_pacing.h"

#include <cstdint>

#include "platform.h"
#include "timer.h"
#include "window_procedure.h"

namespace {

// A frame that ends this close to its due time, before or after it, is on time and waits
// for nothing: a 60 Hz display that waits for its refresh in the swap has paced it, and
// its swap returns a little late now and then or the display runs a hair off 60. Waiting
// out such a difference would push the next swap past its refresh.
const double onTimeSlackSeconds = 0.002;
// A display a hair faster than 60 Hz has each frame end a little before its due time;
// the schedule follows it by moving that much earlier, up to this share of a frame per
// frame, so that it never falls behind the display and makes a frame wait past its
// refresh. The share holds a frame that is not paced by a display, and ends early by the
// slack every time, to at most 60.4 frames a second.
const int64_t framesPerPull = 150;
// Sleeping wakes late by up to about a millisecond (on Windows once the timer period is
// 1 ms); the rest is waited out on the counter.
const int spinMilliseconds = 2;

bool pacingOn = true;
// The frames are due on a fixed schedule, whole sixtieths of a second after its anchor,
// so that waits that end a little late, or frames on time by the slack, never add up to
// another rate. A frame that ends later than the slack starts it anew from its own end,
// so the frames after a late one are hurried by no more than the slack to catch up.
bool haveSchedule = false;
int64_t anchor = 0;      // counter reading at which the schedule starts
int64_t framesDue = 0;   // frames of the schedule since its anchor
bool finerSleepAsked = false;

void waitUntil(int64_t due, int64_t frequency) {
    if (!finerSleepAsked) {
        // Windows sleeps in steps of its timer period, about 16 ms unless asked for 1 ms;
        // the request holds until the process ends.
        timeBeginPeriod(1);
        finerSleepAsked = true;
    }
    for (;;) {
        const int64_t left = due - counterNow();
        if (left <= 0) return;
        const int64_t sleepMilliseconds = left * 1000 / frequency - spinMilliseconds;
        Sleep(sleepMilliseconds > 0 ? DWORD(sleepMilliseconds) : 0);
    }
}

void startSchedule(int64_t at) {
    anchor = at;
    framesDue = 0;
    haveSchedule = true;
}

void waitForNextFrame() {
    LARGE_INTEGER counts;
    if (!QueryPerformanceFrequency(&counts) || counts.QuadPart <= 0) return;
    const int64_t frequency = counts.QuadPart;
    const int64_t now = counterNow();
    if (!haveSchedule) {
        startSchedule(now);
        return;
    }
    ++framesDue;
    const int64_t due = anchor + framesDue * frequency / 60;
    const int64_t slack = int64_t(onTimeSlackSeconds * double(frequency));
    if (now < due - slack) {
        waitUntil(due, frequency);
    } else if (now > due + slack) {
        startSchedule(now);
    } else if (now < due) {
        const int64_t mostPull = frequency / 60 / framesPerPull;
        anchor -= due - now < mostPull ? due - now : mostPull;
    }
}

}  // namespace

void presentFrame() {
    glFlush();
    SwapBuffers(deviceContext);
    if (pacingOn) waitForNextFrame();
}

void setFramePacing(bool on) {
    pacingOn = on;
    // Turned back on, the next frame starts the schedule afresh.
    haveSchedule = false;
}
