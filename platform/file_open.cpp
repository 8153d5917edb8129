// file_open.cpp - the game's Windows paths on a POSIX file system: '\' becomes '/'.
#include <string>

#include "../engine/file_open.h"

FILE* openDataFile(const char* path, const char* mode) {
    std::string native(path);
    for (char& c : native)
        if (c == '\\') c = '/';
    return std::fopen(native.c_str(), mode);
}
