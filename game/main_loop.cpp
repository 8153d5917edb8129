// main_loop.cpp - placeholder, replaced by its own work.
#include "main_loop.h"
void runFrame() {}
bool mainLoopTurn(HWND, MSG&, int& exitCode) { exitCode = 0; return false; }
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
