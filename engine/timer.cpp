// timer.cpp - placeholder, replaced by its own work.
#include "timer.h"
Timer::Timer() {}
Timer::~Timer() {}
bool Timer::init() { return false; }
float Timer::elapsedSeconds(int) { return 0; }
float Timer::ratePerSecond(uint32_t) { return 0; }
