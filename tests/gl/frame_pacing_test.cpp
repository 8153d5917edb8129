// frame_pacing_test.cpp - the main loop's pace: at most 60 presents a second, evenly
// spaced, where the display does not pace the game itself; no wait at all where the
// display (a 59 or 60 Hz one whose swap waits for its refresh, late wake-ups included) or
// a slow frame already took that long.
//
// Most cases run on the test counter with a display model (display_models.h), so that
// the display's refresh and the time a frame takes are the test's to choose and a minute
// of frames passes in moments; one runs on the real counter with the offscreen swap,
// which returns at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "display_models.h"
#include "frame_pacing.h"
#include "gl_test_context.h"
#include "main_loop.h"
#include "test_hooks.h"
#include "world.h"

namespace {

const double frame = 1.0 / 60;
const double bound = 0.002;   // how far a paced frame time may stray from 1/60 s
const int64_t perMillisecond = displayCountsPerMillisecond;
const int64_t framePeriod = displayCountsPerSecond / 60;
const int minuteOfTurns = 60 * 60;

double counterSeconds() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return double(count.QuadPart) / double(frequency.QuadPart);
}

// The main menu's turns, as the game runs them, pacing on; the frame time of each.
class PacedLoop {
public:
    PacedLoop() {
        window = openTestWindow(64, 48);
        setFramePacing(true);
        frameTimer = new Timer;
        frameTimer->init();
    }
    ~PacedLoop() {
        delete frameTimer;
        frameTimer = nullptr;
    }
    std::vector<float> turns(int count) {
        std::vector<float> times;
        for (int k = 0; k < count; ++k) {
            int exitCode = 0;
            if (!mainLoopTurn(window, message, exitCode)) break;
            times.push_back(frameTime);
        }
        return times;
    }
    HWND window = nullptr;
    MSG message = {};
};

struct Display {
    const char* name;
    double refreshesPerSecond;   // 0: the swap waits for no refresh
    int64_t drawingCounts;
    double lateShare;
    int64_t lateCounts;
};

void PrintTo(const Display& display, std::ostream* out) { *out << display.name; }

TestDisplay modelOf(const Display& display) {
    TestDisplay model;
    model.refreshesPerSecond = display.refreshesPerSecond;
    model.drawingCounts = display.drawingCounts;
    model.lateShare = display.lateShare;
    model.lateCounts = display.lateCounts;
    model.seed = 7;
    return model;
}

std::string nameOf(const ::testing::TestParamInfo<Display>& info) { return info.param.name; }

// Displays that would show more than 60 frames a second: the pacing sets the rate.
const Display fastDisplays[] = {
    {"SwapReturnsAtOnce", 0, 4 * perMillisecond, 0, 0},
    {"SwapReturnsAtOnceDrawingAlmostAFrame", 0, 15500 * perMillisecond / 1000, 0, 0},
    {"Vsync75Hz", 75, 4 * perMillisecond, 0, 0},
    {"Vsync120Hz", 120, 4 * perMillisecond, 0.05, 2 * perMillisecond},
    {"Vsync144Hz", 144, 4 * perMillisecond, 0, 0},
    {"Vsync240HzHeavyFrame", 240, 12 * perMillisecond, 0.2, 1 * perMillisecond},
};

// Displays that pace the game themselves: their swap waits for a refresh at about 60 Hz,
// and the thread wakes up after it as late as a busy desktop wakes it.
const Display selfPacedDisplays[] = {
    {"Vsync60Hz", 60, 4 * perMillisecond, 0, 0},
    {"Vsync60HzOneInTwentyUpTo1msLate", 60, 4 * perMillisecond, 0.05, 1 * perMillisecond},
    {"Vsync60HzOneInFiveUpTo2msLate", 60, 4 * perMillisecond, 0.2, 2 * perMillisecond},
    {"Vsync59HzOneInTwentyUpTo2msLate", 59, 4 * perMillisecond, 0.05, 2 * perMillisecond},
    {"Vsync59HzHeavyFrameOneInFiveUpTo1msLate", 59, 12 * perMillisecond, 0.2, 1 * perMillisecond},
    {"Vsync60Point2HzOneInTwentyUpTo1msLate", 60.2, 4 * perMillisecond, 0.05, 1 * perMillisecond},
    {"Vsync59Point9HzHeavyFrame", 59.9, 12 * perMillisecond, 0, 0},
};

// What the display showed over a minute of main-menu turns, after the two that start the
// schedule.
DisplayRecord aMinuteOn(const Display& display) {
    useTestDisplay(modelOf(display));
    PacedLoop loop;
    if (!loop.window) {
        ADD_FAILURE() << "no window";
        return DisplayRecord();
    }
    loop.turns(2);
    restartDisplayRecord();
    EXPECT_EQ(loop.turns(minuteOfTurns).size(), size_t(minuteOfTurns));
    return displayRecord();
}

