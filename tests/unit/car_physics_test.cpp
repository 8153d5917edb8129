// car_physics_test.cpp - one car's update: sub-steps, dead zone, throttle, drag and
// coasting, boost, post damage, contact, wall bounce, steering, checkpoints and laps.
// No window: the drawing inside the update goes to no context and does nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "test_paths.h"
#include "vector_checks.h"
#include "world.h"

namespace {

// Far from the origin, where empty wall slots and unset outline points lie.
const Vector3 openGround(5000, 0, -5000);

// A car alone on open ground during the race, with nothing in the way.
HoverCar& playerAt(const Vector3& where) {
    HoverCar& car = playerCar;
    car.computerDriven = false;
    car.position = where;
    car.velocity = Vector3();
    car.driveMode = DriveMode::Coast;
    return car;
}

void outline(std::initializer_list<Vector3> points) {
    int i = 0;
    for (const Vector3& p : points) trackPoints[i++] = p;
    trackPoints[i] = Vector3();
    trackPointCount = i - 1;
}

class CarPhysics : public ::testing::Test {
protected:
    void SetUp() override {
        trackLevel = 2;          // no wind
        raceCountdown = -10.0f;  // racing
        frameTime = 0.1f;
        // One far outline point so that the checkpoint and waypoint tests find nothing.
        outline({Vector3(-9000, 0, 9000), Vector3(-9000, 0, 9100)});
    }
};

}  // namespace

TEST_F(CarPhysics, SubStepCountFollowsTheSpeed) {
    // Coasting loses 0.3 x frameTime of the power per sub-step, so the power left shows
    // how many sub-steps ran.
    struct Case {
        float speed;
        int steps;
    };
    const Case cases[] = {{0, 1}, {0.05f, 1}, {0.25f, 2}, {0.99f, 9}, {1.0f, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.speed);
        HoverCar& car = playerAt(openGround);
        car.velocity = Vector3(c.speed, 0, 0);
        car.enginePower = 1000;
        car.update(car);
        EXPECT_NEAR(car.enginePower, 1000 * std::pow(0.97, c.steps), 0.05);
        // The whole velocity is moved once per frame, whatever the count.
        EXPECT_NEAR(car.position.x - openGround.x, c.speed, 0.01 * c.steps + 1e-3);
    }
}

TEST_F(CarPhysics, DeadZoneClearsTinyComponents) {
    struct Case {
        Vector3 before;
        Vector3 after;
    };
    const Case cases[] = {
        {Vector3(0.0015f, 0, -0.0019f), Vector3(0, 0, 0)},
        {Vector3(0.0025f, 0, 0), Vector3(0.0025f, 0, 0)},
        {Vector3(-0.002f, 0, 0.002f), Vector3(-0.002f, 0, 0.002f)},   // strictly inside only
        {Vector3(0.001f, 0, 0.5f), Vector3(0, 0, 0.5f)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before.x);
        HoverCar& car = playerAt(openGround);
        car.velocity = c.before;
        car.driveMode = DriveMode::Glide;   // glide: no friction, no thrust
        car.update(car);
        EXPECT_EQ(car.velocity, c.after);
    }
}

TEST_F(CarPhysics, ThrottleFromRestPushesOnlyFromTheSecondFrame) {
    HoverCar& car = playerAt(openGround);
    car.enginePower = 0;
    car.heading = 0;
    car.driveMode = DriveMode::Throttle;
    car.update(car);
    EXPECT_EQ(car.velocity, Vector3());
    EXPECT_EQ(car.enginePower, car.accel);
    EXPECT_FLOAT_EQ(car.hoverLift, 0.08f);
    // Heading 0 gives a travel direction of length sqrt(2) until the next update.
    EXPECT_EQ(car.direction, Vector3(1, 0, 1));

    car.driveMode = DriveMode::Throttle;
    car.update(car);
    const float push = std::sqrt(2.0f) / 10 * 0.70710677f * frameTime;
    EXPECT_NEAR(car.velocity.x, push, 1e-6);
    EXPECT_NEAR(car.velocity.z, push, 1e-6);
}

TEST_F(CarPhysics, EnginePowerIsCappedByTheSpeedFactor) {
    struct Case {
        bool boosting;
        float expectedCap;
    };
    const Case cases[] = {{false, 2000}, {true, 2800}};
    for (const Case& c : cases) {
        HoverCar& car = playerAt(openGround);
        car.enginePower = 2790;
        car.accel = 500;
        car.boostActive = c.boosting;
        car.boostTimer = 4.0f;
        car.boostsLeft = 2;
        car.speedFactor = 1.0f;
        car.driveMode = DriveMode::Throttle;
        car.update(car);
        EXPECT_EQ(car.enginePower, c.expectedCap) << c.boosting;
    }
}

