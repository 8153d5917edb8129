// race_driver.h - the player's car in the headless whole-race test. Driving a car by
// its steering keys alone around three laps is a matter of skill the test does not
// have; instead the test hands the player's car to the game's own computer steering
// (the opponents' rules: waypoints, throttle below a cruise speed, slowing near posts),
// so that a whole race runs from the countdown to the prize the way the game runs it.
#ifndef KORVALINTH_TESTS_RACE_DRIVER_H
#define KORVALINTH_TESTS_RACE_DRIVER_H

#include <fstream>
#include <string>

#include "start_up.h"
#include "test_paths.h"
#include "world.h"

// A fresh work folder with the data and a save file on the given track, then the
// start-up: the first race of a run, with its 10-second countdown and camera path.
inline bool startRunOnTrack(const std::string& name, int track) {
    freshWorkDir(name);
    copyDataFilesHere();
    std::ofstream("save.car", std::ios::binary)
        << "1\r\n0\r\n1\r\n2\r\n1.4\r\n1.4\r\n3000\r\n" << track;
    if (!initGame()) return false;
    gameState = GameState::Race;
    return true;
}

class RaceDriver {
public:
    // The cruise speed every opponent gets after a reset.
    float cruiseSpeed = 4.0f;

    // Called before each frame of 1/60 s. Until the countdown lets the player go, the
    // car stays the player's, held on the grid as the race holds it.
    void drive() const {
        if (raceCountdown - 1.0f / 60 > 1.0f) return;
        playerCar.computerDriven = true;
        playerCar.aiCruiseSpeed = cruiseSpeed;
        // The race frame puts the player back in Coast after every update, so the
        // steering's throttle decision is repeated here, as key A would hold it.
        if (playerCar.velocity.length() < cruiseSpeed) playerCar.driveMode = DriveMode::Throttle;
    }
};

#endif
