// race_whole_test.cpp - a race on each track, headless, at a steady 60 frames a second,
// through the whole race frame: the end of the start countdown with the player held on
// the grid, a picture of the race a few seconds after the start (race-1.png to race-4.png
// in the folder that KORV_SCREENSHOT_DIR names, or in screenshots/ in the build folder),
// the end of the last lap on the track's real outline, until three laps' worth of checkpoints
// end the race, the result screen, the prize and the next track. The laps before are
// taken as driven: the headless race drives every outline three times round and the race
// rules count the laps; what only whole frames show is the race ending by itself.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "frame_pixels.h"
#include "game_fixture.h"
#include "race_driver.h"
#include "race_frame.h"
#include "vector_checks.h"
#include "world.h"

namespace {

const float frame = 1.0f / 60;

// Corner 2 of wall slot 1 tells the tracks apart.
Vector3 firstWallEnd(int track) {
    switch (track) {
    case 1: return Vector3(400, 0, -30);
    case 2: return Vector3(1000 / 3.0f, 0, -0.0f);
    case 3: return Vector3(0, 0, -0.0f);
    default: return Vector3(1400 / 3.0f, 0, -0.0f);
    }
}

class RaceWhole : public GameFixture, public ::testing::WithParamInterface<int> {
protected:
    RaceWhole() : GameFixture(640, 480, StartUp::Leave) {}

    void runFrame() {
        driver.drive();
        frameTime = frame;
        runRaceFrame();
        ++frames;
    }
    RaceDriver driver;
    int frames = 0;
};

}  // namespace

TEST_P(RaceWhole, FromTheStartThroughTheLastLapToThePrizeAndTheNextTrack) {
    const int track = GetParam();
    const std::filesystem::path picture =
        screenshotDir() / ("race-" + std::to_string(track) + ".png");
    std::filesystem::create_directories(picture.parent_path());
    ASSERT_TRUE(startRunHere(track));
    ASSERT_EQ(trackLevel, track);
    ASSERT_GT(trackPointCount, 2);

    // The last seconds of the countdown: the opponents may throttle from 3 seconds, the
    // player, key A held, stays on the grid until the last second (the update runs after
    // the tick, so the frame that passes 1 already lets it go).
    raceCountdown = 3.5f;
    const Vector3 grid = playerCar.position;
    while (raceCountdown - frame > 1.0f) {
        runFrame();
        ASSERT_EQ(playerCar.position, grid) << "frame " << frames;
    }
    EXPECT_NEAR(frames, 150, 1);

    // The picture, two and a half seconds into the race, as it was swapped.
    while (raceCountdown > -2.5f) runFrame();
    const FramePixels shown(GL_FRONT);
    EXPECT_NE(playerCar.position, grid);
    EXPECT_GT(shown.count([](Rgb c) { return c.r + c.g + c.b > 30; }), 640 * 480 / 10)
        << "the picture shows the race, not an empty frame";
    ASSERT_TRUE(shown.writePng(picture.string())) << picture;
    std::printf("wrote %s\n", picture.string().c_str());

    // The last quarter of the third lap, from a stop on the outline: the race ends when
    // the player has passed more than three laps' worth of checkpoints, just short of the
    // line.
    const int lapsWorth = 3 * trackPointCount;
    const int from = trackPointCount - trackPointCount / 4;
    playerCar.position = trackPoints[from];
    playerCar.velocity = Vector3(0, 0, 0);
    playerCar.enginePower = 0;
    playerCar.aiWaypoint = from + 1;
    playerCar.nextCheckpoint = from;
    playerCar.lap = 3;
    playerCar.checkpointsPassed = 2 * (trackPointCount + 1) + from;
    ASSERT_FALSE(raceIsOver());
    const int raceLimit = frames + 60 * 60 * 3;
    int lastCheckpoints = playerCar.checkpointsPassed, sinceProgress = 0;
    while (!raceIsOver() && frames < raceLimit) {
        runFrame();
        ASSERT_FALSE(playerCar.destroyed)
            << "frame " << frames << " at " << playerCar.position.x << ", "
            << playerCar.position.z << ", checkpoints " << playerCar.checkpointsPassed;
        ASSERT_TRUE(isFinite(playerCar.position) && isFinite(playerCar.velocity));
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
    RecordProperty("frames", frames);

    // The result screen holds the shield at 100 and the camera on the grid; its five
    // seconds are the race rules' to count, so the test lets the last of them run out.
    runFrame();
    ASSERT_EQ(gameState, GameState::Race);
    EXPECT_EQ(playerCar.shield, 100.0f);
    EXPECT_EQ(cameraPosition, Vector3(100, 1, -25));
    EXPECT_EQ(money, 3000);
    raceEndTimer = 5 - frame / 2;
    const int placePaid = playerCar.place;
    runFrame();
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

INSTANTIATE_TEST_SUITE_P(Tracks, RaceWhole, ::testing::Range(1, 5), trackTestName);
