// display_models.cpp - displays and drawing threads for the test counter.
#include "display_models.h"

#include <random>

#include "test_hooks.h"

namespace {

TestDisplay model;
DisplayRecord record;
std::mt19937 lateness;
int64_t lastRefresh = -1;   // index of the refresh that showed the last present

void afterRead(int64_t& count) { count += model.countsPerRead; }

void present(int64_t at, int64_t refresh) {
    if (record.presents > 0) {
        const int64_t gap = at - record.lastPresent;
        if (record.presents == 1 || gap < record.shortestGap) record.shortestGap = gap;
        if (record.presents == 1 || gap > record.longestGap) record.longestGap = gap;
        if (refresh > lastRefresh + 1) record.refreshesShownTwice += int(refresh - lastRefresh - 1);
    } else {
        record.firstPresent = at;
    }
    record.lastPresent = at;
    lastRefresh = refresh;
    ++record.presents;
}

void afterSwap(int64_t& count) {
    count += model.drawingCounts;
    if (model.refreshesPerSecond <= 0) {
        present(count, 0);
        return;
    }
    // Shown at the next refresh that starts after the drawing is done, where a swap with
    // vertical sync returns, unless the thread wakes up late after it.
    const int64_t period = int64_t(double(displayCountsPerSecond) / model.refreshesPerSecond);
    const int64_t refresh = count / period + 1;
    count = refresh * period;
    present(count, refresh);
    if (std::uniform_real_distribution<double>(0, 1)(lateness) < model.lateShare)
        count += std::uniform_int_distribution<int64_t>(0, model.lateCounts)(lateness);
}

}  // namespace

double DisplayRecord::presentsPerSecond() const {
    if (presents < 2 || lastPresent <= firstPresent) return 0;
    return double(presents - 1) * double(displayCountsPerSecond) / double(lastPresent - firstPresent);
}

void useTestDisplay(const TestDisplay& display) {
    model = display;
    lateness.seed(display.seed);
    restartDisplayRecord();
    useTestCounter(displayCountsPerSecond, 0);
    stepTestCounter(afterRead, afterSwap);
}

void restartDisplayRecord() {
    record = DisplayRecord();
    lastRefresh = -1;
}

const DisplayRecord& displayRecord() { return record; }

void setDrawingCounts(int64_t counts) { model.drawingCounts = counts; }
