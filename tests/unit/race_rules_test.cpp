// race_rules_test.cpp - the race frame's rules without drawing: ranking, race end and
// prize, countdown digits, camera path, boulders, pools and fireballs.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <string>
#include <vector>

#include "race_frame.h"
#include "random.h"
#include "test_paths.h"
#include "track.h"
#include "world.h"

namespace {

struct Racer {
    int lap, checkpoints;
    bool staleRanked;   // flag left by an earlier frame (a destroyed car's update keeps it)
};

// Opponents 0 to 3, the spare car, the player; each update clears the flag of a car
// that is not destroyed, so only the stale ones stay set.
void setRacers(const Racer (&r)[6]) {
    HoverCar* cars[6] = {&otherCars[0], &otherCars[1], &otherCars[2], &otherCars[3],
                         &otherCars[4], &playerCar};
    for (int i = 0; i < 6; ++i) {
        cars[i]->lap = r[i].lap;
        cars[i]->checkpointsPassed = r[i].checkpoints;
        cars[i]->ranked = r[i].staleRanked;
        cars[i]->place = 99;
    }
}

std::vector<int> places() {
    return {otherCars[0].place, otherCars[1].place, otherCars[2].place,
            otherCars[3].place, otherCars[4].place, playerCar.place};
}

void reopenCameraPath(const char* xs, const char* zs) {
    std::ofstream("camerax.txt") << xs;
    std::ofstream("cameray.txt") << zs;
    cameraXStream.close();
    cameraYStream.close();
    cameraXStream.clear();
    cameraYStream.clear();
    cameraXStream.open("camerax.txt");
    cameraYStream.open("cameray.txt");
}

}  // namespace

TEST(RaceRules, RankingHandsOutSixPlacesWithItsTieRules) {
    struct Case {
        const char* what;
        Racer racers[6];             // opponents 0-3, spare, player
        std::vector<int> expected;   // places in the same order
    } cases[] = {
        {"equal scores: lower index first, opponents before the player, spare last",
         {{1, 1, false}, {1, 1, false}, {1, 1, false}, {1, 1, false}, {1, 0, false}, {1, 1, false}},
         {1, 2, 3, 4, 6, 5}},
        {"first race: every score 0, the spare car takes all six passes",
         {{1, 0, false}, {1, 0, false}, {1, 0, false}, {1, 0, false}, {1, 0, false}, {1, 0, false}},
         {0, 0, 0, 0, 6, 0}},
        {"a destroyed opponent behind the leader keeps its stale flag and gets no place",
         {{1, 5, false}, {1, 4, false}, {1, 3, true}, {1, 2, false}, {1, 0, false}, {1, 1, false}},
         {1, 2, 0, 3, 6, 4}},
        {"a destroyed opponent that leads strictly still wins the first pass",
         {{1, 5, false}, {1, 4, false}, {2, 9, true}, {1, 2, false}, {1, 0, false}, {1, 1, false}},
         {2, 3, 1, 4, 6, 5}},
        {"the score is lap times checkpoints; the player ahead of everyone",
         {{1, 7, false}, {2, 3, false}, {1, 1, false}, {1, 1, false}, {1, 0, false}, {3, 5, false}},
         {2, 3, 4, 5, 6, 1}},
    };
    for (const Case& c : cases) {
        setRacers(c.racers);
        rankRacers();
        EXPECT_EQ(places(), c.expected) << c.what;
    }
}

TEST(RaceRules, CountdownDigitsRunDownToZeroAndTheTrackNames) {
    frameTime = 1.0f / 60;
    for (float start : {10.0f, 5.0f}) {
        raceCountdown = start;
        std::vector<int> digits;
        for (int frame = 0; frame < 700; ++frame) {
            int digit = shownCountdownDigit();
            if (digit < 0) break;
            if (digits.empty() || digits.back() != digit) digits.push_back(digit);
            tickCountdownAndCameraPath();
        }
        std::vector<int> expected;
        for (int d = int(start); d >= 0; --d) expected.push_back(d);
        EXPECT_EQ(digits, expected) << "from " << start;
    }
    EXPECT_STREQ(trackName(1), "Particle Wind");
    EXPECT_STREQ(trackName(2), "Rock Field");
    EXPECT_STREQ(trackName(3), "Auqa Planet");
    EXPECT_STREQ(trackName(4), "Land of Diablo");
    EXPECT_EQ(trackName(0), nullptr);
    EXPECT_EQ(trackName(5), nullptr);
}

