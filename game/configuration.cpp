// configuration.cpp - the build configuration: display size and start mode.
// Compiled into each executable with its own KORV_* definitions, so the six
// configurations share one build of the game and differ only in this file.
#include "world.h"

#ifndef KORV_SCREEN_WIDTH
#define KORV_SCREEN_WIDTH 640
#endif
#ifndef KORV_SCREEN_HEIGHT
#define KORV_SCREEN_HEIGHT 480
#endif
#ifndef KORV_FULL_SCREEN
#define KORV_FULL_SCREEN 0
#endif

const int configuredScreenWidth = KORV_SCREEN_WIDTH;
const int configuredScreenHeight = KORV_SCREEN_HEIGHT;
bool fullScreen = KORV_FULL_SCREEN != 0;
