// menus_screenshots_test.cpp - pictures of the main menu and of the four car set-up pages
// as PNG files (menu.png, setup-color.png, setup-engine.png, setup-boost.png and
// setup-tires.png) in the folder that KORV_SCREENSHOT_DIR names, or in screenshots/
// beside the test work folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "frame_pixels.h"
#include "game_fixture.h"
#include "game_state.h"
#include "menus.h"
#include "start_up.h"
#include "world.h"

namespace {

struct Picture {
    const char* file;
    int screen;
    float choice;  // of the shop page shown
};

const Picture pictures[] = {
    {"menu.png", GameState::MainMenu, 0},
    {"setup-color.png", GameState::SetupColor, 0},
    {"setup-engine.png", GameState::SetupEngine, 4},
    {"setup-boost.png", GameState::SetupBoost, 3},
    {"setup-tires.png", GameState::SetupTires, 5},
};

}  // namespace

using MenuScreenshots = GameFixture;

TEST_F(MenuScreenshots, MainMenuAndSetupPages) {
    std::filesystem::path dir = screenshotDir();
    std::filesystem::create_directories(dir);
    trackLevel = 2;  // two tracks reached: the list shows both colours and the grey

    for (const Picture& picture : pictures) {
        gameState = picture.screen;
        engineChoice = boostChoice = tireChoice = picture.choice > 0 ? picture.choice : 1;
        // A second of frames: the highlight has turned white, the figures have moved on.
        for (int frame = 0; frame < 50; ++frame) {
            frameTime = 0.02f;
            if (gameState == GameState::MainMenu)
                drawMainMenu();
            else
                drawSetupScreen();
        }
        FramePixels pixels(GL_FRONT);
        int lit = pixels.count([](Rgb c) { return c.r + c.g + c.b > 60; });
        EXPECT_GT(lit, 5000) << picture.file << " shows the screen, not an empty frame";
        std::filesystem::path file = dir / picture.file;
        ASSERT_TRUE(pixels.writePng(file.string())) << file;
        std::printf("wrote %s\n", file.string().c_str());
    }
}
