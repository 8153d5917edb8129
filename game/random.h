// random.h - the runtime library's linear congruential generator, reproduced exactly
// so that every platform draws the numbers the game's rules were tuned on:
// state = state * 214013 + 2531011 (mod 2^32), result bits 16..30; state 1 at start.
#ifndef KORVALINTH_GAME_RANDOM_H
#define KORVALINTH_GAME_RANDOM_H

#include <cstdint>

extern uint32_t randomState;   // constant-initialised to 1

int gameRand();                // 0 to 32767
void gameSrand(uint32_t seed);

#endif
