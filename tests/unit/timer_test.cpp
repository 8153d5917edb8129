// timer_test.cpp - the frame timer over a counter the test sets, so nothing here depends
// on how fast the machine runs. The previous readings belong to the operations, not to
// the timers, and start unset: every test relies on running in a process of its own.
#include <gtest/gtest.h>

#include <cmath>

#include "platform.h"
#include "test_hooks.h"
#include "timer.h"

namespace {

const int64_t perSecond = 1000;

Timer* startedAt(int64_t count) {
    setTestCounter(count);
    Timer* timer = new Timer;
    EXPECT_TRUE(timer->init());
    return timer;
}

}  // namespace

TEST(Timer, ElapsedSecondsSharesItsPreviousReadingAcrossTimers) {
    useTestCounter(perSecond, 0);
    Timer* first = startedAt(0);
    Timer* second = startedAt(500);
    EXPECT_EQ(second->startCount, 500);
    EXPECT_EQ(second->frequency, perSecond);

    // The first call on the second timer measures from its own start, not the first's.
    setTestCounter(800);
    EXPECT_FLOAT_EQ(second->elapsedSeconds(1), 0.3f);
    // The first timer then measures from that call, not from its own start.
    setTestCounter(1000);
    EXPECT_FLOAT_EQ(first->elapsedSeconds(1), 0.2f);
    delete first;
    delete second;
}

TEST(Timer, ElapsedSecondsIgnoresItsArgument) {
    useTestCounter(perSecond, 0);
    Timer* timer = startedAt(0);
    int64_t now = 0;
    for (int argument : {1, 0, -7, 1000000}) {
        now += 250;
        setTestCounter(now);
        EXPECT_FLOAT_EQ(timer->elapsedSeconds(argument), 0.25f) << "argument " << argument;
    }
    delete timer;
}

TEST(Timer, TwoCallsWithinOneTickGiveZeroTheSecondTime) {
    useTestCounter(perSecond, 0);
    Timer* timer = startedAt(40);
    setTestCounter(90);
    EXPECT_FLOAT_EQ(timer->elapsedSeconds(1), 0.05f);
    EXPECT_EQ(timer->elapsedSeconds(1), 0.0f);
    delete timer;
}

TEST(Timer, TheDifferenceIsTakenInSixtyFourBitsBeforeDividing) {
    // Near 2^62 a double cannot tell neighbouring counts apart; the difference can.
    const int64_t huge = int64_t(1) << 62;
    useTestCounter(1000000000, huge);
    Timer* timer = startedAt(huge);
    setTestCounter(huge + 1);
    EXPECT_FLOAT_EQ(timer->elapsedSeconds(1), 1e-9f);
    delete timer;
}

TEST(Timer, RateAtASteadyFiftyFramesASecond) {
    const int64_t perMicrosecond = 1000000;
    useTestCounter(perMicrosecond, 0);
    Timer* timer = startedAt(0);
    int64_t now = 0;
    for (int frame = 0; frame < 5; ++frame) {
        now += perMicrosecond / 50;
        setTestCounter(now);
        EXPECT_NEAR(timer->ratePerSecond(frame % 2 ? 2 : 1), frame % 2 ? 100.0 : 50.0, 1e-3)
            << "frame " << frame;
    }
    delete timer;
}

TEST(Timer, RateAndElapsedKeepSeparatePreviousReadings) {
    useTestCounter(perSecond, 0);
    Timer* timer = startedAt(0);
    setTestCounter(100);
    EXPECT_FLOAT_EQ(timer->elapsedSeconds(1), 0.1f);
    setTestCounter(250);
    // The rate's first call measures from the start, untouched by the elapsed call.
    EXPECT_FLOAT_EQ(timer->ratePerSecond(1), 4.0f);
    EXPECT_FLOAT_EQ(timer->elapsedSeconds(1), 0.15f);
    delete timer;
}

TEST(Timer, RateWithNoTimePassedIsZeroNotInfinite) {
    useTestCounter(perSecond, 0);
    Timer* timer = startedAt(0);
    setTestCounter(20);
    EXPECT_FLOAT_EQ(timer->ratePerSecond(1), 50.0f);
    float rate = timer->ratePerSecond(1);
    EXPECT_TRUE(std::isfinite(rate));
    EXPECT_EQ(rate, 0.0f);
    delete timer;
}

TEST(Timer, WithoutACounterInitFailsAndReadingsStayFinite) {
    useTestCounter(0, 12345);
    Timer timer;
    EXPECT_FALSE(timer.init());
    // The start-up does not check init; reading the timer must not poison frameTime.
    setTestCounter(99999);
    EXPECT_EQ(timer.elapsedSeconds(1), 0.0f);
    EXPECT_EQ(timer.ratePerSecond(1), 0.0f);
}

TEST(PerformanceCounter, RunsAtAFixedFrequencyAndNeverGoesBack) {
    LARGE_INTEGER frequency, earlier, later;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, 1000000000);
    ASSERT_TRUE(QueryPerformanceCounter(&earlier));
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(QueryPerformanceCounter(&later));
        ASSERT_GE(later.QuadPart, earlier.QuadPart);
        earlier = later;
    }
}
