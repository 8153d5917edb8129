// menus_test.cpp - what the player sees of the main menu and the set-up pages: the
// highlight of the selected item, the white mark in the colour rows, each shop page's
// figure and texts, and the countdowns and animation values that the screens run.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>

#include "frame_pixels.h"
#include "game_fixture.h"
#include "game_state.h"
#include "key_bindings.h"
#include "menus.h"
#include "outline_text.h"
#include "shop.h"
#include "start_up.h"
#include "window_procedure.h"
#include "world.h"

namespace {

using Menus = GameFixture;

// One loop turn as the main loop runs it, the frame time fixed.
void turn(float seconds, std::initializer_list<int> held = {}) {
    std::memset(keyDown, 0, sizeof keyDown);
    for (int key : held) keyDown[key] = true;
    pollKeys();
    frameTime = seconds;
    if (gameState == GameState::MainMenu)
        drawMainMenu();
    else
        drawSetupScreen();
    std::memset(keyDown, 0, sizeof keyDown);
}

// The frame just swapped to the screen.
FramePixels shown() { return FramePixels(GL_FRONT); }

bool grey(Rgb c, int level) { return near(c, Rgb{level, level, level}, 8); }

// ---- main menu -------------------------------------------------------------------------

// Menu texts stand 10 units away: the fog leaves 99 % of their colour.
const double textFog = 0.99;

int menuGrey(double v) { return int(std::lround(v * 255 * textFog)); }

TEST_F(Menus, SelectedItemIsBlackWhileTheKeyIsHeldAndBrightensAfterItsRelease) {
    turn(0.05f);  // one frame first: the first Down acts only once the timer is below 0
    turn(0.05f, {VK_DOWN});
    ASSERT_EQ(menuSelection, 1);
    auto bright = [](Rgb c) { return c.r > 140 && std::abs(c.r - c.g) < 8 && std::abs(c.g - c.b) < 8; };
    for (int held = 0; held < 6; ++held) {
        turn(0.05f, {VK_DOWN});
        EXPECT_EQ(menuSelection, 1) << "moves once per press";
        EXPECT_EQ(shown().count(bright), 0) << "held turn " << held;
    }
    // The held turns left 0.05 after their frames: black for one more frame, then +0.1 a
    // frame (2 per second).
    PixelRegion other;
    for (int frame = 1; frame <= 12; ++frame) {
        turn(0.05f);
        FramePixels pixels = shown();
        double v = 0.1 * (frame - 1);
        if (frame <= 2) {
            EXPECT_EQ(pixels.count(bright), 0) << frame;
        }
        if (frame == 7 || frame == 12) {
            other = pixels.find([](Rgb c) { return grey(c, menuGrey(0.2)); });
            PixelRegion selected =
                pixels.find([v](Rgb c) { return grey(c, menuGrey(std::fmin(v, 1.0))); });
            EXPECT_GT(other.count, 300) << "\"Setup Car\" in dark grey";
            EXPECT_GT(selected.count, 300) << frame;
            EXPECT_LT(selected.meanY, other.meanY) << "\"Begin Race\" is the lower item";
        }
    }
}

TEST_F(Menus, TrackListColoursTheReachedTracksAndTheHelpLinesTakeTheFireLinesColour) {
    const Rgb reached[4] = {{0, 25, 101}, {0, 177, 25}, {0, 25, 202}, {252, 25, 25}};
    const Rgb unreached = {101, 101, 101};
    auto area = [](const FramePixels& p, Rgb c) {
        return p.count([c](Rgb x) { return near(x, c, 6); });
    };
    int greyOnTrack3 = 0, redOnTrack3 = 0;
    for (int level = 1; level <= 4; ++level) {
        SCOPED_TRACE(level);
        trackLevel = level;
        turn(0.05f);
        FramePixels pixels = shown();
        for (int k = 1; k <= 4; ++k) EXPECT_EQ(area(pixels, reached[k - 1]) > 200, k <= level) << k;
        if (level == 3) {
            greyOnTrack3 = area(pixels, unreached);
            redOnTrack3 = area(pixels, reached[3]);
        }
        if (level == 4) {
            EXPECT_LT(area(pixels, unreached), 50) << "no grey line is left";
            // "Fire" and both help lines are red now: far more red than "Fire" alone.
            EXPECT_GT(area(pixels, reached[3]), greyOnTrack3 * 8 / 10);
        }
    }
    EXPECT_LT(redOnTrack3, 50);
    EXPECT_GT(greyOnTrack3, 3000) << "\"Fire\" and the two help lines";
}

// ---- colour page -----------------------------------------------------------------------

TEST_F(Menus, ColourRowsShowExactlyOneWhiteGlyphWhereTheSliderStands) {
    struct MarkCase {
        float slider;
        int row;  // 0 red (top), 1 green, 2 blue; -1 no mark
        float step;
    };
    const MarkCase cases[] = {{250, 0, 250}, {0, 0, 0}, {1, 0, 1}, {254, 0, 254},
                              {255, 1, 0},   {400, 1, 145}, {510, 2, 0}, {764, 2, 254},
                              {765, -1, 0}};
    gameState = GameState::SetupColor;
    double rowY[3] = {0, 0, 0};
    for (const MarkCase& c : cases) {
        SCOPED_TRACE(c.slider);
        colorSlider = c.slider;
        turn(0.02f);
        PixelRegion mark =
            shown().find([](Rgb p) { return p.r > 235 && p.g > 235 && p.b > 235; });
        if (c.row < 0) {
            EXPECT_EQ(mark.count, 0);
            continue;
        }
        // One glyph 1 unit high (34 pixels at this distance), at most its own width.
        EXPECT_GT(mark.count, 20);
        EXPECT_LE(mark.maxX - mark.minX, 8);
        EXPECT_NEAR(mark.maxY - mark.minY, 33, 4);
        // Glyph c stands at x = c/25 - 6.4 units: 34.3 pixels a unit about the centre 320.
        double x = 320 + (c.step / 25 - 6.4) * 34.28;
        EXPECT_NEAR(mark.maxX, x, 5);
        if (rowY[c.row] == 0) rowY[c.row] = mark.meanY;
        EXPECT_NEAR(mark.meanY, rowY[c.row], 2);
    }
    EXPECT_NEAR(rowY[0] - rowY[1], 34.28, 2);
    EXPECT_NEAR(rowY[1] - rowY[2], 34.28, 2);
}

TEST_F(Menus, ColourRampSetsTheCarColourOnEverySetupPageAndLeavesItAt765) {
    struct RampCase {
        float slider;
        Vector3 colour;
    };
    const RampCase cases[] = {{250, Vector3(250.0f / 255, 0, 0)}, {0, Vector3(0, 0, 0)},
                              {255, Vector3(0, 0, 0)},            {300, Vector3(0, 45.0f / 255, 0)},
                              {764, Vector3(0, 0, 254.0f / 255)}, {765, Vector3(0, 0, 254.0f / 255)}};
    EXPECT_EQ(playerCar.color, Vector3(1, 0, 1)) << "the saved colour until a set-up frame";
    for (int page : {int(GameState::SetupColor), int(GameState::SetupTires)}) {
        gameState = page;
        for (const RampCase& c : cases) {
            colorSlider = c.slider;
            turn(0.02f);
            EXPECT_EQ(playerCar.color, c.colour) << page << " " << c.slider;
        }
    }
}

// ---- shop pages ------------------------------------------------------------------------

bool red(Rgb c) { return c.r > 120 && c.r > c.g + 80 && c.r > c.b + 80; }
bool magenta(Rgb c) { return c.r > 120 && c.b > 120 && c.g < 60; }
bool blue(Rgb c) { return c.b > 120 && c.r < 60 && c.g < 120; }
bool green(Rgb c) { return c.g > 100 && c.r < 60 && c.b < c.g - 60; }
bool orange(Rgb c) { return c.r > 150 && c.g > 50 && c.g < 170 && c.b < 60; }
bool greyFigure(Rgb c) {
    return std::abs(c.r - c.g) < 12 && std::abs(c.g - c.b) < 12 && c.r > 40;
}
// The figures stand 110 units away, where the fog dims them to about 90 %: their cyan
// is darker than the texts' at 10 units.
bool cyanFigure(Rgb c) { return c.r < 60 && c.g > 150 && c.b > 150 && c.b < 240; }
bool cyanText(Rgb c) { return c.r < 30 && c.g > 240 && c.b > 240; }
bool yellowText(Rgb c) { return c.r > 240 && c.g > 240 && c.b < 30; }

using Hue = bool (*)(Rgb);

struct FigureCase {
    int page;
    int choice;
    Hue hues[2];  // colours the figure shows (null: none more)
};

// The figures stand in the lower left, under the page labels and left of the money.
const int figureX1 = 300, figureY1 = 240;

// Ink of the entry's name and labels, each printed alone at the texts' distance.
int textInk(const ShopEntry& entry) {
    int ink = 0;
    for (const char* text : {entry.name, entry.label, entry.secondLabel}) {
        if (!text) continue;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0, -3, -10);
        glScalef(1, 1, 0.1f);
        glColor3f(0, 1, 1);
        printCentred(fontBase, text);
        ink += FramePixels(GL_BACK).count(cyanText);
    }
    return ink;
}

