// start_up.h - the game's start-up, run once after the window and context exist.
#ifndef KORVALINTH_GAME_START_UP_H
#define KORVALINTH_GAME_START_UP_H

// Returns false when a required data file is missing; the entry point then stops
// with a message instead of running the loop.
bool initGame();

#endif
