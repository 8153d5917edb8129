// progress_kept_test.cpp - what the player buys and wins stays: purchases, Q, a whole
// (short) race to its end, Esc and a new start-up, driven through the key polls and the
// race frame in a real rendering context.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "file_bytes.h"
#include "game_fixture.h"
#include "key_turns.h"
#include "race_frame.h"
#include "save_file.h"
#include "start_up.h"
#include "window_procedure.h"
#include "world.h"

namespace {

const int keyQ = 0x51;

// What the player bought (engine, boost, grav tires, colour) and won must outlive the
// race end, Q, Esc and a new start-up. Each row is a figure the run must keep, checked
// after the race end, after Esc and after a new start-up.
struct Kept {
    const char* what;
    float* field;
    float value;
};

const Kept keptFigures[] = {
    {"engine 5: accel", &playerCar.accel, 5.4f},
    {"engine 5: top speed", &playerCar.topSpeed, 3.3f},
    {"boost 4", &playerCar.boostPower, 2.2f},
    {"grav tires 3", &playerCar.turnRate, 1.7f},
    {"colour red", &playerCar.color.x, 0.2f},
    {"colour green", &playerCar.color.y, 0.6f},
    {"colour blue", &playerCar.color.z, 0.3f},
};

// 20000 - 5000 - 4000 - 3000, and the 4000 of the win; the race end moves the wind track
// on to the rock track.
const int moneyAfterTheRace = 12000;
const int trackAfterTheRace = 2;
const char* const savedAtTheRaceEnd = "0.2\r\n0.6\r\n0.3\r\n5.4\r\n3.3\r\n2.2\r\n12000\r\n2\r\n1.7";

void expectKept(const char* when) {
    SCOPED_TRACE(when);
    for (const Kept& k : keptFigures) EXPECT_FLOAT_EQ(*k.field, k.value) << k.what;
    EXPECT_EQ(money, moneyAfterTheRace);
    EXPECT_EQ(trackLevel, trackAfterTheRace);
}

// The start-up waits for the save and the outline each test writes first.
class ProgressKept : public GameFixture {
protected:
    ProgressKept() : GameFixture(640, 480, StartUp::Leave) {}

    // A save of eight values (as older runs wrote) with money to spend; a wind outline
    // of just its end pair, so the race is over in its first frame.
    void startWithMoneyAndAShortRace() {
        std::ofstream("save.car", std::ios::binary) << "1\r\n0\r\n1\r\n2\r\n1.4\r\n1.4\r\n20000\r\n1";
        std::ofstream("windx.txt") << "0";
        std::ofstream("windy.txt") << "0";
        ASSERT_TRUE(initGame());
        ASSERT_FLOAT_EQ(playerCar.turnRate, 1.0f) << "eight values: the turn rate's start value";
        ASSERT_EQ(money, 20000);
    }

    void buyOn(int page, float& choice, float value) {
        gameState = page;
        choice = value;
        buyKeyTimer = -1;
        turnWith({VK_RETURN});
    }

    // Engine 5, boost 4 and grav tires 3 bought, a colour chosen, Q to the main menu,
    // Begin Race, and the race frames until the result screen has ended.
    void buyAndRaceToTheEnd() {
        buyOn(GameState::SetupEngine, engineChoice, 5);
        buyOn(GameState::SetupBoost, boostChoice, 4);
        buyOn(GameState::SetupTires, tireChoice, 3);
        ASSERT_EQ(money, 8000);
        playerCar.color = Vector3(0.2f, 0.6f, 0.3f);   // as the colour page sets it
        turnWith({keyQ});
        ASSERT_EQ(gameState, GameState::MainMenu);
        ASSERT_FLOAT_EQ(playerCar.turnRate, 1.7f) << "Q keeps the grav tires";

        menuSelection = 1;
        turnWith({VK_RETURN});
        ASSERT_EQ(gameState, GameState::Race);
        // One checkpoint ahead of the opponents (Q's reset gave every racer one): the
        // player ranks first.
        playerCar.checkpointsPassed = 2;
        frameTime = 0.25f;
        int frames = 0;
        while (gameState == GameState::Race && frames < 100) {
            runRaceFrame();
            ++frames;
        }
        ASSERT_EQ(gameState, GameState::MainMenu) << "the race end came";
    }
};

TEST_F(ProgressKept, PurchasesColourPrizeAndTrackSurviveTheRaceEndAndEsc) {
    startWithMoneyAndAShortRace();
    buyAndRaceToTheEnd();
    expectKept("after the race end");
    EXPECT_EQ(fileBytes("save.car"), savedAtTheRaceEnd) << "saved at the race end";

    saveCar();   // Esc
    expectKept("after Esc");
    EXPECT_EQ(fileBytes("save.car"), savedAtTheRaceEnd);
}

TEST_F(ProgressKept, ANewStartUpReadsBackWhatTheRaceEndSaved) {
    std::ofstream("save.car", std::ios::binary) << savedAtTheRaceEnd;
    ASSERT_TRUE(initGame());
    expectKept("after a new start-up");
}

// Q during a race leaves it unsaved and goes back to the last save, which is now the
// one the race end wrote, not the one before it.
TEST_F(ProgressKept, QInTheNextRaceGoesBackToTheRaceEndsSave) {
    startWithMoneyAndAShortRace();
    buyAndRaceToTheEnd();
    turnWith({VK_RETURN});   // Begin Race again (the selection stays on it)
    ASSERT_EQ(gameState, GameState::Race);
    money = 99;
    playerCar.accel = 1.5f;
    playerCar.turnRate = 4.5f;
    playerCar.color = Vector3(1, 1, 1);
    turnWith({keyQ});
    EXPECT_EQ(gameState, GameState::MainMenu);
    expectKept("after Q in the next race");
    EXPECT_EQ(fileBytes("save.car"), savedAtTheRaceEnd) << "Q in a race saves nothing";
}

TEST_F(ProgressKept, PStillStartsANewGameWithTheDefaults) {
    startWithMoneyAndAShortRace();
    buyAndRaceToTheEnd();
    turnWith({0x50});
    EXPECT_EQ(playerCar.color, Vector3(1, 0, 0));
    EXPECT_FLOAT_EQ(playerCar.accel, 2.0f);
    EXPECT_FLOAT_EQ(playerCar.topSpeed, 1.4f);
    EXPECT_FLOAT_EQ(playerCar.boostPower, 1.4f);
    EXPECT_FLOAT_EQ(playerCar.turnRate, 1.0f);
    EXPECT_EQ(money, 3000);
    EXPECT_EQ(trackLevel, 1);
    EXPECT_EQ(fileBytes("save.car"), savedAtTheRaceEnd) << "P saves nothing";
}

}  // namespace
