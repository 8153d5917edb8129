// key_bindings_test.cpp - the key polls of one loop turn: which key wins, the repeat
// countdowns, the wraps, and what P and Q do to the car, the track and the save file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "file_bytes.h"
#include "game_state.h"
#include "key_bindings.h"
#include "key_turns.h"
#include "random.h"
#include "save_file.h"
#include "test_paths.h"
#include "window_procedure.h"
#include "world.h"

namespace {

const int keyA = 0x41, keyD = 0x44, keyP = 0x50, keyQ = 0x51, keyZ = 0x5A;

class KeyBindings : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        freshWorkDir(std::string("keys-") + info->name());
        copyDataFilesHere();
        trackLevel = 1;
        frameTime = 0.02f;
    }
};

// ---- race keys -------------------------------------------------------------------------

TEST_F(KeyBindings, DriveModeFromAAndDWithDWinningOnEveryScreen) {
    for (int screen : {int(GameState::MainMenu), int(GameState::SetupColor), int(GameState::Race)}) {
        gameState = screen;
        playerCar.driveMode = DriveMode::Coast;
        turnWith({keyA});
        EXPECT_EQ(playerCar.driveMode, DriveMode::Throttle);
        turnWith({keyA, keyD});
        EXPECT_EQ(playerCar.driveMode, DriveMode::Glide);
        playerCar.boostActive = false;
        turnWith({keyZ});
        EXPECT_TRUE(playerCar.boostActive);
    }
}

TEST_F(KeyBindings, SteeringTurnsByRateAndSetsTheUnnormalisedDirection) {
    gameState = GameState::Race;
    playerCar.turnRate = 1.5f;
    playerCar.direction = Vector3(1, 0.25f, 0);
    turnWith({VK_LEFT});
    float heading = 1.5f * 0.02f;
    EXPECT_FLOAT_EQ(playerCar.heading, heading);
    double h = heading;
    EXPECT_FLOAT_EQ(playerCar.direction.z, float(std::cos(h) - std::sin(h)));
    EXPECT_FLOAT_EQ(playerCar.direction.x, float(std::sin(h) + std::cos(h)));
    EXPECT_FLOAT_EQ(playerCar.direction.y, 0.25f);  // left as it was
    turnWith({VK_RIGHT});
    turnWith({VK_RIGHT});
    EXPECT_NEAR(playerCar.heading, -heading, 1e-6);
}

struct SteerCase {
    const char* what;
    bool destroyed, inPool, left, right;
    float headingTurns;  // in units of turnRate x frameTime
    bool directionSet;
};

TEST_F(KeyBindings, SteeringInPoolsWhenDestroyedAndWithBothArrows) {
    const SteerCase cases[] = {
        {"both arrows cancel", false, false, true, true, 0, true},
        {"pool: a third, then the flag is used up", false, true, true, false, 1.0f / 3, true},
        {"pool and both arrows: Left a third, Right full", false, true, true, true, 1.0f / 3 - 1, true},
        {"destroyed: no turn", true, false, true, false, 0, false},
        {"destroyed in a pool: a third", true, true, false, true, -1.0f / 3, true},
    };
    for (const SteerCase& c : cases) {
        SCOPED_TRACE(c.what);
        playerCar.heading = 0;
        playerCar.turnRate = 1;
        playerCar.destroyed = c.destroyed;
        playerCar.inPool = c.inPool;
        playerCar.direction = Vector3(0, 0, 0);
        std::memset(keyDown, 0, sizeof keyDown);
        keyDown[VK_LEFT] = c.left;
        keyDown[VK_RIGHT] = c.right;
        pollKeys();
        std::memset(keyDown, 0, sizeof keyDown);
        EXPECT_NEAR(playerCar.heading, c.headingTurns * 0.02f, 1e-7);
        EXPECT_FALSE(playerCar.inPool);
        EXPECT_EQ(playerCar.direction.x != 0, c.directionSet);
    }
}

// ---- P and Q -----------------------------------------------------------------------

