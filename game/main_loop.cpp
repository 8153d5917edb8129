// main_loop.cpp - the entry point: the window, the game's start-up, the main loop of
// one message, the key polls and one frame per turn, and the shutdown.
#include "main_loop.h"

#include <cstring>

#include "game_state.h"
#include "game_window.h"
#include "key_bindings.h"
#include "menus.h"
#include "race_frame.h"
#include "save_file.h"
#include "start_up.h"
#include "window_procedure.h"
#include "world.h"

namespace {

// A menu turn longer than this was a stall (the machine suspended, the window dragged, a
// debugger, the loading before the first frame), not a frame, and passes as a frame of
// this length. Countdowns run slower across a stall.
const float longestFrameTime = 0.1f;

// Every race turn advances the race by this, however long the turn took: the cars move
// a fixed distance per frame, so only a fixed step keeps forces, drag, steering and the
// countdowns in the proportion to it that the race is tuned for, and a race is then the
// same race on any machine, only slower where fewer frames a second are drawn. A stall
// is one step. As a float, times 60 it is 1, so a wreck's blast grows every frame.
const float raceStepSeconds = 1.0f / 60;

void shutDown() {
    delete frameTimer;
    frameTimer = nullptr;
    if (fullScreen) {
        ChangeDisplaySettingsA(nullptr, 0);
        ShowCursor(TRUE);
    }
}

}  // namespace

void runFrame() {
    // Taken on every turn, so that the first menu turn after a race measures only itself.
    // Without a timer the menus still run, with no time passing.
    const float elapsed = frameTimer ? frameTimer->elapsedSeconds(1) : 0.0f;
    if (gameState == GameState::Race) frameTime = raceStepSeconds;
    else frameTime = elapsed < longestFrameTime ? elapsed : longestFrameTime;
    switch (gameState) {
    case GameState::Race:
        runRaceFrame();
        break;
    case GameState::MainMenu:
        drawMainMenu();
        break;
    default:
        drawSetupScreen();
        break;
    }
}

// A message reaches the window procedure after the frame of the turn that took it, so
// a key change is seen by the key polls of the next turn.
bool mainLoopTurn(HWND window, MSG& message, int& exitCode) {
    bool taken = PeekMessageA(&message, window, 0, 0, PM_REMOVE) != FALSE;
    if (taken && message.message == WM_QUIT) {
        exitCode = int(message.wParam);
        return false;
    }
    pollKeys();
    if (keyDown[VK_ESCAPE]) {
        saveCar();
        // A normal quit: the message taken last is a key message whose wParam is a key
        // code, not a status to hand to whoever started the game.
        exitCode = 0;
        return false;
    }
    runFrame();
    if (taken) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HWND window = openGameWindow(instance, configuredScreenWidth, configuredScreenHeight);
    if (!window) return 0;

    // A start-up that could not find its data has told the player so; there is no game
    // to run.
    int exitCode = 1;
    if (initGame()) {
        MSG message;
        std::memset(&message, 0, sizeof message);
        while (mainLoopTurn(window, message, exitCode)) {
        }
    }
    shutDown();
    return exitCode;
}
