// race_whole_test.cpp - a whole race on each track, headless, at a steady 60 frames a
// second: the start countdown, three laps with the player's car driven by the game's
// computer steering, the result screen, the prize and the next track built.
#include <gtest/gtest.h>

#include <cmath>

#include "gl_test_context.h"
#include "race_driver.h"
#include "race_frame.h"
#include "world.h"

namespace {

bool finite(const Vector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Corner 2 of wall slot 1 tells the tracks apart.
Vector3 firstWallEnd(int track) {
    switch (track) {
    case 1: return Vector3(400, 0, -30);
    case 2: return Vector3(1000 / 3.0f, 0, -0.0f);
    case 3: return Vector3(0, 0, -0.0f);
    default: return Vector3(1400 / 3.0f, 0, -0.0f);
    }
}

class RaceWhole : public ::testing::TestWithParam<int> {};

}  // namespace

TEST_P(RaceWhole, FromTheCountdownThroughThreeLapsToThePrizeAndTheNextTrack) {
    const int track = GetParam();
    ASSERT_NE(openTestWindow(640, 480), nullptr);
    ASSERT_TRUE(startRunOnTrack("race-whole-" + std::to_string(track), track));
    ASSERT_EQ(trackLevel, track);
    ASSERT_GT(trackPointCount, 2);
    const float frame = 1.0f / 60;
    const int lapsWorth = 3 * trackPointCount;
    const Vector3 grid = playerCar.position;
    RaceDriver driver;

    // The countdown: the player is held on the grid until the last second (the update
    // runs after the tick, so the frame that passes 1 already lets it go).
    int frames = 0;
    while (raceCountdown - frame > 1.0f) {
        driver.drive();
        frameTime = frame;
        runRaceFrame();
        ++frames;
        ASSERT_EQ(playerCar.position, grid) << "frame " << frames;
    }
    EXPECT_NEAR(frames, 9 * 60, 2);

    // The race, until the player has passed three laps' worth of checkpoints.
    const int raceLimit = 60 * 60 * 8;
    int lastCheckpoints = playerCar.checkpointsPassed, sinceProgress = 0;
    while (!raceIsOver() && frames < raceLimit) {
        driver.drive();
        frameTime = frame;
        runRaceFrame();
        ++frames;
        ASSERT_FALSE(playerCar.destroyed)
            << "frame " << frames << " at " << playerCar.position.x << ", "
            << playerCar.position.z << ", checkpoints " << playerCar.checkpointsPassed;
        ASSERT_TRUE(finite(playerCar.position) && finite(playerCar.velocity));
        if (playerCar.checkpointsPassed != lastCheckpoints) {
            lastCheckpoints = playerCar.checkpointsPassed;
            sinceProgress = 0;
        }
        ASSERT_LT(++sinceProgress, 60 * 40)
            << "stuck at " << playerCar.position.x << ", " << playerCar.position.z
            << " before checkpoint " << playerCar.nextCheckpoint;
        ASSERT_EQ(gameState, GameState::Race);
    }
    ASSERT_TRUE(raceIsOver()) << "checkpoints " << playerCar.checkpointsPassed << " of "
                              << lapsWorth + 1;
    // On the water track several checkpoints within reach can pass in one frame.
    EXPECT_GE(playerCar.checkpointsPassed, lapsWorth + 1);

    // The result screen: five seconds with the shield held at 100, then the prize for the
    // place of the frame before and the next track.
    int resultFrames = 0, placePaid = 0;
    while (gameState == GameState::Race && resultFrames < 400) {
        placePaid = playerCar.place;
        driver.drive();
        frameTime = frame;
        runRaceFrame();
        ++resultFrames;
        if (gameState == GameState::Race) {
            EXPECT_EQ(playerCar.shield, 100.0f);
            EXPECT_EQ(cameraPosition, Vector3(100, 1, -25));
        }
    }
    EXPECT_EQ(resultFrames, 300);   // the float sum of 1/60 s passes 5.0 in the 300th
    ASSERT_EQ(gameState, GameState::MainMenu);
    EXPECT_GE(placePaid, 1);
    EXPECT_LE(placePaid, 5);
    EXPECT_EQ(money, 3000 + (5 - placePaid) * 1000);
    const int next = track < 4 ? track + 1 : 4;
    EXPECT_EQ(trackLevel, next);
    EXPECT_EQ(trackWalls[1].corner[2], firstWallEnd(next));
    EXPECT_EQ(trackScale, next == 1 ? 1.0f : 3.0f);
    // The rest of that frame already ran the new track's countdown.
    EXPECT_FLOAT_EQ(raceCountdown, 5.0f - frame);
    EXPECT_EQ(playerCar.position, Vector3(40, 0, -25));
    EXPECT_EQ(otherCars[3].position, Vector3(80, 0, -25));
    EXPECT_EQ(playerCar.checkpointsPassed, 1);
    EXPECT_EQ(raceEndTimer, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(Tracks, RaceWhole, ::testing::Values(1, 2, 3, 4),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Track" + std::to_string(info.param);
                         });