TEST_F(CarPhysics, DragAtAndAboveTheTopSpeedForAtMostFiftyIterations) {
    // One sub-step (speed 0.05); thrust 30 takes a tenth of the speed per drag iteration
    // at a frame time of 0.1, and then pushes 0.3 along +x.
    struct Case {
        float topSpeed;
        float expected;
    };
    const Case cases[] = {
        {1.0f, 0.05f + 0.3f},                            // below the top speed: no drag
        {0.05f, 0.045f + 0.3f},                          // equal still drags, once
        {0.01f, 0.05f * float(std::pow(0.9, 16)) + 0.3f},   // until below 0.01
        {0.0f, 0.05f * float(std::pow(0.9, 50)) + 0.3f},    // never below: 50 iterations
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.topSpeed);
        HoverCar& car = playerAt(openGround);
        car.velocity = Vector3(0.05f, 0, 0);
        car.enginePower = 900;
        car.topSpeed = c.topSpeed;
        car.direction = Vector3(1, 0, 0);
        car.heading = -0.7853982f;   // keeps the direction at +x after the update
        car.driveMode = DriveMode::Throttle;
        car.update(car);
        EXPECT_NEAR(car.velocity.x, c.expected, 1e-5);
    }
}

TEST_F(CarPhysics, CoastingFrictionAndPowerLoss) {
    struct Case {
        float component;
        float expected;
    };
    // frameTime 0.1: friction takes 0.01 from each of x and z per sub-step.
    const Case cases[] = {
        {0.05f, 0.04f},
        {-0.05f, -0.04f},
        {0.005f, 0.005f},    // lowered below 0 and raised back
        {-0.005f, 0.005f},   // raised past 0: ends positive
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.component);
        HoverCar& car = playerAt(openGround);
        car.velocity = Vector3(c.component, 0, c.component);
        car.update(car);
        EXPECT_NEAR(car.velocity.x, c.expected, 1e-6);
        EXPECT_NEAR(car.velocity.z, c.expected, 1e-6);
    }

    HoverCar& car = playerAt(openGround);
    car.enginePower = 60;
    car.hoverLift = 0.2f;
    frameTime = 0.6f;
    car.update(car);   // 60 -> 49.2 -> 0 in the one sub-step
    EXPECT_EQ(car.enginePower, 0);
    EXPECT_EQ(car.hoverLift, 0);
}

TEST_F(CarPhysics, StartCountdownHoldsTheCars) {
    struct Case {
        float countdown;
        bool computer;
        bool throttles;
    };
    const Case cases[] = {
        {4.0f, true, false}, {4.0f, false, false}, {2.0f, true, true},
        {2.0f, false, false}, {0.5f, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.countdown * 10 + c.computer);
        HoverCar& car = otherCars[1];
        car.computerDriven = c.computer;
        car.position = openGround;
        car.velocity = Vector3();
        car.enginePower = 0;
        car.driveMode = DriveMode::Throttle;
        raceCountdown = c.countdown;
        car.update(playerCar);
        EXPECT_EQ(car.enginePower > 0, c.throttles);
    }
}

TEST_F(CarPhysics, BoostCycle) {
    HoverCar& car = playerAt(openGround);
    car.boostPower = 1.4f;
    car.boostsLeft = 2;
    car.boostTimer = 4.0f;
    frameTime = 1.0f;

    struct Step {
        bool pressZ;
        float boostsLeft;
        float timer;
        float speedFactor;
        bool active;
    };
    const Step steps[] = {
        {true, 1, 3, 1.4f, true},     // first update of the boost takes one
        {false, 1, 2, 1.4f, true},
        {false, 1, 1, 1.4f, true},
        {false, 1, 0, 1.4f, true},
        {false, 1, 4, 1.0f, false},   // below 0: over, ready again
        {true, 0, 3, 1.4f, true},     // the last boost
        {false, 0, 2, 1.4f, true},
        {false, 0, 1, 1.4f, true},
        {false, 0, 0, 1.4f, true},
        {false, 0, -1, 1.0f, false},  // spent
        {true, 0, -2, 1.0f, false},   // Z has no effect any more
    };
    int i = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(i++);
        if (s.pressZ) car.boostActive = true;
        car.update(car);
        EXPECT_EQ(car.boostsLeft, s.boostsLeft);
        EXPECT_EQ(car.boostTimer, s.timer);
        EXPECT_EQ(car.speedFactor, s.speedFactor);
        EXPECT_EQ(car.boostActive, s.active);
    }

    // A first boost update with no time passing leaves the timer at exactly 4.0, so the
    // next update takes a second boost.
    car.boostsLeft = 2;
    car.boostTimer = 4.0f;
    car.boostActive = true;
    frameTime = 0;
    car.update(car);
    car.update(car);
    EXPECT_EQ(car.boostsLeft, 0);
}

