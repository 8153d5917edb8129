// key_bindings.cpp - the key polls of one main-loop turn, in their fixed order.
//
// A held key acts on every turn. Only the menu and set-up actions are slowed, each by
// its own countdown: an action fires while its countdown is below 0 and re-arms it, and
// the countdowns run down only while their own screen is drawn (menus.cpp). The order
// of the polls decides what wins when two keys are held: D over A, Down over Up, the
// set-up Left over the set-up Right, and in a pool the first steering key gets the
// third-rate turn.
#include "key_bindings.h"

#include <cmath>

#include "game_state.h"
#include "new_race.h"
#include "save_file.h"
#include "shop.h"
#include "track.h"
#include "window_procedure.h"
#include "world.h"

namespace {

const int keyA = 0x41;
const int keyD = 0x44;
const int keyP = 0x50;
const int keyQ = 0x51;
const int keyZ = 0x5A;

const float pageRepeat = 0.1f;
const float sliderRepeat = 0.001f;
const float choiceRepeat = 0.1f;
const float buyRepeat = 0.5f;

bool onSetupPage() {
    return gameState >= GameState::SetupColor && gameState <= GameState::SetupTires;
}

// turn is +1 for Left, -1 for Right. frameTime is still the previous frame's here.
void steer(float turn) {
    bool turned = false;
    if (!playerCar.destroyed && !playerCar.inPool) {
        playerCar.heading += turn * playerCar.turnRate * frameTime;
        turned = true;
    } else {
        if (playerCar.inPool) {
            playerCar.heading += turn * playerCar.turnRate * frameTime / 3;
            turned = true;
        }
        playerCar.inPool = false;
    }
    if (turned) {
        // Not unit length; the car's update normalises it.
        double heading = playerCar.heading;
        playerCar.direction.z = float(std::cos(heading) - std::sin(heading));
        playerCar.direction.x = float(std::sin(heading) + std::cos(heading));
    }
}

// Leaving a race saves nothing, so the reload brings back the last save.
void backToMenu() {
    if (gameState != GameState::Race) saveCar();
    gameState = GameState::MainMenu;
    if (playerCar.destroyed) {
        ++trackLevel;
        if (trackLevel > 4) trackLevel = 1;
    }
    nextGridSlot = 0;
    // The grav tires are kept as the race end keeps them; the file, when it holds a
    // turn rate, has the last word.
    const float turnRate = playerCar.turnRate;
    resetRacers();
    playerCar.turnRate = turnRate;
    buildTrack();
    reloadSaveFile();
}

// step is +1 for Down, -1 for Up.
void changePageOrItem(int step) {
    if (onSetupPage()) {
        if (pageKeyTimer < 0) {
            gameState += step;
            if (gameState > GameState::SetupTires) gameState = GameState::SetupColor;
            if (gameState < GameState::SetupColor) gameState = GameState::SetupTires;
            pageKeyTimer = pageRepeat;
        }
    } else if (gameState == GameState::MainMenu) {
        if (menuKeyTimer < 0) {
            menuSelection += step;
            if (menuSelection > 1) menuSelection = 0;
            if (menuSelection < 0) menuSelection = 1;
        }
        // Re-armed while held, so the selection moves once per press.
        menuKeyTimer = pageRepeat;
    }
}

void stepChoice(float& choice, float& timer, int step) {
    if (timer < 0) {
        choice += float(step);
        if (choice < 1) choice = 5;
        if (choice > 5) choice = 1;
        timer = choiceRepeat;
    }
}

// step is -1 for Left, +1 for Right.
void changeSetupValue(int step) {
    switch (gameState) {
    case GameState::SetupColor:
        if (colorKeyTimer < 0) {
            colorSlider += 3.0f * float(step);
            if (colorSlider < 1) colorSlider = 765;
            if (colorSlider > 765) colorSlider = 0;
            colorKeyTimer = sliderRepeat;
        }
        break;
    case GameState::SetupEngine: stepChoice(engineChoice, engineKeyTimer, step); break;
    case GameState::SetupBoost: stepChoice(boostChoice, boostKeyTimer, step); break;
    case GameState::SetupTires: stepChoice(tireChoice, tireKeyTimer, step); break;
    default: break;
    }
}

void select() {
    if (gameState == GameState::MainMenu && menuSelection == 0) gameState = GameState::SetupColor;
    if (gameState == GameState::MainMenu && menuSelection == 1) gameState = GameState::Race;
    if (buyKeyTimer < 0) {
        purchase();  // buys only on a shop page
        buyKeyTimer = buyRepeat;
    }
}

}  // namespace

void pollKeys() {
    if (keyDown[keyA]) playerCar.driveMode = DriveMode::Throttle;
    if (keyDown[keyD]) playerCar.driveMode = DriveMode::Glide;
    if (keyDown[VK_LEFT]) steer(+1);
    if (keyDown[keyP] && gameState == GameState::MainMenu) startNewGame();
    if (keyDown[VK_RIGHT]) steer(-1);
    if (keyDown[keyQ]) backToMenu();
    if (keyDown[keyZ]) playerCar.boostActive = true;
    if (keyDown[VK_DOWN]) changePageOrItem(+1);
    if (keyDown[VK_UP]) changePageOrItem(-1);
    if (keyDown[VK_LEFT]) changeSetupValue(-1);
    if (keyDown[VK_RIGHT]) changeSetupValue(+1);
    if (keyDown[VK_RETURN]) select();
}
