// race_start.h - a race under way on a track, for the tests that look at one race frame.
#ifndef KORVALINTH_TESTS_RACE_START_H
#define KORVALINTH_TESTS_RACE_START_H

// The racers back on the grid of the track, the countdown over, the player third on a
// place the HUD has shown already, and a HUD that prints the same in every frame: no
// speed, no engine, no frame rate. frameTime is one race step.
void startRaceOnGrid(int track);

#endif
