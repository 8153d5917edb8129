// file_open_win32.cpp - Windows takes the game's paths as they are.
#include "file_open.h"

FILE* openDataFile(const char* path, const char* mode) { return std::fopen(path, mode); }
