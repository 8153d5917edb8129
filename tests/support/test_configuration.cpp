// test_configuration.cpp - the build configuration the tests link: configuration 1.
#include "world.h"

const int configuredScreenWidth = 640;
const int configuredScreenHeight = 480;
bool fullScreen = false;
