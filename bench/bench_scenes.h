// bench_scenes.h - the screens the benchmark measures, and how each is put on screen
// and run for one loop turn.
#ifndef KORVALINTH_BENCH_BENCH_SCENES_H
#define KORVALINTH_BENCH_BENCH_SCENES_H

#include "bench_names.h"
#include "platform.h"

// Puts the game on the scene: the screen, or a fresh race on the track with its
// countdown over, the four opponents and the player reset on the grid.
void enterScene(const Scene& scene);

// One turn of the game's main loop on the scene (message, keys, frame), 1/60 s later on
// the game's clock than the turn before, or a clear and a swap for the empty frame. In a
// race the player's keys are set first, as a player would hold them, so all five cars
// drive. False if the loop would have ended.
bool runSceneTurn(const Scene& scene, HWND window, MSG& message);

// Cars of the race that are destroyed (their explosion is part of what is drawn).
int destroyedRacers();

#endif