TEST(RaceRules, ResultMessagesByPlace) {
    EXPECT_EQ(resultMessage(0), nullptr);
    EXPECT_STREQ(resultMessage(1), "YOU A WINNER! 1st");
    EXPECT_STREQ(resultMessage(2), "YOU A WINNER! 2nd");
    EXPECT_STREQ(resultMessage(3), "YOU A WINNER! 3rd");
    EXPECT_STREQ(resultMessage(4), " TOO BAD ");
    EXPECT_STREQ(resultMessage(6), " TOO BAD ");
}

TEST(RaceRules, RaceEndsAfterThreeLapsWorthOfCheckpoints) {
    trackPointCount = 20;
    playerCar.checkpointsPassed = 60;
    EXPECT_FALSE(raceIsOver());
    playerCar.checkpointsPassed = 61;
    EXPECT_TRUE(raceIsOver());
}

// The result screen holds the shield at 100 and the camera on the grid for five seconds,
// then pays the prize of the previous frame's place and builds the next track.
TEST(RaceRules, ResultScreenPrizeAndNextTrack) {
    freshWorkDir("race-rules-end");
    copyDataFilesHere();
    quadric = gluNewQuadric();   // the track build compiles its post with it
    struct Case {
        int place, level, prize, nextLevel;
    } cases[] = {{1, 1, 4000, 2}, {5, 3, 0, 4}, {0, 2, 5000, 3}, {2, 4, 3000, 4}};
    for (const Case& c : cases) {
        trackLevel = c.level;
        money = 1000;
        gameState = GameState::Race;
        trackPointCount = 10;
        playerCar.checkpointsPassed = 31;
        playerCar.place = c.place;
        playerCar.shield = 20;
        raceEndTimer = 0;
        raceCountdown = -40;
        frameTime = 1.0f / 60;
        gameSrand(2026);   // wherever the race's own draws left the generator
        int frames = 0;
        while (gameState == GameState::Race && frames < 1000) {
            ASSERT_TRUE(raceIsOver());
            playerCar.shield = 20;
            raceEndStep();
            ++frames;
            if (gameState == GameState::Race) {
                EXPECT_EQ(playerCar.shield, 100.0f);
                EXPECT_EQ(cameraPosition, Vector3(100, 1, -25));
                EXPECT_EQ(money, 1000);
            }
        }
        // The float sum of 1/60 s frames passes 5.0 in the 300th frame.
        EXPECT_EQ(frames, 300) << "five seconds at 60 frames a second";
        EXPECT_EQ(gameState, GameState::MainMenu);
        EXPECT_EQ(raceEndTimer, 0.0f);
        EXPECT_EQ(money, 1000 + c.prize) << "place " << c.place;
        EXPECT_EQ(trackLevel, c.nextLevel);
        EXPECT_EQ(prizeForPlace(c.place), c.prize);
        // The cars are back on the grid and the new track's countdown is set.
        EXPECT_EQ(nextGridSlot, 5);
        EXPECT_EQ(playerCar.position, Vector3(40, 0, -25));
        EXPECT_EQ(otherCars[3].position, Vector3(80, 0, -25));
        EXPECT_EQ(playerCar.checkpointsPassed, 1);
        EXPECT_FALSE(raceIsOver());
        EXPECT_EQ(raceCountdown, 5.0f);
        EXPECT_EQ(trackScale, 3.0f);
        // The resets reseed with 14 before the build draws the boulders: the rock field
        // lies the same in every run, whatever the race before drew.
        Vector3 boulders[15];
        for (int k = 5; k <= 19; ++k) boulders[k - 5] = otherCars[k].position;
        gameSrand(14);
        placeBoulders();
        for (int k = 5; k <= 19; ++k)
            EXPECT_EQ(boulders[k - 5], otherCars[k].position) << "boulder " << k;
    }
    EXPECT_EQ(trackAfter(4), 4);
    EXPECT_EQ(trackAfter(1), 2);
}