TEST_F(Menus, EachShopPageShowsTheFigureNameLabelsAndPriceOfItsFiveChoices) {
    const FigureCase cases[] = {
        {2, 1, {red, nullptr}},     {2, 2, {blue, nullptr}},       {2, 3, {greyFigure, nullptr}},
        {2, 4, {magenta, red}},     {2, 5, {magenta, blue}},       {3, 1, {red, nullptr}},
        {3, 2, {green, nullptr}},   {3, 3, {greyFigure, nullptr}}, {3, 4, {red, orange}},
        {3, 5, {orange, nullptr}},  {4, 1, {orange, nullptr}},     {4, 2, {greyFigure, nullptr}},
        {4, 3, {orange, nullptr}},  {4, 4, {blue, nullptr}},       {4, 5, {cyanFigure, blue}},
    };
    colorSlider = 0;  // a black car: it adds no colour of its own
    gameState = GameState::SetupColor;
    turn(0);
    const int moneyInk = shown().count(yellowText);
    ASSERT_GT(moneyInk, 500);

    for (const FigureCase& c : cases) {
        SCOPED_TRACE("page " + std::to_string(c.page) + " choice " + std::to_string(c.choice));
        gameState = c.page;
        engineChoice = boostChoice = tireChoice = float(c.choice);
        partPulse = 1;   // 0 would flatten the boost figures
        engineSpin = 40;
        turn(0);
        FramePixels pixels = shown();
        for (Hue hue : c.hues)
            if (hue) {
                EXPECT_GT(pixels.count(hue, 0, 0, figureX1, figureY1), 60);
            }
        int cyan = pixels.count(cyanText);
        int price = pixels.count(yellowText) - moneyInk;
        const ShopEntry& entry = shopCatalogue[c.page - GameState::SetupEngine][c.choice - 1];
        int expected = textInk(entry);
        EXPECT_NEAR(cyan, expected, expected * 0.06);
        EXPECT_NEAR(price, moneyInk, moneyInk * 0.25) << "a price of five characters, as $3000";
    }
}

