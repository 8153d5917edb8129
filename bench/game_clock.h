// game_clock.h - the game's clock during the measured scenes: one sixtieth of a second
// per loop turn, whatever the turn really took.
#ifndef KORVALINTH_BENCH_GAME_CLOCK_H
#define KORVALINTH_BENCH_GAME_CLOCK_H

// From now on the game's performance counter stands still but for advanceGameClock.
void startSteadyGameClock();
// One frame's worth: 1/60 s.
void advanceGameClock();
// The frameTime that the game's timer measures over one steady turn.
float steadyFrameSeconds();

#endif
