// configuration.cpp - the build configuration: display size and start mode.
// Built once for each configuration with its KORV_* definitions (korv_add_configuration
// in the top CMakeLists.txt), so the six configurations share one build of the game and
// differ only in this file.
#include "world.h"

#if !defined(KORV_SCREEN_WIDTH) || !defined(KORV_SCREEN_HEIGHT) || !defined(KORV_FULL_SCREEN)
#error "configuration.cpp is built with a configuration's KORV_SCREEN_WIDTH, KORV_SCREEN_HEIGHT and KORV_FULL_SCREEN"
#endif

const int configuredScreenWidth = KORV_SCREEN_WIDTH;
const int configuredScreenHeight = KORV_SCREEN_HEIGHT;
bool fullScreen = KORV_FULL_SCREEN != 0;