TEST_F(KeyBindings, PHeldStartsANewGameOnEveryTurnOnlyOnTheMainMenu) {
    gameState = GameState::SetupColor;
    money = 700;
    trackLevel = 3;
    turnWith({keyP});
    EXPECT_EQ(money, 700);
    EXPECT_EQ(trackLevel, 3);

    gameState = GameState::MainMenu;
    colorSlider = 400;
    engineChoice = 4;
    for (int turn = 0; turn < 2; ++turn) {
        money = 700;
        trackLevel = 3;
        playerCar.color = Vector3(0, 1, 0);
        playerCar.accel = 5.4f;
        playerCar.topSpeed = 3.3f;
        playerCar.boostPower = 2.8f;
        playerCar.turnRate = 4.5f;
        playerCar.position = Vector3(500, 0, 500);
        gameSrand(2026);
        turnWith({keyP});
        EXPECT_EQ(money, 3000);
        EXPECT_EQ(trackLevel, 1);
        EXPECT_EQ(playerCar.color, Vector3(1, 0, 0));
        EXPECT_FLOAT_EQ(playerCar.accel, 2.0f);
        EXPECT_FLOAT_EQ(playerCar.topSpeed, 1.4f);
        EXPECT_FLOAT_EQ(playerCar.boostPower, 1.4f);
        EXPECT_FLOAT_EQ(playerCar.turnRate, 1.0f);
        EXPECT_EQ(playerCar.position, Vector3(40, 0, -25));
        EXPECT_EQ(otherCars[3].position, Vector3(80, 0, -25));
        EXPECT_EQ(nextGridSlot, 5);
        // The track is built before the resets, whose reseeding comes last: what the new
        // game draws next starts from seed 14.
        EXPECT_EQ(randomState, 14u);
    }
    EXPECT_EQ(gameState, GameState::MainMenu);
    EXPECT_FLOAT_EQ(colorSlider, 400);
    EXPECT_FLOAT_EQ(engineChoice, 4);
    EXPECT_EQ(fileBytes("save.car"), "");  // nothing saved
}

TEST_F(KeyBindings, QOnASetupPageSavesResetsAndReloadsAllButTheTrackLevel) {
    gameState = GameState::SetupBoost;
    playerCar.color = Vector3(0, 0.5f, 0);
    playerCar.accel = 3.4f;
    playerCar.topSpeed = 2.4f;
    playerCar.boostPower = 2.2f;
    playerCar.turnRate = 4.5f;
    playerCar.heading = 2;
    money = 1234;
    trackLevel = 2;
    turnWith({keyQ});
    EXPECT_EQ(fileBytes("save.car"), "0\r\n0.5\r\n0\r\n3.4\r\n2.4\r\n2.2\r\n1234\r\n2\r\n4.5");
    EXPECT_EQ(gameState, GameState::MainMenu);
    EXPECT_EQ(playerCar.color, Vector3(0, 0.5f, 0));
    EXPECT_FLOAT_EQ(playerCar.accel, 3.4f);
    EXPECT_FLOAT_EQ(playerCar.topSpeed, 2.4f);
    EXPECT_FLOAT_EQ(playerCar.boostPower, 2.2f);
    EXPECT_FLOAT_EQ(playerCar.turnRate, 4.5f);  // the grav tires bought
    EXPECT_FLOAT_EQ(playerCar.heading, 0);
    EXPECT_EQ(money, 1234);
    EXPECT_EQ(trackLevel, 2);
}

TEST_F(KeyBindings, QLeavingARaceSavesNothingAndThenSavesWhileStillHeld) {
    const std::string lastSave = "0.2\r\n0.4\r\n0.6\r\n1.6\r\n1.8\r\n1.8\r\n500\r\n1\r\n1.5";
    writeFileBytes("save.car", lastSave);
    gameState = GameState::Race;
    money = 9000;  // a prize won since the last save
    playerCar.accel = 5.4f;
    playerCar.turnRate = 4.5f;
    trackLevel = 3;
    turnWith({keyQ});
    EXPECT_EQ(fileBytes("save.car"), lastSave);
    EXPECT_EQ(gameState, GameState::MainMenu);
    EXPECT_EQ(money, 500);
    EXPECT_FLOAT_EQ(playerCar.accel, 1.6f);
    EXPECT_FLOAT_EQ(playerCar.turnRate, 1.5f);
    EXPECT_EQ(playerCar.color, Vector3(0.2f, 0.4f, 0.6f));
    EXPECT_EQ(trackLevel, 3);  // kept in memory

    money = 800;
    turnWith({keyQ});
    EXPECT_EQ(fileBytes("save.car"), "0.2\r\n0.4\r\n0.6\r\n1.6\r\n1.8\r\n1.8\r\n800\r\n3\r\n1.5");
}

TEST_F(KeyBindings, QWithoutASaveFileKeepsTheResetFiguresAndTheMoney) {
    gameState = GameState::Race;
    money = 4200;
    playerCar.color = Vector3(0.3f, 0.6f, 0.9f);
    playerCar.accel = 5.4f;
    playerCar.turnRate = 3;
    turnWith({keyQ});
    EXPECT_EQ(money, 4200);
    EXPECT_EQ(playerCar.color, Vector3(1, 0.6f, 1));
    EXPECT_FLOAT_EQ(playerCar.accel, 2.0f);
    EXPECT_FLOAT_EQ(playerCar.turnRate, 3.0f);  // the grav tires are kept
}

