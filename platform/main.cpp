// main.cpp - the program's entry on Linux: the game's WinMain, command line ignored.
#include "win32.h"

int main() { return WinMain(nullptr, nullptr, nullptr, 0); }
