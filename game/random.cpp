// random.cpp - the game's one random generator: the runtime library's linear
// congruential sequence, so every platform draws the numbers the rules were tuned on
// (aiCruiseSpeed 4 after a set of resets, the boulder places, the particles).
#include "random.h"

// Constant-initialised, so it holds 1 before the first car constructor draws from it.
uint32_t randomState = 1;

int gameRand() {
    // Unsigned arithmetic wraps modulo 2^32, which is the generator's modulus.
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7fffu);
}

void gameSrand(uint32_t seed) { randomState = seed; }
