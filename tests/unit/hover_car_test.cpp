// hover_car_test.cpp - the car record's start values, the starting grid, the reset for
// the next race and the explosion's bookkeeping (no window: the GL calls go nowhere).
#include <gtest/gtest.h>

#include "new_race.h"
#include "random.h"
#include "world.h"

namespace {

void expectVector(const Vector3& v, float x, float y, float z, const char* what) {
    EXPECT_FLOAT_EQ(v.x, x) << what;
    EXPECT_FLOAT_EQ(v.y, y) << what;
    EXPECT_FLOAT_EQ(v.z, z) << what;
}

}  // namespace

TEST(HoverCarConstruction, StaticOrderFillsTheGridAndLeavesSeed14) {
    // playerCar is the first car built and draws from the initial state: 41 % 5.
    EXPECT_FLOAT_EQ(playerCar.aiCruiseSpeed, 1.0f);
    expectVector(playerCar.position, 40, 0, -25, "player");
    for (int k = 0; k < 20; ++k) {
        SCOPED_TRACE(k);
        expectVector(otherCars[k].position, 50.0f + 10.0f * k, 0, -25, "other car");
        EXPECT_FLOAT_EQ(otherCars[k].aiCruiseSpeed, 4.0f);   // 84 % 5 after seed 14
    }
    EXPECT_EQ(nextGridSlot, 21);
    EXPECT_EQ(randomState, 14u);
}

TEST(HoverCarConstruction, StartValues) {
    const HoverCar& car = otherCars[7];
    expectVector(car.direction, 1, 0, 0, "direction");
    expectVector(car.velocity, 0, 0, 0, "velocity");
    expectVector(car.color, 1, 0, 1, "colour");
    EXPECT_FALSE(car.debris.active);
    EXPECT_FALSE(car.isBoulder);
    EXPECT_FALSE(car.inPool);
    EXPECT_EQ(car.enginePower, 0);
    EXPECT_EQ(car.hoverLift, 0);
    EXPECT_TRUE(car.computerDriven);
    EXPECT_EQ(car.aiWaypoint, 1);
    EXPECT_EQ(car.heading, 0);
    EXPECT_EQ(car.accel, 2.0f);
    EXPECT_EQ(car.driveMode, DriveMode::Coast);
    EXPECT_EQ(car.nextCheckpoint, 0);
    EXPECT_EQ(car.lap, 1);
    EXPECT_EQ(car.place, 0);
    EXPECT_FALSE(car.ranked);
    EXPECT_EQ(car.checkpointsPassed, 0);
    EXPECT_EQ(car.shield, 100.0f);
    EXPECT_FALSE(car.hitThisFrame);
    EXPECT_FALSE(car.destroyed);
    EXPECT_EQ(car.blastRadius, 0);
    EXPECT_EQ(car.thrust, 0);
    EXPECT_EQ(car.speedFactor, 1.0f);
    EXPECT_FALSE(car.boostActive);
    EXPECT_EQ(car.boostTimer, 4.0f);
    EXPECT_EQ(car.topSpeed, 1.4f);
    EXPECT_EQ(car.boostPower, 1.4f);
    EXPECT_EQ(car.turnRate, 1.0f);
    EXPECT_EQ(car.boostsLeft, 4.0f);
}

TEST(HoverCarReset, FiveResetsPutTheRacersOnSlotsZeroToFour) {
    gameSrand(999);   // wherever the generator stood, only the first car draws from it
    nextGridSlot = 0;
    resetRacers();   // as a new game and a race end reset them
    expectVector(playerCar.position, 40, 0, -25, "player");
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        expectVector(otherCars[k].position, 50.0f + 10.0f * k, 0, -25, "opponent");
        expectVector(otherCars[k].direction, 1, 0, 0, "opponent direction");
        EXPECT_FLOAT_EQ(otherCars[k].aiCruiseSpeed, 4.0f);
    }
    EXPECT_EQ(nextGridSlot, 5);
    EXPECT_EQ(randomState, 14u);
    // The spare car and the boulders are never reset.
    expectVector(otherCars[4].position, 90, 0, -25, "spare car");
}

