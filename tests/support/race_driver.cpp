// race_driver.cpp - a run started on a track, and the player's car driven by the game's
// own computer steering.
#include "race_driver.h"

#include <fstream>

#include "key_bindings.h"
#include "start_up.h"
#include "test_paths.h"
#include "window_procedure.h"
#include "world.h"

bool startRunHere(int track) {
    std::ofstream("save.car", std::ios::binary)
        << "1\r\n0\r\n1\r\n2\r\n1.4\r\n1.4\r\n3000\r\n" << track;
    if (!initGame()) return false;
    gameState = GameState::Race;
    return true;
}

bool startRunOnTrack(const std::string& name, int track) {
    freshWorkDirWithData(name);
    return startRunHere(track);
}

void RaceDriver::drive() const {
    const int keyA = 'A';
    keyDown[keyA] = true;
    pollKeys();
    keyDown[keyA] = false;
    if (raceCountdown - frameTime > 1.0f) return;
    playerCar.computerDriven = true;
    // Above what the drag allows, as the opponents' is: it asks for throttle always.
    playerCar.aiCruiseSpeed = 4.0f;
}
