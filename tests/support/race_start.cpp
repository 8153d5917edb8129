// race_start.cpp - a race under way on a track, for the tests that look at one race frame.
#include "race_start.h"

#include "track.h"
#include "world.h"

void startRaceOnGrid(int track) {
    trackLevel = track;
    buildTrack();
    nextGridSlot = 0;
    playerCar.resetForRace();
    for (int j = 0; j < 4; ++j) otherCars[j].resetForRace();
    gameState = GameState::Race;
    frameTimer = nullptr;
    frameTime = 1.0f / 60;
    raceCountdown = -1;
    raceEndTimer = 0;
    playerCar.place = 3;
    shownPlace = 3;
    placeFlashTimer = 0;
}
