// race_start.cpp - a race under way on a track, for the tests that look at one race frame.
#include "race_start.h"

#include "new_race.h"
#include "world.h"

void startRaceOnGrid(int track) {
    // The race the game starts after a race end, on this track.
    startNextRace(track);

    // The test's own set-up beyond the game's start: the race screen without the menu
    // between, the countdown over, a steady step, and a place the HUD has shown already.
    gameState = GameState::Race;
    frameTimer = nullptr;
    frameTime = 1.0f / 60;
    raceCountdown = -1;
    raceEndTimer = 0;
    playerCar.place = 3;
    shownPlace = 3;
    placeFlashTimer = 0;
}
