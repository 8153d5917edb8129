// menus.cpp - placeholder, replaced by its own work.
#include "menus.h"
void drawMainMenu() {}
void drawSetupScreen() {}