// A save file may hold any int: the prize stops at the largest money (and a loss at the
// smallest) instead of overflowing, and the race end saves what it paid.
TEST(RaceRules, ThePrizeSaturatesAtTheLargestMoney) {
    struct Case {
        int held, prize, after;
    } cases[] = {{INT_MAX, 5000, INT_MAX},       {INT_MAX - 4000, 4000, INT_MAX},
                 {INT_MAX - 4001, 4000, INT_MAX - 1}, {INT_MIN, -1000, INT_MIN},
                 {INT_MIN + 1000, -1000, INT_MIN}, {1000, -1000, 0}};
    for (const Case& c : cases) EXPECT_EQ(moneyWithPrize(c.held, c.prize), c.after) << c.held;

    freshWorkDir("race-rules-largest-money");
    copyDataFilesHere();
    quadric = gluNewQuadric();
    trackLevel = 1;
    money = INT_MAX;
    gameState = GameState::Race;
    playerCar.place = 1;
    raceEndTimer = 0;
    frameTime = 5.5f;
    raceEndStep();
    EXPECT_EQ(money, INT_MAX);
    std::ifstream saved("save.car");
    std::string line;
    for (int value = 1; value <= 7; ++value) std::getline(saved, line);
    EXPECT_EQ(line, "2147483647\r");
}

TEST(RaceRules, CameraPathThatEndsOnItsFirstPair) {
    freshWorkDir("race-rules-camera-first");
    reopenCameraPath("7 8 9", "0 5 6");
    frameTime = 1.0f / 60;
    raceCountdown = 10;
    playerCar.position = Vector3(40, 0, -25);
    playerCar.direction = Vector3(1, 0, 0);
    chaseCamera();
    tickCountdownAndCameraPath();
    EXPECT_EQ(cameraPosition, Vector3(7, 1, -25));
    EXPECT_TRUE(cameraPathDone);
    // Later countdown frames read nothing more and keep the chase point at height 1.
    chaseCamera();
    tickCountdownAndCameraPath();
    EXPECT_EQ(cameraPosition, Vector3(35, 1, -25));
    float next = 0;
    cameraXStream >> next;
    EXPECT_EQ(next, 8.0f) << "nothing after the end pair is read";
}

TEST(RaceRules, CameraPathGoesOnInTheNextCountdownAndEndsOnItsZeroZ) {
    freshWorkDir("race-rules-camera-long");
    reopenCameraPath("1 2 3 4", "-11 -12 -13 0");
    frameTime = 1.0f / 60;
    playerCar.position = Vector3(40, 0, -25);
    playerCar.direction = Vector3(1, 0, 0);
    std::vector<Vector3> eyes;
    // Two countdown frames, then the race (nothing read), then the next race's countdown.
    for (float countdown : {2.0f / 60 + 0.001f, 0.5f / 60, -3.0f, 10.0f, 10.0f, 10.0f}) {
        raceCountdown = countdown;
        chaseCamera();
        tickCountdownAndCameraPath();
        eyes.push_back(cameraPosition);
    }
    EXPECT_EQ(eyes[0], Vector3(1, 1, -11));
    EXPECT_EQ(eyes[1], Vector3(35, 5, -25)) << "countdown over after the tick: no path step";
    EXPECT_EQ(eyes[2], Vector3(35, 5, -25));
    EXPECT_EQ(eyes[3], Vector3(2, 1, -12));
    EXPECT_EQ(eyes[4], Vector3(3, 1, -13));
    EXPECT_EQ(eyes[5], Vector3(4, 1, -25)) << "the end pair's x, the saved z";
    EXPECT_TRUE(cameraPathDone);
}

TEST(RaceRules, MissingCameraPathKeepsTheChaseView) {
    freshWorkDir("race-rules-camera-missing");
    reopenCameraPath("", "");
    frameTime = 1.0f / 60;
    raceCountdown = 10;
    playerCar.position = Vector3(40, 0, -25);
    playerCar.direction = Vector3(1, 0, 0);
    for (int frame = 0; frame < 3; ++frame) {
        chaseCamera();
        tickCountdownAndCameraPath();
        EXPECT_EQ(cameraPosition, Vector3(35, 1, -25));
    }
    EXPECT_FALSE(cameraPathDone);
}

