// file_open_win32.cpp - Windows takes the game's paths as they are.
#include "file_open.h"

#include <io.h>
#include <sys/stat.h>

DataPathKind dataPathKind(const char* path) {
    struct _stat info;
    if (_stat(path, &info) != 0) return DataPathKind::Missing;
    return (info.st_mode & _S_IFMT) == _S_IFREG ? DataPathKind::RegularFile : DataPathKind::Other;
}

FILE* openDataFile(const char* path, const char* mode) {
    if (dataPathKind(path) != DataPathKind::RegularFile) return nullptr;
    return std::fopen(path, mode);
}

bool mayWriteDataFile(const char* path) {
    switch (dataPathKind(path)) {
    case DataPathKind::Missing: return true;
    case DataPathKind::RegularFile: return _access(path, 2) == 0;   // 2: write; false when read-only
    default: return false;
    }
}
