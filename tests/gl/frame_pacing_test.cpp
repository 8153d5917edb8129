// frame_pacing_test.cpp - the main loop's pace: at most 60 turns a second, each frame
// time the game reads close to 1/60 s on any display, and no wait at all where the
// display or the frame already took that long.
//
// Most cases run on a counter the test clocks (test_hooks.h), so that the display's
// refresh and the time a swap takes are the test's to choose and the frame times come
// out the same on any machine; one runs on the real counter with the offscreen swap,
// which returns at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "frame_pacing.h"
#include "gl_test_context.h"
#include "main_loop.h"
#include "test_hooks.h"
#include "world.h"

namespace {

const double frame = 1.0 / 60;
const double bound = 0.002;   // how far a paced frame time may stray from 1/60 s
const int64_t perSecond = 1000000000;
const int64_t perMillisecond = perSecond / 1000;

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
        window = openTestWindow(160, 120);
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
    int refreshesPerSecond;   // 0: the swap waits for no refresh
    double drawSeconds;       // what the frame's drawing and swap take
    double lowest, highest;   // the frame times the game must read
};

// Paced: 1/60 s within the bound. Paced by the display or by a slow frame: exactly that
// display's refresh or that frame's length (and the reads around it), never a wait more.
const double reads = 0.0002;
const Display displays[] = {
    {"NoVsyncSwapReturnsAtOnce", 0, 0.0, frame, frame + bound},
    {"Vsync144Hz", 144, 0.004, frame, frame + bound},
    {"Vsync240HzHeavyFrame", 240, 0.012, frame, frame + bound},
    {"Vsync60Hz", 60, 0.004, frame - reads, frame + reads},
    {"Vsync50Hz", 50, 0.004, 0.020 - reads, 0.020 + reads},
    {"NoVsyncSlowSwap", 0, 0.020, 0.020, 0.020 + reads},
};

void PrintTo(const Display& display, std::ostream* out) { *out << display.name; }

class PacedDisplay : public ::testing::TestWithParam<Display> {};

}  // namespace

TEST_P(PacedDisplay, FrameTimesStayAt60ASecondAndNoFrameWaitsLonger) {
    const Display& display = GetParam();
    useTestCounter(perSecond, 0);
    clockTestCounter(20000, int64_t(display.drawSeconds * perSecond), display.refreshesPerSecond);
    PacedLoop loop;
    ASSERT_NE(loop.window, nullptr);
    loop.turns(2);
    const double start = counterSeconds();
    const std::vector<float> times = loop.turns(120);
    const double took = counterSeconds() - start;
    ASSERT_EQ(times.size(), 120u);
    for (size_t k = 0; k < times.size(); ++k) {
        EXPECT_GE(times[k], display.lowest) << "turn " << k;
        EXPECT_LE(times[k], display.highest) << "turn " << k;
    }
    EXPECT_GE(took, 120 * std::min(frame, display.lowest));
}

INSTANTIATE_TEST_SUITE_P(Displays, PacedDisplay, ::testing::ValuesIn(displays),
                         [](const ::testing::TestParamInfo<Display>& info) {
                             return std::string(info.param.name);
                         });

TEST(FramePacing, AfterSlowFramesTheFastOnesAreNotHurriedToCatchUp) {
    useTestCounter(perSecond, 0);
    clockTestCounter(20000, 40 * perMillisecond, 0);
    PacedLoop loop;
    ASSERT_NE(loop.window, nullptr);
    loop.turns(5);
    clockTestCounter(20000, 0, 0);
    const std::vector<float> times = loop.turns(30);
    ASSERT_EQ(times.size(), 30u);
    // The first of them still spans the last slow swap.
    EXPECT_NEAR(times[0], 0.040, 0.001);
    for (size_t k = 1; k < times.size(); ++k) {
        EXPECT_GE(times[k], frame) << "turn " << k;
        EXPECT_LE(times[k], frame + bound) << "turn " << k;
    }
}

TEST(FramePacing, TurnedOffTheTurnsWaitForNothing) {
    useTestCounter(perSecond, 0);
    clockTestCounter(20000, 0, 0);
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
// the test clock above holds every turn to both bounds.
TEST(FramePacing, OnTheRealCounterTurnsRunAtMost60ASecond) {
    PacedLoop loop;
    ASSERT_NE(loop.window, nullptr);
    // The first turn's present starts the count; the second's is the first one paced.
    loop.turns(2);
    const double start = counterSeconds();
    std::vector<float> times = loop.turns(120);
    const double took = counterSeconds() - start;
    ASSERT_EQ(times.size(), 120u);
    EXPECT_GE(took, 2.0);
    std::sort(times.begin(), times.end());
    EXPECT_GE(times[times.size() / 2], frame - bound);
}
