// race_start.h - a race under way on a track, for the tests that look at one race frame.
#ifndef KORVALINTH_TESTS_RACE_START_H
#define KORVALINTH_TESTS_RACE_START_H

// The race the game starts after a race end, on this track: the racers back on its grid,
// its boulders placed. Then the test's own: the race screen, the countdown over, the
// player third on a place the HUD has shown already, and a HUD that prints the same in
// every frame: no speed, no engine, no frame rate. frameTime is one race step.
void startRaceOnGrid(int track);

#endif
