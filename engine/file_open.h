// file_open.h - opening the game's data files by the names the game gives them.
// The game names files with Windows separators ("models\ogro\tris.md2"); this is the
// one place where a port turns such a name into one its file system takes.
#ifndef KORVALINTH_ENGINE_FILE_OPEN_H
#define KORVALINTH_ENGINE_FILE_OPEN_H

#include <cstdio>

// fopen with the game's path; null when the file does not open.
FILE* openDataFile(const char* path, const char* mode);

#endif
