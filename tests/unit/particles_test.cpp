// particles_test.cpp - bursts and wind streaks: their draws from the game's generator,
// the respawn of strayed balls, ageing, and the drift field's wrap past z -700.
#include <gtest/gtest.h>

#include <cmath>

#include "random.h"
#include "world.h"

namespace {

uint32_t stateAfterDraws(uint32_t seed, int count) {
    gameSrand(seed);
    for (int i = 0; i < count; ++i) gameRand();
    const uint32_t state = randomState;
    return state;
}

bool isWhole(float v) { return std::floor(v) == v; }

}  // namespace

TEST(ParticleBurst, StartPutsEveryBallAtTheOriginWith1200Draws) {
    ParticleBurst& burst = bursts[0];
    const uint32_t expected = stateAfterDraws(14, 1200);
    gameSrand(14);
    burst.start(Vector3(310, 0, -15));
    EXPECT_EQ(randomState, expected);
    EXPECT_TRUE(burst.active);
    for (const BurstParticle& p : burst.particles) {
        EXPECT_EQ(p.position, Vector3(310, 0, -15));
        EXPECT_EQ(p.age, 0);
        EXPECT_TRUE(isWhole(p.velocity.x) && p.velocity.x >= -10000 && p.velocity.x <= 9999);
        EXPECT_TRUE(isWhole(p.velocity.z) && p.velocity.z >= -10000 && p.velocity.z <= 9999);
        EXPECT_TRUE(isWhole(p.velocity.y) && p.velocity.y >= 0 && p.velocity.y <= 1999);
        EXPECT_TRUE(isWhole(p.range) && p.range >= 0 && p.range <= 99);
    }
    // The draws go x, z, y, range: the first ball takes 84, 27125, 9192, 11643.
    const BurstParticle& first = burst.particles[0];
    EXPECT_EQ(first.velocity.x, 84 % 20000 - 10000);
    EXPECT_EQ(first.velocity.z, 27125 % 20000 - 10000);
    EXPECT_EQ(first.velocity.y, 9192 % 2000);
    EXPECT_EQ(first.range, 11643 % 100);
}

TEST(ParticleBurst, ASecondStartKeepsTheAges) {
    ParticleBurst& burst = bursts[1];
    burst.start(Vector3(0, 0, 0));
    burst.particles[5].age = 0.3f;
    burst.start(Vector3(40, 0, -215));
    EXPECT_EQ(burst.particles[5].position, Vector3(40, 0, -215));
    EXPECT_EQ(burst.particles[5].age, 0.3f);
}

TEST(ParticleBurst, StrayedBallsAreBornAgainAtTheOrigin) {
    struct Case {
        float range;
        Vector3 offset;   // where the ball stands after this frame's move
        bool reborn;
    };
    const Case cases[] = {
        {0, Vector3(1.01f, 0, 0), true},
        {0, Vector3(0.99f, 0, 0), false},
        {0, Vector3(1.0f, 0, 0), false},     // exactly at the limit stays
        {99, Vector3(0, 0, -10.8f), false},
        {99, Vector3(0, 0, -11.0f), true},
        {0, Vector3(0, 500, 0), false},      // height does not count
    };
    frameTime = 0;   // nothing moves or ages: the test sees the range rule alone
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset.x + c.offset.y + c.offset.z);
        ParticleBurst& burst = bursts[2];
        burst.start(Vector3(100, 0, -100));
        for (BurstParticle& p : burst.particles) {
            p.range = 99;
            p.position = burst.origin;
        }
        BurstParticle& ball = burst.particles[7];
        ball.range = c.range;
        ball.age = 0.4f;
        ball.position = burst.origin + c.offset;
        burst.animate();
        if (c.reborn) {
            EXPECT_EQ(ball.position, burst.origin);
            EXPECT_EQ(ball.age, 0);
        } else {
            EXPECT_EQ(ball.position, burst.origin + c.offset);
            EXPECT_EQ(ball.age, 0.4f);
        }
    }
}