TEST_F(CarPhysics, WindPushesOnlyThePlayerOnTheWindTrack) {
    struct Case {
        bool computer;
        int level;
        float countdown;
        float expectedZ;
    };
    const Case cases[] = {
        {false, 1, -6.0f, -0.1f},
        {false, 1, -4.0f, 0},
        {false, 2, -6.0f, 0},
        {true, 1, -6.0f, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level * 10 + c.computer);
        HoverCar& car = otherCars[2];
        car.computerDriven = c.computer;
        car.position = openGround;
        car.velocity = Vector3();
        car.driveMode = DriveMode::Glide;
        car.aiCruiseSpeed = 0;
        trackLevel = c.level;
        raceCountdown = c.countdown;
        car.update(playerCar);
        EXPECT_FLOAT_EQ(car.velocity.z, c.expectedZ);
    }
}

TEST(CarContact, ReachIsBelowTwoAndTheTermsScaleWithTheSquareOfTheDistance) {
    struct Case {
        float distance;
        bool touches;
        float expectedX;   // this car at +1 along x, the other coming at -1
    };
    const Case cases[] = {
        {2.0f, false, 1.0f},
        {1.0f, true, -2.0f},          // own component lost, twice the other's gained
        {0.5f, true, 1 - 0.25f - 0.5f},
        {1.9f, true, 1 - 3.61f - 7.22f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.distance);
        HoverCar& car = otherCars[0];
        HoverCar& other = otherCars[1];
        car.position = Vector3(100, 0, -50);
        car.velocity = Vector3(1, 0, 0);
        other.position = Vector3(100 + c.distance, 0, -50);
        other.velocity = Vector3(-1, 0, 0);
        EXPECT_EQ(car.collideWith(other), c.touches);
        EXPECT_NEAR(car.velocity.x, c.expectedX, 1e-5 * std::fabs(c.expectedX) + 1e-6);
        EXPECT_EQ(car.velocity.z, 0);
        EXPECT_EQ(other.velocity, Vector3(-1, 0, 0));   // the other car never changes
    }
}

class WallBounce : public ::testing::Test {
protected:
    void SetUp() override {
        freshWorkDir(std::string("bounce-") +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
        trackLevel = 1;
        buildTrack();   // slot 1: (40, 0, -30) to (400, 0, -30), 360 units
    }
};

TEST_F(WallBounce, BandOfALongWall) {
    struct Case {
        float x;
        float offset;   // from the base line, either side
        bool bounces;
    };
    const Case cases[] = {
        {220, 0, false},     // on the wall itself the angles sum to 2 pi
        {220, 0.5f, false},
        {220, 1.5f, true},
        {220, -1.5f, true},
        {220, 3.0f, false},
        {100, 1.0f, true},   // 60 from an end the band is nearer and thinner
        {100, 2.0f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x * 100 + c.offset);
        HoverCar& car = otherCars[0];
        car.velocity = Vector3(0.3f, 0, -0.4f);
        car.direction = Vector3(0.6f, 0, -0.8f);
        car.bounceOffWalls(Vector3(c.x, 0, -30 + c.offset));
        if (c.bounces) {
            EXPECT_NEAR(car.velocity.x, 0.3f, 1e-6);
            EXPECT_NEAR(car.velocity.z, 0.4f, 1e-6);
            EXPECT_NEAR(car.direction.z, 0.8f, 1e-6);
        } else {
            EXPECT_EQ(car.velocity, Vector3(0.3f, 0, -0.4f));
            EXPECT_EQ(car.direction, Vector3(0.6f, 0, -0.8f));
        }
    }
}

TEST_F(WallBounce, ACarAtRestInTheBandStaysFinite) {
    HoverCar& car = otherCars[0];
    car.velocity = Vector3();
    car.direction = Vector3(0, 0, -1);
    car.bounceOffWalls(Vector3(220, 0, -28.5f));
    EXPECT_EQ(car.velocity, Vector3());
    EXPECT_NEAR(car.direction.z, 1, 1e-6);
}

TEST_F(WallBounce, PostsDamageAndSlowComputerCars) {
    struct Case {
        Vector3 where;
        float shieldLost;   // per second
        float speedFactor;
    };
    // Slot 1's posts stand at x 40, 45, ... on z -30; slot 2's at z 0.
    const Case cases[] = {
        {Vector3(222.5f, 0, -30), 80, 0.3f},   // midway: 2.5 from two posts
        {Vector3(220, 0, -30), 40, 0.3f},      // on one post, 5 from its neighbours
        {Vector3(220, 0, -34.5f), 0, 0.3f},    // within 5 but not within 4
        {Vector3(220, 0, -60), 0, 1.0f},
    };
    frameTime = 0.1f;
    raceCountdown = -10;
    trackPointCount = 0;
    trackPoints[0] = Vector3(-9000, 0, 9000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where.z * 100 + c.where.x);
        HoverCar& car = otherCars[1];
        car.position = c.where;
        car.velocity = Vector3();
        car.shield = 100;
        car.aiCruiseSpeed = 0;
        car.update(playerCar);
        EXPECT_NEAR(car.shield, 100 - c.shieldLost * frameTime, 1e-4);
        EXPECT_EQ(car.hitThisFrame, c.shieldLost > 0);
        EXPECT_EQ(car.speedFactor, c.speedFactor);
    }
}