TEST_F(Menus, AChoiceThatIsNoEntryDrawsNoFigureAndNoTexts) {
    colorSlider = 0;
    gameState = GameState::SetupEngine;
    engineChoice = 2.5f;
    turn(0);
    FramePixels pixels = shown();
    EXPECT_EQ(pixels.count(cyanText), 0);
    EXPECT_EQ(pixels.count(blue, 0, 0, figureX1, figureY1), 0);
    EXPECT_EQ(pixels.count(red, 0, 0, figureX1, figureY1), 0);
}

// ---- countdowns and animation values -------------------------------------------------

void pollWith(std::initializer_list<int> held) {
    std::memset(keyDown, 0, sizeof keyDown);
    for (int key : held) keyDown[key] = true;
    pollKeys();
    std::memset(keyDown, 0, sizeof keyDown);
}

TEST_F(Menus, FirstSetupKeysActOnlyAfterASetupFrameAndEachScreenRunsOnlyItsOwnTimers) {
    turn(0.02f);
    EXPECT_FLOAT_EQ(menuKeyTimer, -0.02f);
    pollWith({VK_RETURN});  // "Setup Car"
    ASSERT_EQ(gameState, GameState::SetupColor);
    pollWith({VK_RIGHT, VK_DOWN});
    EXPECT_FLOAT_EQ(colorSlider, 250) << "the set-up timers start at 0, not below it";
    EXPECT_EQ(gameState, GameState::SetupColor);
    frameTime = 0.02f;
    drawSetupScreen();
    EXPECT_FLOAT_EQ(menuKeyTimer, -0.02f) << "the main-menu timer stands still here";
    pollWith({VK_RIGHT});
    EXPECT_FLOAT_EQ(colorSlider, 253);
    pollWith({VK_DOWN});
    EXPECT_EQ(gameState, GameState::SetupEngine);

    // Back on the menu, the set-up timers stand still.
    turn(0.02f, {0x51});  // Q
    ASSERT_EQ(gameState, GameState::MainMenu);
    float pageTimer = pageKeyTimer, buyTimer = buyKeyTimer;
    turn(0.5f);
    EXPECT_FLOAT_EQ(pageKeyTimer, pageTimer);
    EXPECT_FLOAT_EQ(buyKeyTimer, buyTimer);
}

TEST_F(Menus, SpinsAndThePulseAdvanceByTheFrameTimeOnTheirScreens) {
    turn(0.5f);
    EXPECT_FLOAT_EQ(menuSpin, 40);
    EXPECT_FLOAT_EQ(setupSpin, 0);

    struct PulseCase {
        int page;
        float choice, pulseBefore, pulseAfter;
    };
    const PulseCase cases[] = {
        {GameState::SetupBoost, 3, 0.5f, 0.8f}, {GameState::SetupTires, 2, 1.0f, 1.2f},
        {GameState::SetupBoost, 5, 1.9f, 0.0f},  // past 2: back to 0
        {GameState::SetupColor, 5, 2.5f, 0.0f},  // the wrap is tested on every page
        {GameState::SetupEngine, 5, 1.5f, 1.5f},
    };
    for (const PulseCase& c : cases) {
        SCOPED_TRACE(c.page);
        gameState = c.page;
        boostChoice = tireChoice = engineChoice = c.choice;
        partPulse = c.pulseBefore;
        engineSpin = 0;
        setupSpin = 0;
        turn(0.1f);
        EXPECT_NEAR(partPulse, c.pulseAfter, 1e-5);
        EXPECT_NEAR(engineSpin, 6 * c.choice, 1e-4) << "on every page";
        EXPECT_NEAR(setupSpin, 10, 1e-4);
    }
    EXPECT_FLOAT_EQ(menuSpin, 40);
}

}  // namespace
