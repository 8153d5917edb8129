// menus.h - the main menu and the car set-up screens.
#ifndef KORVALINTH_GAME_MENUS_H
#define KORVALINTH_GAME_MENUS_H

void drawMainMenu();
void drawSetupScreen();

#endif