class FastDisplay : public ::testing::TestWithParam<Display> {};
class SelfPacedDisplay : public ::testing::TestWithParam<Display> {};

}  // namespace

TEST_P(FastDisplay, AMinuteShows60FramesASecondEvenlySpaced) {
    const Display& display = GetParam();
    const DisplayRecord shown = aMinuteOn(display);
    EXPECT_NEAR(shown.presentsPerSecond(), 60.0, 0.5);
    // A frame is shown at the first refresh after it is due and drawn, so a gap strays
    // from 1/60 s by at most one refresh; where the swap shows it at once, by no more
    // than a frame may end early without waiting (2 ms) and the reads.
    const int64_t refresh = display.refreshesPerSecond > 0
                                ? int64_t(displayCountsPerSecond / display.refreshesPerSecond)
                                : 2200 * perMillisecond / 1000;
    EXPECT_GE(shown.shortestGap, framePeriod - refresh);
    EXPECT_LE(shown.longestGap, framePeriod + refresh);
}

INSTANTIATE_TEST_SUITE_P(Displays, FastDisplay, ::testing::ValuesIn(fastDisplays), nameOf);

TEST_P(SelfPacedDisplay, AMinuteShowsNoRefreshTwiceAndKeepsTheDisplaysRate) {
    const Display& display = GetParam();
    const DisplayRecord shown = aMinuteOn(display);
    EXPECT_EQ(shown.refreshesShownTwice, 0);
    EXPECT_NEAR(shown.presentsPerSecond(), display.refreshesPerSecond, 0.01);
}

INSTANTIATE_TEST_SUITE_P(Displays, SelfPacedDisplay, ::testing::ValuesIn(selfPacedDisplays),
                         nameOf);

// A renderer slower than 60 frames a second: each turn is as long as its drawing and
// the reads around it, never a wait more.
TEST(FramePacing, ASlowFrameWaitsForNothing) {
    for (int milliseconds : {25, 33, 50}) {
        TestDisplay model;
        model.drawingCounts = milliseconds * perMillisecond;
        useTestDisplay(model);
        PacedLoop loop;
        ASSERT_NE(loop.window, nullptr);
        loop.turns(2);
        const double drawing = milliseconds / 1000.0;
        for (float time : loop.turns(60)) {
            ASSERT_GE(time, drawing) << milliseconds << " ms";
            ASSERT_LE(time, drawing + 0.0002) << milliseconds << " ms";
        }
    }
}

TEST(FramePacing, AfterSlowFramesTheFastOnesAreNotHurriedToCatchUp) {
    TestDisplay model;
    model.drawingCounts = 40 * perMillisecond;
    useTestDisplay(model);
    PacedLoop loop;
    ASSERT_NE(loop.window, nullptr);
    loop.turns(5);
    setDrawingCounts(0);
    const std::vector<float> times = loop.turns(30);
    ASSERT_EQ(times.size(), 30u);
    // The first of them still spans the last slow swap.
    EXPECT_NEAR(times[0], 0.040, 0.001);
    for (size_t k = 1; k < times.size(); ++k) {
        EXPECT_GE(times[k], frame - 0.0002) << "turn " << k;
        EXPECT_LE(times[k], frame + 0.0002) << "turn " << k;
    }
}

TEST(FramePacing, TurnedOffTheTurnsWaitForNothing) {
    TestDisplay model;
    model.drawingCounts = 0;
    useTestDisplay(model);
    PacedLoop loop;
    ASSERT_NE(loop.window, nullptr);
    setFramePacing(false);
    loop.turns(2);
    for (float time : loop.turns(20)) EXPECT_LT(time, 0.001);
}

// The real counter and the offscreen swap, which returns at once: at most 60 turns a
// second, however fast the machine draws. How much longer a turn takes is the machine's
// business (a busy one, or a sanitizer build, draws a frame in more than 1/60 s), and a
// turn held up between its wait and its next timer read leaves the turn after it that
// much shorter, so only the floor is held here, over the whole run and the middle turn;
// the test counter above holds every turn to both bounds. A turn that ends just before
// its due time moves the schedule earlier (a display a hair faster than 60 Hz), by at
// most a 150th of a frame, so the floor is 60.4 turns a second.
TEST(FramePacing, OnTheRealCounterTurnsRunAtMost60ASecond) {
    // Whatever ran before in this process, the clock is the machine's own.
    useRealCounter();
    PacedLoop loop;
    ASSERT_NE(loop.window, nullptr);
    // The first turn's present starts the schedule; the second's is the first one paced.
    loop.turns(2);
    const double start = counterSeconds();
    std::vector<float> times = loop.turns(120);
    const double took = counterSeconds() - start;
    ASSERT_EQ(times.size(), 120u);
    EXPECT_GE(took, 120 / 60.4 - bound);
    std::sort(times.begin(), times.end());
    EXPECT_GE(times[times.size() / 2], frame - bound);
}
