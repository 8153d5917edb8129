// display_models.h - displays and drawing threads for the test counter: what a counter
// read and a frame's drawing cost, a swap that waits for the next refresh of a display
// at a given rate (and now and then returns late after it) or returns at once, and what
// such a display then showed.
#ifndef KORVALINTH_TESTS_DISPLAY_MODELS_H
#define KORVALINTH_TESTS_DISPLAY_MODELS_H

#include <cstdint>

// Counts of the test counter: nanoseconds.
const int64_t displayCountsPerSecond = 1000000000;
const int64_t displayCountsPerMillisecond = displayCountsPerSecond / 1000;

struct TestDisplay {
    int64_t countsPerRead = 20000;                        // the work between two counter reads
    int64_t drawingCounts = 4 * displayCountsPerMillisecond;   // a frame's drawing, before its swap
    double refreshesPerSecond = 0;   // 0: the swap waits for nothing and shows the frame at once
    // A swap that waits for a refresh returns late after it on this share of refreshes,
    // by up to lateCounts, drawn from a generator seeded with seed.
    double lateShare = 0;
    int64_t lateCounts = 0;
    unsigned seed = 1;
};

// What the display has shown since the model was put in place.
struct DisplayRecord {
    int presents = 0;
    int64_t firstPresent = 0, lastPresent = 0;        // counts at which frames were shown
    int64_t shortestGap = 0, longestGap = 0;          // between two presents in a row
    int refreshesShownTwice = 0;   // refreshes that showed the frame before again
    double presentsPerSecond() const;
};

// Puts the test counter in place of the real one, at 0, and the display model on it.
void useTestDisplay(const TestDisplay& display);
// Forgets what was shown so far: the record starts at the next present.
void restartDisplayRecord();
const DisplayRecord& displayRecord();
// Changes what a frame's drawing takes from the next swap on.
void setDrawingCounts(int64_t counts);

#endif
