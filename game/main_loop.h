// main_loop.h - the entry point's loop and the frame dispatch.
#ifndef KORVALINTH_GAME_MAIN_LOOP_H
#define KORVALINTH_GAME_MAIN_LOOP_H

#include "platform.h"

void runFrame();

// One loop turn; false when the loop ends. exitCode gets the entry point's result then.
bool mainLoopTurn(HWND window, MSG& message, int& exitCode);

#endif
