// shop_test.cpp - the catalogue's texts and figures and the purchase rule.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "game_state.h"
#include "race_frame.h"
#include "shop.h"
#include "test_paths.h"
#include "world.h"

namespace {

struct Expected {
    const char* name;
    const char* label;
    const char* secondLabel;
    const char* priceText;
    float accel, topSpeed, boostPower, turnRate;  // after buying it from a fresh car
};

const Expected catalogue[3][5] = {
    {
        {"Fire Fission Engine", "1.2z", nullptr, "$1000", 1.5f, 1.5f, 1.4f, 1.0f},
        {"Hydro Fission Engine", "1.4z", nullptr, "$2000", 1.6f, 1.8f, 1.4f, 1.0f},
        {"Stone Fission Engine", "1.7z", nullptr, "$3000", 2.0f, 1.9f, 1.4f, 1.0f},
        {"Fire Wind Fusion   ", "3.0z", nullptr, "$4000", 3.4f, 2.4f, 1.4f, 1.0f},
        {"Elemental Light Engine", "6.0z", nullptr, "$5000", 5.4f, 3.3f, 1.4f, 1.0f},
    },
    {
        {"Inferno", "50%", "3x", "$1000", 2.0f, 1.4f, 1.6f, 1.0f},
        {"Hydro  ", "60%", "2x", "$2000", 2.0f, 1.4f, 1.8f, 1.0f},
        {"StoneWind", "40%", "6x", "$3000", 2.0f, 1.4f, 1.9f, 1.0f},
        {"Sun Burst  ", "200%", "1x", "$4000", 2.0f, 1.4f, 2.2f, 1.0f},
        {"Korvalinth", "100%", "3x", "$5000", 2.0f, 1.4f, 2.8f, 1.0f},
    },
    {
        {"Flame Grav", "Slow", nullptr, "$1000", 2.0f, 1.4f, 1.4f, 1.5f},
        {"Rock Grav", "Good", nullptr, "$2000", 2.0f, 1.4f, 1.4f, 1.6f},
        {"Wind Lift", "Fast", nullptr, "$3000", 2.0f, 1.4f, 1.4f, 1.7f},
        {"Ice Force", "Ex", nullptr, "$4000", 2.0f, 1.4f, 1.4f, 3.0f},
        {"Omni Force", "Ex2", nullptr, "$5000", 2.0f, 1.4f, 1.4f, 4.5f},
    },
};

float& choiceOf(int page) {
    return page == GameState::SetupEngine ? engineChoice
           : page == GameState::SetupBoost ? boostChoice
                                             : tireChoice;
}

void freshFigures() {
    playerCar.accel = 2.0f;
    playerCar.topSpeed = 1.4f;
    playerCar.boostPower = 1.4f;
    playerCar.turnRate = 1.0f;
}

std::string text(const char* s) { return s ? s : "(none)"; }

TEST(Shop, EveryEntryShowsItsTextsAndBuysWithExactlyItsPriceButNotOneDollarLess) {
    for (int page = GameState::SetupEngine; page <= GameState::SetupTires; ++page) {
        for (int c = 1; c <= 5; ++c) {
            SCOPED_TRACE("page " + std::to_string(page) + " choice " + std::to_string(c));
            const Expected& want = catalogue[page - GameState::SetupEngine][c - 1];
            const ShopEntry* entry = shopEntry(page, float(c));
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(text(entry->name), want.name);
            EXPECT_EQ(text(entry->label), want.label);
            EXPECT_EQ(text(entry->secondLabel), text(want.secondLabel));
            EXPECT_EQ(text(entry->priceText), want.priceText);

            gameState = page;
            choiceOf(page) = float(c);
            freshFigures();
            money = c * 1000 - 1;
            purchase();
            EXPECT_EQ(money, c * 1000 - 1);
            EXPECT_FLOAT_EQ(playerCar.accel, 2.0f);
            EXPECT_FLOAT_EQ(playerCar.topSpeed, 1.4f);
            EXPECT_FLOAT_EQ(playerCar.boostPower, 1.4f);
            EXPECT_FLOAT_EQ(playerCar.turnRate, 1.0f);

            money = c * 1000;
            purchase();
            EXPECT_EQ(money, 0);
            EXPECT_EQ(playerCar.accel, want.accel);
            EXPECT_EQ(playerCar.topSpeed, want.topSpeed);
            EXPECT_EQ(playerCar.boostPower, want.boostPower);
            EXPECT_EQ(playerCar.turnRate, want.turnRate);
        }
    }
}

TEST(Shop, BuyingAgainChargesAgainAndACheaperEngineReplacesADearerOne) {
    gameState = GameState::SetupEngine;
    freshFigures();
    money = 12000;
    engineChoice = 5;
    purchase();
    purchase();
    EXPECT_EQ(money, 2000);
    engineChoice = 1;
    purchase();
    EXPECT_EQ(money, 1000);
    EXPECT_FLOAT_EQ(playerCar.accel, 1.5f);
    EXPECT_FLOAT_EQ(playerCar.topSpeed, 1.5f);
}

TEST(Shop, NothingIsSoldOffTheShopPagesOrForAChoiceThatIsNoEntry) {
    struct Case {
        int screen;
        float choice;
        int money;
    };
    const Case cases[] = {
        {GameState::SetupColor, 1, 9000},  {GameState::MainMenu, 1, 9000},
        {GameState::Race, 1, 9000},        {GameState::SetupEngine, 2.5f, 9000},
        {GameState::SetupBoost, 0, 9000},  {GameState::SetupTires, 6, 9000},
        {GameState::SetupEngine, 1, -500}, {GameState::SetupEngine, 5, INT_MIN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screen);
        gameState = c.screen;
        engineChoice = boostChoice = tireChoice = c.choice;
        freshFigures();
        money = c.money;
        purchase();
        EXPECT_EQ(money, c.money);
        EXPECT_FLOAT_EQ(playerCar.accel, 2.0f);
        EXPECT_FLOAT_EQ(playerCar.boostPower, 1.4f);
        EXPECT_FLOAT_EQ(playerCar.turnRate, 1.0f);
    }
    EXPECT_EQ(shopEntry(GameState::SetupColor, 1), nullptr);
}

TEST(Shop, ARaceEndKeepsWhatWasBought) {
    freshWorkDir("shop-race-end");
    copyDataFilesHere();
    trackLevel = 1;
    money = 15000;
    const int pages[] = {GameState::SetupEngine, GameState::SetupBoost, GameState::SetupTires};
    for (int page : pages) {
        gameState = page;
        choiceOf(page) = 5;
        purchase();
    }
    ASSERT_EQ(money, 0);
    gameState = GameState::Race;
    playerCar.place = 1;
    raceEndTimer = 0;
    frameTime = 5.5f;
    raceEndStep();
    EXPECT_EQ(gameState, GameState::MainMenu);
    EXPECT_FLOAT_EQ(playerCar.accel, 5.4f);
    EXPECT_FLOAT_EQ(playerCar.topSpeed, 3.3f);
    EXPECT_FLOAT_EQ(playerCar.boostPower, 2.8f);
    EXPECT_FLOAT_EQ(playerCar.turnRate, 4.5f);
    EXPECT_EQ(money, 4000);
}

}  // namespace