struct DestroyedCase {
    int levelBefore;
    int levelAfter;
};

TEST_F(KeyBindings, QHeldAfterTheCarWasDestroyedAdvancesTheTrackOnceAndWraps) {
    for (DestroyedCase c : {DestroyedCase{1, 2}, DestroyedCase{3, 4}, DestroyedCase{4, 1}}) {
        SCOPED_TRACE(c.levelBefore);
        std::remove("save.car");
        gameState = GameState::Race;
        trackLevel = c.levelBefore;
        playerCar.turnRate = 1.5f;
        playerCar.destroyed = true;
        turnWith({keyQ});
        EXPECT_EQ(trackLevel, c.levelAfter);
        EXPECT_FALSE(playerCar.destroyed);
        turnWith({keyQ});
        EXPECT_EQ(trackLevel, c.levelAfter);
        // The second turn, already on the menu, saved the advanced level: the eighth
        // value, before the turn rate.
        std::string save = fileBytes("save.car");
        EXPECT_EQ(save.substr(save.size() - 6), std::to_string(c.levelAfter) + "\r\n1.5");
    }
}

// ---- Enter and the shop ---------------------------------------------------------------

TEST_F(KeyBindings, EnterOnTheMainMenuOpensTheSelectedItem) {
    gameState = GameState::MainMenu;
    menuSelection = 0;
    turnWith({VK_RETURN});
    EXPECT_EQ(gameState, GameState::SetupColor);
    gameState = GameState::MainMenu;
    menuSelection = 1;
    turnWith({VK_RETURN});
    EXPECT_EQ(gameState, GameState::Race);
}

TEST_F(KeyBindings, EnterBuysOnlyOnAShopPageAndAlwaysReArmsItsTimer) {
    const int screens[] = {GameState::MainMenu, GameState::SetupColor, GameState::Race,
                           GameState::SetupEngine};
    for (int screen : screens) {
        SCOPED_TRACE(screen);
        gameState = screen;
        menuSelection = 1;
        engineChoice = 2;
        money = 3000;
        buyKeyTimer = -0.01f;
        turnWith({VK_RETURN});
        EXPECT_FLOAT_EQ(buyKeyTimer, 0.5f);
        EXPECT_EQ(money, screen == GameState::SetupEngine ? 1000 : 3000);
        // Not below 0 any more: held Enter buys nothing more until the timer runs out.
        turnWith({VK_RETURN});
        EXPECT_EQ(money, screen == GameState::SetupEngine ? 1000 : 3000);
    }
}

TEST_F(KeyBindings, ShopPurchasesSurviveQGravTiresIncluded) {
    gameState = GameState::SetupEngine;
    money = 20000;
    engineChoice = 5;
    buyKeyTimer = -1;
    turnWith({VK_RETURN});
    gameState = GameState::SetupTires;
    tireChoice = 5;
    buyKeyTimer = -1;
    turnWith({VK_RETURN});
    EXPECT_FLOAT_EQ(playerCar.turnRate, 4.5f);
    EXPECT_EQ(money, 10000);
    turnWith({keyQ});
    EXPECT_FLOAT_EQ(playerCar.accel, 5.4f);
    EXPECT_FLOAT_EQ(playerCar.topSpeed, 3.3f);
    EXPECT_FLOAT_EQ(playerCar.turnRate, 4.5f);
    EXPECT_EQ(money, 10000);
}

// ---- pages, menu items and set-up values ---------------------------------------------

TEST_F(KeyBindings, DownAndUpStepThePagesWithWrapsAndDownWinsWhenBothAreHeld) {
    struct PageCase {
        int from;
        std::initializer_list<int> keys;
        int to;
    };
    const PageCase cases[] = {
        {GameState::SetupColor, {VK_DOWN}, GameState::SetupEngine},
        {GameState::SetupTires, {VK_DOWN}, GameState::SetupColor},
        {GameState::SetupColor, {VK_UP}, GameState::SetupTires},
        {GameState::SetupBoost, {VK_UP}, GameState::SetupEngine},
        {GameState::SetupBoost, {VK_DOWN, VK_UP}, GameState::SetupTires},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.from);
        gameState = c.from;
        pageKeyTimer = -0.01f;
        turnWith(c.keys);
        EXPECT_EQ(gameState, c.to);
        EXPECT_FLOAT_EQ(pageKeyTimer, 0.1f);
        turnWith(c.keys);  // the timer holds it until set-up frames run it down
        EXPECT_EQ(gameState, c.to);
    }
    gameState = GameState::Race;
    pageKeyTimer = -1;
    menuKeyTimer = -1;
    turnWith({VK_DOWN});
    turnWith({VK_UP});
    EXPECT_EQ(gameState, GameState::Race);
    EXPECT_FLOAT_EQ(pageKeyTimer, -1);
    EXPECT_FLOAT_EQ(menuKeyTimer, -1);
}