TEST_F(CarPhysics, WaypointsWrapToTwo) {
    outline({Vector3(0, 0, -1), Vector3(0, 0, -200), Vector3(0, 0, -400), Vector3(0, 0, -600),
             Vector3(100, 0, -600), Vector3(200, 0, -600)});
    HoverCar& car = otherCars[0];
    car.position = Vector3(200, 0, -600);   // on point 5, the last one
    car.velocity = Vector3();
    car.aiWaypoint = 5;
    car.aiCruiseSpeed = 0;
    car.update(playerCar);
    EXPECT_EQ(car.aiWaypoint, 2);
    // It stood on the point it aimed at: the zero direction stays zero, not non-finite.
    EXPECT_EQ(car.direction, Vector3());

    car.position = Vector3(0, 0, -300);
    car.update(playerCar);
    EXPECT_NEAR(car.direction.z, -1, 1e-6);   // aims at point 2
}

TEST_F(CarPhysics, AtFiveUnitsAFrameTheWaypointIsNeverReached) {
    outline({Vector3(0, 0, -1), Vector3(10, 0, -100), Vector3(0, 0, -400)});
    HoverCar& car = otherCars[0];
    car.position = Vector3(10, 0, -100);
    car.velocity = Vector3(0, 0, 5.5f);
    car.aiWaypoint = 1;
    car.aiCruiseSpeed = 0;
    car.update(playerCar);
    EXPECT_EQ(car.aiWaypoint, 1);
}

TEST_F(CarPhysics, CheckpointsWrapToZeroWithALap) {
    outline({Vector3(0, 0, -500), Vector3(0, 0, -1000), Vector3(300, 0, -1000)});
    HoverCar& car = playerAt(Vector3(300, 0, -1000));
    car.nextCheckpoint = 2;
    car.lap = 1;
    car.checkpointsPassed = 7;
    car.update(car);
    EXPECT_EQ(car.nextCheckpoint, 0);
    EXPECT_EQ(car.lap, 2);
    EXPECT_EQ(car.checkpointsPassed, 8);
}

TEST_F(CarPhysics, CheckpointReachIsWiderOnTheWaterTrack) {
    struct Case {
        int level;
        int passed;
    };
    const Case cases[] = {{3, 1}, {2, 0}, {4, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        outline({Vector3(0, 0, -150), Vector3(0, 0, -2000), Vector3(1000, 0, -2000)});
        HoverCar& car = playerAt(Vector3(0, 0, 0));
        car.nextCheckpoint = 0;
        car.checkpointsPassed = 0;
        trackLevel = c.level;
        car.update(car);
        EXPECT_EQ(car.checkpointsPassed, c.passed);
    }
}

TEST_F(CarPhysics, AnOutlineWhollyInReachCannotHangTheUpdate) {
    outline({Vector3(1, 0, -1), Vector3(2, 0, -2), Vector3(3, 0, -3), Vector3(4, 0, -4)});
    HoverCar& car = otherCars[0];
    car.position = Vector3(2, 0, -2);
    car.velocity = Vector3();
    car.nextCheckpoint = 0;
    car.checkpointsPassed = 0;
    car.lap = 1;
    car.aiWaypoint = 1;
    car.update(playerCar);   // returns: at most one lap's worth of advances
    EXPECT_EQ(car.checkpointsPassed, trackPointCount + 1);
    EXPECT_EQ(car.lap, 2);
    EXPECT_GE(car.aiWaypoint, 1);
    EXPECT_LE(car.aiWaypoint, trackPointCount);
    EXPECT_TRUE(isFinite(car.direction));
}

TEST_F(CarPhysics, ADestroyedCarStaysPutAndKeepsItsLaps) {
    HoverCar& car = otherCars[3];
    car.position = openGround;
    car.velocity = Vector3(0.5f, 0, 0);
    car.shield = -1;
    car.lap = 2;
    car.checkpointsPassed = 9;
    car.update(playerCar);
    EXPECT_TRUE(car.destroyed);   // set at the end of this update, after it moved
    const Vector3 wreck = car.position;
    car.update(playerCar);
    EXPECT_EQ(car.position, wreck);
    EXPECT_EQ(car.lap, 2);
    EXPECT_EQ(car.checkpointsPassed, 9);
}
