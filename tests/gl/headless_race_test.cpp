// headless_race_test.cpp - whole races on the four tracks with the real outline files,
// at a steady 60 frames a second, the cars updated in the race frame's order: every
// computer car must drive three laps within five minutes, no car may turn non-finite,
// and none may stay stuck against a wall. The player's car is driven through the game's
// key handler.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "gl_test_context.h"
#include "key_bindings.h"
#include "new_race.h"
#include "race_frame.h"
#include "test_paths.h"
#include "vector_checks.h"
#include "window_procedure.h"
#include "world.h"

namespace {

const double pi = 3.14159265358979;
const int framesPerSecond = 60;
const int raceFrames = 5 * 60 * framesPerSecond;
// A car that is racing covers far more than this in any such window.
const int stuckWindow = 10 * framesPerSecond;
const double stuckDistance = 20.0;

// The player at the keys, once per frame before the frame runs, as the main loop polls
// them: it holds Left or Right to aim the car's velocity, not its nose, at a point a little
// ahead on the outline, and A or D to keep a modest speed. The game's key handler does
// the rest (the turn by turnRate x frameTime, a third of it in a pool).
class KeyDriver {
public:
    void drive() {
        const HoverCar& car = playerCar;
        if (car.destroyed || trackPointCount < 2) return;
        for (int advances = 0; advances <= trackPointCount; ++advances) {
            if (horizontalDistance(trackPoints[waypoint], car.position) >= lookAhead) break;
            waypoint = waypoint < trackPointCount ? waypoint + 1 : 2;
        }
        const Vector3 to = trackPoints[waypoint] - car.position;
        const double distance = std::sqrt(double(to.x) * to.x + double(to.z) * to.z);
        if (distance <= 0) return;
        const double ux = to.x / distance, uz = to.z / distance;
        const double along = car.velocity.x * ux + car.velocity.z * uz;
        const double sideX = car.velocity.x - along * ux, sideZ = car.velocity.z - along * uz;
        const double wantX = (cruise - along) * ux - 3 * sideX;
        const double wantZ = (cruise - along) * uz - 3 * sideZ;

        // The heading h travels along (sin h + cos h, cos h - sin h): angle h + pi / 4.
        double error = std::atan2(wantX, wantZ) - pi / 4 - car.heading;
        while (error > pi) error -= 2 * pi;
        while (error < -pi) error += 2 * pi;
        const double step = car.turnRate * frameTime;
        const int held[] = {VK_LEFT, VK_RIGHT, keyA, keyD};
        if (std::fabs(error) > step / 2) keyDown[error > 0 ? VK_LEFT : VK_RIGHT] = true;
        const double wanted = std::sqrt(wantX * wantX + wantZ * wantZ);
        if (std::fabs(error) < 0.7 && wanted > 0.03) {
            keyDown[keyA] = true;
        } else if (wanted < 0.3) {
            keyDown[keyD] = true;
        }
        pollKeys();
        for (int key : held) keyDown[key] = false;
    }

private:
    static const int keyA = 'A', keyD = 'D';
    const double cruise = 0.8;
    const double lookAhead = 24;
    int waypoint = 1;
};

struct CarRecord {
    int finishFrame = -1;
    int stuckAtFrame = -1;
    int nonFiniteAtFrame = -1;
};

const char* levelLabel(int level) {
    static const char* const names[] = {"", "Wind", "Rock", "Water", "Fire"};
    return names[level];
}

}  // namespace

class HeadlessRace : public ::testing::TestWithParam<int> {};

TEST_P(HeadlessRace, EveryOpponentDrivesThreeLapsWithinFiveMinutes) {
    const int level = GetParam();
    freshWorkDir(std::string("headless-race-") + levelLabel(level));
    copyDataFilesHere();
    ASSERT_NE(openTestWindow(), nullptr);

    // The start-up's part: the player steers itself, the fireballs burn at their places.
    playerCar.computerDriven = false;
    bursts[0].start(Vector3(310, 0, -15));
    bursts[1].start(Vector3(380, 0, -200));
    bursts[2].start(Vector3(40, 0, -215));
    bursts[3].start(Vector3(40, 0, -225));

    // The race a race end starts: the boulders from seed 14, the 5-second countdown.
    startNextRace(level);
    ASSERT_GT(trackPointCount, 10) << "the outline of " << levelLabel(level) << " did not load";
    const int lapsWorth = 3 * trackPointCount;

    frameTime = 1.0f / framesPerSecond;
    HoverCar* const racers[5] = {&otherCars[0], &otherCars[1], &otherCars[2], &otherCars[3],
                                 &playerCar};
    CarRecord records[5];
    static Vector3 trail[5][stuckWindow];   // where each racer stood, a window back
    KeyDriver keys;

    int frame = 0;
    for (; frame < raceFrames; ++frame) {
        keys.drive();
        // The race frame's steps that move or damage cars, in its order, without the
        // drawing between them.
        tickCountdownAndCameraPath();
        if (level == 2) runBoulders();
        if (level == 3) updatePoolMembership();
        updateRacers();
        if (level == 4) {
            for (int burst = 0; burst < 4; ++burst) applyFireballDamage(burst);
        }

        bool opponentsDone = true;
        for (int c = 0; c < 5; ++c) {
            const HoverCar& car = *racers[c];
            CarRecord& record = records[c];
            if (record.nonFiniteAtFrame < 0 &&
                !(isFinite(car.position) && isFinite(car.direction) && isFinite(car.velocity))) {
                record.nonFiniteAtFrame = frame;
            }
            if (record.finishFrame < 0 && car.checkpointsPassed > lapsWorth) {
                record.finishFrame = frame;
            }
            Vector3& then = trail[c][frame % stuckWindow];
            if (frame >= stuckWindow && raceCountdown < 0 && !car.destroyed &&
                record.stuckAtFrame < 0 && horizontalDistance(then, car.position) < stuckDistance) {
                record.stuckAtFrame = frame;
            }
            then = car.position;
            if (c < 4 && record.finishFrame < 0) opponentsDone = false;
        }
        if (opponentsDone) break;
    }

    for (int c = 0; c < 5; ++c) {
        const HoverCar& car = *racers[c];
        const CarRecord& record = records[c];
        std::ostringstream who;
        who << levelLabel(level);
        if (c < 4) {
            who << " opponent " << c;
        } else {
            who << " player";
        }
        who << " at (" << car.position.x << ", " << car.position.z << "), shield " << car.shield
            << ", " << car.checkpointsPassed << " of " << lapsWorth + 1 << " checkpoints";
        EXPECT_LT(record.nonFiniteAtFrame, 0) << who.str() << " turned non-finite";
        EXPECT_LT(record.stuckAtFrame, 0)
            << who.str() << " stuck from " << record.stuckAtFrame / framesPerSecond << " s";
        if (c < 4) {
            EXPECT_FALSE(car.destroyed) << who.str();
            EXPECT_GE(record.finishFrame, 0) << who.str() << " did not finish in five minutes";
        }
    }
    RecordProperty("seconds", frame / framesPerSecond);
}

INSTANTIATE_TEST_SUITE_P(Tracks, HeadlessRace, ::testing::Values(1, 2, 3, 4),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(levelLabel(info.param));
                         });