TEST(RaceRules, BoulderContactCostsThePlayerAndTheBoulder) {
    quadric = gluNewQuadric();
    trackLevel = 2;
    trackScale = 3;
    frameTime = 0.1f;
    for (int k = 5; k < 20; ++k) otherCars[k].position = Vector3(300 + 10.0f * k, 0, -150);
    for (int j = 0; j < 4; ++j) otherCars[j].position = Vector3(20 + 10.0f * j, 0, -100);
    playerCar.position = Vector3(200, 0, -60);
    otherCars[5].position = Vector3(200.5f, 0, -60);     // touches the player
    otherCars[6].position = Vector3(20.5f, 0, -100);     // touches opponent 0
    otherCars[0].velocity = Vector3(0.3f, 0, 0);
    runBoulders();
    EXPECT_FLOAT_EQ(playerCar.shield, 80.0f);
    EXPECT_TRUE(playerCar.hitThisFrame);
    EXPECT_FLOAT_EQ(otherCars[6].shield, 95.0f);
    EXPECT_FLOAT_EQ(otherCars[5].shield, 100.0f);
    EXPECT_EQ(otherCars[0].velocity, Vector3(0.3f, 0, 0)) << "the opponent drives on unchanged";
    for (int k = 5; k < 20; ++k) EXPECT_TRUE(otherCars[k].isBoulder);
    // A destroyed boulder is not moved, but touching it still costs the player.
    otherCars[5].destroyed = true;
    otherCars[5].position = playerCar.position + Vector3(0.5f, 0, 0);
    playerCar.hitThisFrame = false;
    runBoulders();
    EXPECT_FLOAT_EQ(playerCar.shield, 60.0f);
    EXPECT_TRUE(playerCar.hitThisFrame);
    // A boulder's own steering asks for throttle after each update; the rule puts it back
    // to coasting first, so a boulder never builds up engine power.
    for (int k = 5; k < 20; ++k) EXPECT_EQ(otherCars[k].enginePower, 0.0f) << k;
}

TEST(RaceRules, FireballsCostAThousandEachPerFrame) {
    const Vector3 origins[4] = {{310, 0, -15}, {380, 0, -200}, {40, 0, -215}, {40, 0, -225}};
    for (int k = 0; k < 4; ++k) bursts[k].origin = origins[k];
    playerCar.position = Vector3(40, 5, -220);       // within 15 of two fireballs
    otherCars[0].position = Vector3(310 + 14.9f, 0, -15);
    otherCars[1].position = Vector3(380, 0, -185);    // exactly 15 away: out of reach
    otherCars[2].position = Vector3(700, 0, -700);
    otherCars[3].position = Vector3(310, 0, -15);
    for (int k = 0; k < 4; ++k) applyFireballDamage(k);
    EXPECT_FLOAT_EQ(playerCar.shield, 100 - 2000);
    EXPECT_FLOAT_EQ(otherCars[0].shield, 100 - 1000);
    EXPECT_FLOAT_EQ(otherCars[1].shield, 100);
    EXPECT_FLOAT_EQ(otherCars[2].shield, 100);
    EXPECT_FLOAT_EQ(otherCars[3].shield, 100 - 1000);
}

TEST(RaceRules, PoolMembershipOnlySetsTheFlag) {
    trackScale = 3;
    struct Case {
        Vector3 at;
        bool inPool;
    } cases[] = {
        {Vector3(800 / 3.0f, 0, -100 / 3.0f), true},
        {Vector3(1200 / 3.0f + 49.9f, 0, -100 / 3.0f), true},
        {Vector3(1200 / 3.0f, 0, -500 / 3.0f - 49), true},
        {Vector3(800 / 3.0f - 50.5f, 0, -100 / 3.0f), false},
        {Vector3(100, 0, -150), false},
    };
    for (const Case& c : cases) {
        playerCar.inPool = false;
        playerCar.position = c.at;
        updatePoolMembership();
        EXPECT_EQ(playerCar.inPool, c.inPool) << c.at.x << ", " << c.at.z;
    }
    EXPECT_EQ(poolCentres[2], Vector3(400, 0, -100 / 3.0f + -400 / 3.0f));
    playerCar.inPool = true;
    playerCar.position = Vector3(100, 0, -150);
    updatePoolMembership();
    EXPECT_TRUE(playerCar.inPool) << "leaving a pool does not clear the flag";
}
