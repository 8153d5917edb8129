// frame_steps.h - where a loop turn's time goes on the game's thread, by step.
#ifndef KORVALINTH_BENCH_FRAME_STEPS_H
#define KORVALINTH_BENCH_FRAME_STEPS_H

#include "bench_names.h"

// Times the wrapped calls, each step's own time without the steps called inside it.
void setStepTiming(bool on);
void clearStepTimes();
double stepSeconds(int step);

#endif
