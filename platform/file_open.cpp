// file_open.cpp - the game's Windows paths on a POSIX file system: '\' becomes '/'.
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "../engine/file_open.h"

namespace {

std::string nativePath(const char* path) {
    std::string native(path);
    for (char& c : native)
        if (c == '\\') c = '/';
    return native;
}

}  // namespace

DataPathKind dataPathKind(const char* path) {
    struct stat info;
    if (stat(nativePath(path).c_str(), &info) != 0) return DataPathKind::Missing;
    return S_ISREG(info.st_mode) ? DataPathKind::RegularFile : DataPathKind::Other;
}

// The kind is looked up before the open, not on the open file: a pipe must never be
// opened at all. A file swapped for a pipe in between is not guarded against.
FILE* openDataFile(const char* path, const char* mode) {
    if (dataPathKind(path) != DataPathKind::RegularFile) return nullptr;
    return std::fopen(nativePath(path).c_str(), mode);
}

bool mayWriteDataFile(const char* path) {
    const std::string native = nativePath(path);
    struct stat info;
    if (stat(native.c_str(), &info) != 0) return true;   // a plain writer creates it
    if (!S_ISREG(info.st_mode)) return false;
    // access() answers yes for root whatever the mode, so a file nobody may write (0444)
    // is caught by its mode bits.
    const bool markedWritable = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return markedWritable && access(native.c_str(), W_OK) == 0;
}