TEST(ParticleBurst, ALongFrameEndsWithTheBallReborn) {
    ParticleBurst& burst = bursts[3];
    burst.start(Vector3(0, 0, -50));
    BurstParticle& ball = burst.particles[0];
    ball.velocity = Vector3(5000, 0, 0);   // 5 units a second
    ball.range = 10;                       // limit 2 units
    frameTime = 1.0f;
    burst.animate();
    EXPECT_EQ(ball.position, burst.origin);
    EXPECT_EQ(ball.age, 0);
}

TEST(BurstParticle, AgeingAndMovement) {
    BurstParticle ball;
    ball.velocity = Vector3(1000, 500, -2000);
    ball.position = Vector3(1, 2, 3);
    ball.age = 0.25f;
    frameTime = 0.5f;
    ball.animate();
    EXPECT_FLOAT_EQ(ball.position.x, 1.5f);
    EXPECT_FLOAT_EQ(ball.position.y, 2.25f);
    EXPECT_FLOAT_EQ(ball.position.z, 2.0f);
    EXPECT_FLOAT_EQ(ball.age, 0.275f);
    EXPECT_EQ(ball.velocity, Vector3(1000, 500, -2000));
}

TEST(BurstParticle, PastAgeOneItDrawsANewVelocityButStays) {
    struct Case {
        float age;
        bool newVelocity;
    };
    const Case cases[] = {{1.0f, false}, {1.01f, true}};
    frameTime = 0;
    for (const Case& c : cases) {
        BurstParticle ball;
        ball.velocity = Vector3(20000, 0, 20000);   // never a drawn value
        ball.position = Vector3(3, 0, 4);
        ball.age = c.age;
        ball.animate();
        EXPECT_EQ(ball.velocity != Vector3(20000, 0, 20000), c.newVelocity) << c.age;
        EXPECT_EQ(ball.position, Vector3(3, 0, 4));
        EXPECT_EQ(ball.age, c.age);
    }
}

TEST(DriftPoint, RandomizeDrawsWholeNumbersInRange) {
    gameSrand(14);
    driftField.randomize();
    EXPECT_EQ(randomState, stateAfterDraws(14, 4000));
    for (const DriftPoint& p : driftField.points) {
        EXPECT_TRUE(isWhole(p.position.x) && p.position.x >= -1500 && p.position.x <= 1499);
        EXPECT_TRUE(isWhole(p.position.y) && p.position.y >= 0 && p.position.y <= 4);
        EXPECT_TRUE(isWhole(p.position.z) && p.position.z >= -500 && p.position.z <= 499);
        EXPECT_TRUE(isWhole(p.speed) && p.speed >= 1 && p.speed <= 10);
    }
}

TEST(DriftPoint, MovesTowardMinusZAndWrapsPast700) {
    struct Case {
        float speed;
        float z;
        float frameTime;
        float expectedZ;   // NAN: re-randomised
    };
    const Case cases[] = {
        {10, 0, 0.02f, -2.0f},
        {1, 0, 0.02f, -0.2f},
        {1, -700.0f, 0, -700.0f},
        {1, -700.5f, 0, NAN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.z);
        DriftPoint& p = driftField.points[0];
        p.position = Vector3(0, 0, c.z);
        p.speed = c.speed;
        frameTime = c.frameTime;
        driftField.animate();
        if (std::isnan(c.expectedZ)) {
            EXPECT_GE(p.position.z, -500);
        } else {
            EXPECT_FLOAT_EQ(p.position.z, c.expectedZ);
        }
    }
}

TEST(DriftField, TwentySecondsBeforeTheFirstRespawn) {
    for (DriftPoint& p : driftField.points) {
        p.position = Vector3(0, 0, -500);
        p.speed = 1;
    }
    frameTime = 0.5f;
    for (int frame = 0; frame < 40; ++frame) driftField.animate();   // 20 s: at -700
    EXPECT_FLOAT_EQ(driftField.points[999].position.z, -700);
    driftField.animate();
    EXPECT_GE(driftField.points[999].position.z, -500);
}
