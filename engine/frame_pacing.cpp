// frame_pacing.cpp - the end of every frame and the wait that keeps the game at no more
// than 60 frames a second.
//
// The wait runs on the high-resolution counter: a sleep for most of it, then yielding
// and reading the counter for the last two milliseconds, because a sleep wakes up to a
// millisecond or so late and the frame time the game reads next must come out even.
#include "frame_pacing.h"

#include <cstdint>

#include "platform.h"
#include "window_procedure.h"

namespace {

// A hair over 1/60 s: the frame timer is read a few microseconds after the wait ends,
// and those microseconds vary, so a wait of exactly 1/60 s would hand the game frame
// times just under it about half the time, where int(frameTime x 60) is 0 and a wreck's
// blast stops growing. A tenth of a millisecond is far above that jitter.
const double framePeriodSeconds = 1.0 / 60 + 0.0001;
// A frame that ends this close to its due time is on time: the display has paced it (a
// 60 Hz display waits for its refresh in the swap, and runs a little faster or slower
// than exactly 60), so the pacing adds no wait of its own on top of the display's.
const double onTimeSlackSeconds = 0.0005;
// Sleeping wakes late by up to about a millisecond (on Windows once the timer period is
// 1 ms); the rest is waited out on the counter.
const int spinMilliseconds = 2;

bool pacingOn = true;
bool haveDeadline = false;
int64_t deadline = 0;   // counter reading at which the next frame may end
bool finerSleepAsked = false;

int64_t counterNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

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

void waitForNextFrame() {
    LARGE_INTEGER counts;
    if (!QueryPerformanceFrequency(&counts) || counts.QuadPart <= 0) return;
    const int64_t frequency = counts.QuadPart;
    const int64_t period = int64_t(framePeriodSeconds * double(frequency)) + 1;
    const int64_t slack = int64_t(onTimeSlackSeconds * double(frequency));
    int64_t now = counterNow();
    if (haveDeadline && now < deadline - slack) {
        waitUntil(deadline, frequency);
        now = counterNow();
    }
    // From where this frame really ended, so that a frame that ran late, or a wait that
    // woke late, is never made up for by a short frame after it.
    deadline = now + period;
    haveDeadline = true;
}

}  // namespace

void presentFrame() {
    glFlush();
    SwapBuffers(deviceContext);
    if (pacingOn) waitForNextFrame();
}

void setFramePacing(bool on) {
    pacingOn = on;
    // Turned back on, the next frame starts the count afresh.
    haveDeadline = false;
}