TEST(HoverCarReset, WritesTheResetColumnAndKeepsTheRest) {
    HoverCar& car = otherCars[2];
    car.position = Vector3(300, 0, -90);
    car.direction = Vector3(0, 0, -1);
    car.velocity = Vector3(1, 0, 2);
    car.isBoulder = true;
    car.inPool = true;
    car.enginePower = 1500;
    car.hoverLift = 4;
    car.computerDriven = false;
    car.aiWaypoint = 33;
    car.heading = 2.5f;
    car.accel = 7;
    car.driveMode = DriveMode::Throttle;
    car.nextCheckpoint = 40;
    car.lap = 3;
    car.place = 2;
    car.ranked = true;
    car.checkpointsPassed = 90;
    car.shield = -5;
    car.hitThisFrame = true;
    car.destroyed = true;
    car.blastRadius = 72;
    car.thrust = 38;
    car.speedFactor = 0.3f;
    car.boostActive = true;
    car.boostTimer = -1;
    car.color = Vector3(0.2f, 0.7f, 0.4f);
    car.topSpeed = 3;
    car.boostPower = 2;
    car.turnRate = 2;
    car.boostsLeft = 0;
    car.debris.start(Vector3(5, 0, -5));
    cameraOffset = Vector3(40, 10, 0);
    nextGridSlot = 3;

    car.resetForRace();

    expectVector(car.position, 70, 0, -25, "position");
    expectVector(car.direction, 1, 0, 0, "direction");
    expectVector(car.velocity, 0, 0, 0, "velocity");
    EXPECT_FALSE(car.isBoulder);
    EXPECT_FALSE(car.inPool);
    EXPECT_EQ(car.hoverLift, 0);
    EXPECT_EQ(car.aiWaypoint, 1);
    EXPECT_EQ(car.heading, 0);
    EXPECT_EQ(car.accel, 2.0f);
    EXPECT_EQ(car.driveMode, DriveMode::Coast);
    EXPECT_EQ(car.nextCheckpoint, 1);
    EXPECT_EQ(car.lap, 1);
    EXPECT_EQ(car.checkpointsPassed, 1);
    EXPECT_EQ(car.shield, 100.0f);
    EXPECT_FALSE(car.hitThisFrame);
    EXPECT_FALSE(car.destroyed);
    EXPECT_EQ(car.blastRadius, 0);
    EXPECT_EQ(car.speedFactor, 1.0f);
    EXPECT_EQ(car.boostTimer, 4.0f);
    expectVector(car.color, 1, 0.7f, 1, "colour");
    EXPECT_EQ(car.topSpeed, 1.4f);
    EXPECT_EQ(car.boostPower, 1.4f);
    EXPECT_EQ(car.turnRate, 1.0f);
    EXPECT_EQ(car.boostsLeft, 2.0f);
    expectVector(cameraOffset, 1, 1, 1, "camera offset");
    EXPECT_EQ(nextGridSlot, 4);

    // Left as they were.
    EXPECT_EQ(car.enginePower, 1500);
    EXPECT_FALSE(car.computerDriven);
    EXPECT_EQ(car.place, 2);
    EXPECT_TRUE(car.ranked);
    EXPECT_EQ(car.thrust, 38);
    EXPECT_TRUE(car.boostActive);
    EXPECT_TRUE(car.debris.active);
    expectVector(car.debris.origin, 5, 0, -5, "debris origin");
}

TEST(HoverCarExplosion, DoesNothingForACarThatIsNotDestroyed) {
    HoverCar& car = otherCars[1];
    cameraOffset = Vector3(1, 1, 1);
    frameTime = 0.05f;
    const uint32_t stateBefore = randomState;
    car.drawExplosion();
    EXPECT_EQ(car.heading, 0);
    EXPECT_EQ(car.blastRadius, 0);
    EXPECT_FALSE(car.debris.active);
    EXPECT_EQ(randomState, stateBefore);
    expectVector(cameraOffset, 1, 1, 1, "camera offset");
}

TEST(HoverCarExplosion, RadiusGrowsByWholeFrameSteps) {
    struct Case {
        float frameTime;
        int frames;
        int expectedRadius;
    };
    const Case cases[] = {
        {0.04f, 1, 2},
        {0.01f, 10, 0},    // trunc(0.6): below 1/60 s the sphere never grows
        {0.05f, 23, 69},
        {0.05f, 24, 72},
        {0.05f, 40, 72},   // stops at the first value of 70 or more
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frameTime);
        HoverCar& car = otherCars[0];
        car.destroyed = true;
        car.blastRadius = 0;
        car.heading = 0;
        frameTime = c.frameTime;
        for (int i = 0; i < c.frames; ++i) car.drawExplosion();
        EXPECT_EQ(car.blastRadius, c.expectedRadius);
        EXPECT_FLOAT_EQ(car.heading, float(c.frames));   // one radian per frame
    }
}

TEST(HoverCarExplosion, StartsTheDebrisOnceAtTheWreck) {
    HoverCar& car = otherCars[3];
    car.destroyed = true;
    car.position = Vector3(120, 0, -60);
    frameTime = 0.02f;
    car.drawExplosion();
    ASSERT_TRUE(car.debris.active);
    expectVector(car.debris.origin, 120, 0, -60, "origin");
    expectVector(car.debris.particles[299].position, 120, 0, -60, "particle");

    car.position = Vector3(0, 0, -5);   // later frames animate, they do not restart
    car.drawExplosion();
    expectVector(car.debris.origin, 120, 0, -60, "origin after a second frame");
}

TEST(HoverCarExplosion, PullsTheCameraBackOnlyForThePlayer) {
    frameTime = 0.02f;
    cameraOffset = Vector3(1, 1, 1);
    otherCars[0].destroyed = true;
    otherCars[0].drawExplosion();
    expectVector(cameraOffset, 1, 1, 1, "after an opponent's explosion");

    playerCar.computerDriven = false;
    playerCar.destroyed = true;
    playerCar.drawExplosion();
    expectVector(cameraOffset, 40, 10, 1, "after the player's explosion");
}
