// start_up_phases.h - the parts of the game's start-up, timed where initGame calls them.
#ifndef KORVALINTH_BENCH_START_UP_PHASES_H
#define KORVALINTH_BENCH_START_UP_PHASES_H

#include "bench_names.h"

// Times the wrapped calls between the two; calls outside them are not counted.
void beginTimingStartUp();
void endTimingStartUp();
double startUpPartSeconds(int part);

#endif
