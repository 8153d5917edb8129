// bench_scenes.cpp - the benchmark's scenes: the empty frame, the main menu, the four
// set-up pages and a race on each track, each run through the game's own loop turn.
//
// In a race the player's car is driven through the race keys (A, D, Left, Right), set in
// keyDown before the turn as the window procedure would set them, so the key bindings,
// the physics and the drawing all run as they do for a player.
#include "bench_scenes.h"

#include <cmath>

#include "game_clock.h"
#include "game_state.h"
#include "main_loop.h"
#include "new_race.h"
#include "window_procedure.h"
#include "world.h"

namespace {

const int keyA = 0x41;
const int keyD = 0x44;
const double pi = 3.14159265358979323846;

// Follows the track outline like the computer cars do, a little ahead of the car, and
// keeps to a moderate speed so that it takes the bends instead of living on the walls.
class PlayerDriver {
public:
    void restart() { waypoint = 1; }

    void setKeys() {
        keyDown[keyA] = keyDown[keyD] = keyDown[VK_LEFT] = keyDown[VK_RIGHT] = false;
        const HoverCar& car = playerCar;
        if (car.destroyed || trackPointCount < 2) return;
        for (int advances = 0; advances <= trackPointCount; ++advances) {
            if (horizontalDistance(trackPoints[waypoint], car.position) >= lookAhead) break;
            waypoint = waypoint < trackPointCount ? waypoint + 1 : 2;
        }
        const double toX = double(trackPoints[waypoint].x) - car.position.x;
        const double toZ = double(trackPoints[waypoint].z) - car.position.z;
        // The heading h drives along (sin h + cos h, cos h - sin h): the angle h + pi / 4.
        double error = std::atan2(toX, toZ) - (double(car.heading) + pi / 4);
        while (error > pi) error -= 2 * pi;
        while (error < -pi) error += 2 * pi;
        const double step = double(car.turnRate) * frameTime;
        if (error > step / 2) keyDown[VK_LEFT] = true;
        else if (error < -step / 2) keyDown[VK_RIGHT] = true;
        const double speed = car.velocity.length();
        if (std::fabs(error) < 0.7 && speed < cruise) keyDown[keyA] = true;
        else if (speed >= cruise) keyDown[keyD] = true;
    }

private:
    const double lookAhead = 25;
    const double cruise = 0.8;
    int waypoint = 1;
};

PlayerDriver driver;

void releaseAllKeys() {
    for (bool& key : keyDown) key = false;
}

// The screens' animations and key countdowns as the game starts them, so that a screen's
// frames do not depend on how long the screens before it ran.
void restartScreenAnimations() {
    menuKeyTimer = pageKeyTimer = colorKeyTimer = engineKeyTimer = boostKeyTimer = 0;
    tireKeyTimer = buyKeyTimer = 0;
    menuSpin = setupSpin = engineSpin = partPulse = 0;
}

}  // namespace

void enterScene(const Scene& scene) {
    // The first scene is entered after the start-up and its first main-menu frame, before
    // any scene's turn: this is the car as the start-up made it.
    static const CarTuning startUpCar = playerCar.tuning();
    releaseAllKeys();
    restartScreenAnimations();
    // A turn's key polls steer by the frameTime of the turn before (runFrame takes the
    // new one after them): the scene starts as if that turn had run on the steady clock.
    frameTime = steadyFrameSeconds();
    switch (scene.kind) {
    case sceneEmpty:
        break;
    case sceneMainMenu:
        gameState = GameState::MainMenu;
        break;
    case sceneSetupPage:
        gameState = scene.value;
        break;
    case sceneRace:
        // The scenes run in one game, and the colour page's scene leaves its colour in the
        // player's car, which a race end keeps: each race starts from the start-up's car,
        // so that its frames do not depend on the scenes before it.
        playerCar.setTuning(startUpCar);
        // The race a race end starts, with its countdown skipped so that every measured
        // frame races.
        startNextRace(scene.value);
        raceCountdown = 0;
        raceEndTimer = 0;
        gameState = GameState::Race;
        driver.restart();
        break;
    }
}

bool runSceneTurn(const Scene& scene, HWND window, MSG& message) {
    if (scene.kind == sceneEmpty) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        SwapBuffers(deviceContext);
        return true;
    }
    advanceGameClock();
    if (scene.kind == sceneRace) driver.setKeys();
    int exitCode = 0;
    return mainLoopTurn(window, message, exitCode);
}

int destroyedRacers() {
    int count = playerCar.destroyed ? 1 : 0;
    for (int j = 0; j < 4; ++j) count += otherCars[j].destroyed ? 1 : 0;
    return count;
}
