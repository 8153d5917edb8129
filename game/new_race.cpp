// new_race.cpp - a new game and the next race after a race end: the order of their
// steps decides the random draws (every reset reseeds, the track's boulders draw after
// the resets of a race end but before those of a new game), so it is kept here once.
#include "new_race.h"

#include "hover_car.h"
#include "track.h"
#include "world.h"

void resetRacers() {
    playerCar.resetForRace();
    for (int i = 0; i < 4; ++i) otherCars[i].resetForRace();
}

void startNewGame() {
    trackLevel = 1;
    nextGridSlot = 0;
    buildTrack();
    resetRacers();
    playerCar.color = Vector3(1, 0, 0);
    playerCar.accel = 2.0f;
    playerCar.topSpeed = 1.4f;
    playerCar.boostPower = 1.4f;
    money = 3000;
}

void startNextRace(int track) {
    trackLevel = track;
    nextGridSlot = 0;
    // The reset puts the car on the grid; what the player chose and bought stays.
    const CarTuning bought = playerCar.tuning();
    resetRacers();
    playerCar.setTuning(bought);
    buildTrack();
}
