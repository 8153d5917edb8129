// random.cpp - placeholder, replaced by its own work.
#include "random.h"
uint32_t randomState = 1;
int gameRand() { return 0; }
void gameSrand(uint32_t) {}
