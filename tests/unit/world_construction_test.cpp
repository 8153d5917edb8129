// world_construction_test.cpp - the file-scope world as it stands when the entry point
// begins: grid places, the grid counter, the random seed and the camera-path streams.
#include <gtest/gtest.h>

#include <filesystem>

#include "random.h"
#include "world.h"

namespace {

TEST(WorldConstruction, CarsStandOnTheGridInConstructionOrder) {
    EXPECT_EQ(playerCar.position, Vector3(40, 0, -25));
    for (int k = 0; k < 20; ++k)
        EXPECT_EQ(otherCars[k].position, Vector3(50.0f + 10.0f * k, 0, -25)) << "car " << k;
    EXPECT_EQ(nextGridSlot, 21);
}

TEST(WorldConstruction, TheLastCarLeavesTheGeneratorAtSeed14) {
    // Nothing between the last car constructor and the start-up draws a number.
    EXPECT_EQ(randomState, 14u);
    // playerCar, the first constructed, drew from the initial state; every car after it
    // drew the first number after seed 14 (84).
    EXPECT_EQ(playerCar.aiCruiseSpeed, 1.0f);
    for (int k = 0; k < 20; ++k) EXPECT_EQ(otherCars[k].aiCruiseSpeed, 4.0f) << "car " << k;
}

TEST(WorldConstruction, TheCameraPathStreamsAreOpenFromTheStart) {
    // Opened with creation allowed in the working directory, before the entry point.
    EXPECT_TRUE(cameraXStream.is_open());
    EXPECT_TRUE(cameraYStream.is_open());
    EXPECT_TRUE(std::filesystem::exists("camerax.txt"));
    EXPECT_TRUE(std::filesystem::exists("cameray.txt"));
}

TEST(WorldConstruction, NothingIsBuiltBeforeTheStartUp) {
    for (const ParticleBurst& burst : bursts) EXPECT_FALSE(burst.active);
    EXPECT_EQ(trackPointCount, 0);
    EXPECT_EQ(trackScale, 0.0f);
}

}  // namespace