TEST_F(KeyBindings, MainMenuSelectionMovesOncePerPressAndReArmsOnEveryTurn) {
    gameState = GameState::MainMenu;
    menuSelection = 0;
    menuKeyTimer = -0.05f;
    turnWith({VK_DOWN});
    EXPECT_EQ(menuSelection, 1);
    EXPECT_FLOAT_EQ(menuKeyTimer, 0.1f);
    menuKeyTimer = 0.05f;  // some main-menu frames later, key still held
    turnWith({VK_DOWN});
    EXPECT_EQ(menuSelection, 1);
    EXPECT_FLOAT_EQ(menuKeyTimer, 0.1f);
    menuKeyTimer = -0.05f;
    turnWith({VK_DOWN});
    EXPECT_EQ(menuSelection, 0);  // wrapped
    menuKeyTimer = -0.05f;
    turnWith({VK_UP});
    EXPECT_EQ(menuSelection, 1);  // wrapped the other way
    menuKeyTimer = 0;  // not below 0: the first press after start waits for a frame
    turnWith({VK_UP});
    EXPECT_EQ(menuSelection, 1);
}

TEST_F(KeyBindings, ColourSliderStepsByThreeAndWrapsAtBothEnds) {
    struct SliderCase {
        float from;
        int key;
        float to;
    };
    const SliderCase cases[] = {
        {250, VK_LEFT, 247}, {4, VK_LEFT, 1}, {1, VK_LEFT, 765}, {0, VK_LEFT, 765},
        {250, VK_RIGHT, 253}, {762, VK_RIGHT, 765}, {763, VK_RIGHT, 0}, {765, VK_RIGHT, 0},
    };
    gameState = GameState::SetupColor;
    for (const SliderCase& c : cases) {
        SCOPED_TRACE(c.from);
        colorSlider = c.from;
        colorKeyTimer = -0.0001f;
        turnWith({c.key});
        EXPECT_FLOAT_EQ(colorSlider, c.to);
        EXPECT_FLOAT_EQ(colorKeyTimer, 0.001f);
    }
    colorSlider = 250;
    colorKeyTimer = -0.0001f;
    turnWith({VK_LEFT, VK_RIGHT});  // Left acts and re-arms: Right does nothing
    EXPECT_FLOAT_EQ(colorSlider, 247);
}

TEST_F(KeyBindings, ShopChoicesStepUnderTheirOwnPageTimersAndWrap) {
    struct ChoiceCase {
        int page;
        float* choice;
        float* timer;
    };
    const ChoiceCase pages[] = {
        {GameState::SetupEngine, &engineChoice, &engineKeyTimer},
        {GameState::SetupBoost, &boostChoice, &boostKeyTimer},
        {GameState::SetupTires, &tireChoice, &tireKeyTimer},
    };
    for (const ChoiceCase& p : pages) {
        SCOPED_TRACE(p.page);
        gameState = p.page;
        engineKeyTimer = boostKeyTimer = tireKeyTimer = -1;
        *p.choice = 1;
        *p.timer = -0.01f;
        turnWith({VK_LEFT});
        EXPECT_FLOAT_EQ(*p.choice, 5);
        EXPECT_FLOAT_EQ(*p.timer, 0.1f);
        *p.timer = -0.01f;
        turnWith({VK_RIGHT});
        EXPECT_FLOAT_EQ(*p.choice, 1);
        *p.timer = -0.01f;
        turnWith({VK_LEFT, VK_RIGHT});
        EXPECT_FLOAT_EQ(*p.choice, 5);
        *p.timer = 0.05f;
        turnWith({VK_RIGHT});
        EXPECT_FLOAT_EQ(*p.choice, 5);
        // Only this page's timer was used.
        int others = 0;
        for (float* t : {&engineKeyTimer, &boostKeyTimer, &tireKeyTimer})
            if (t != p.timer) others += *t == -1;
        EXPECT_EQ(others, 2);
    }
}

TEST_F(KeyBindings, SetupValuesDoNothingOnTheMainMenuOrInARace) {
    for (int screen : {int(GameState::MainMenu), int(GameState::Race)}) {
        gameState = screen;
        colorSlider = 250;
        engineChoice = 2;
        colorKeyTimer = engineKeyTimer = -1;
        turnWith({VK_LEFT});
        turnWith({VK_RIGHT});
        EXPECT_FLOAT_EQ(colorSlider, 250);
        EXPECT_FLOAT_EQ(engineChoice, 2);
    }
}

}  // namespace
