// file_system_win32.cpp - the game's files on Windows, which takes the game's paths as
// they are.
#include "file_system.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdint>

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

// A file made here has no read-only mark, so it is always its owner's to read and write
// again; the replaced file's owner and other attributes are not carried over.
FILE* createNewFile(const char* path, const char*, NewFileFailure& failure) {
    // CREATE_NEW fails on anything already at the name, a link included.
    HANDLE handle = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        failure = (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) ? NewFileFailure::Exists
                  : error == ERROR_ACCESS_DENIED                                ? NewFileFailure::Refused
                                                                                : NewFileFailure::Other;
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    FILE* file = fd < 0 ? nullptr : _fdopen(fd, "wb");
    if (!file) {
        if (fd < 0)
            CloseHandle(handle);
        else
            _close(fd);
        DeleteFileA(path);
    }
    failure = file ? NewFileFailure::None : NewFileFailure::Other;
    return file;
}

FILE* openFileForUpdate(const char* path) {
    if (dataPathKind(path) != DataPathKind::RegularFile) return nullptr;
    FILE* file = std::fopen(path, "r+b");
    if (file) std::setvbuf(file, nullptr, _IONBF, 0);
    return file;
}

bool cutFile(FILE* file, long length) {
    return std::fflush(file) == 0 && _chsize_s(_fileno(file), length) == 0;
}

bool flushToDisk(FILE* file) { return std::fflush(file) == 0 && _commit(_fileno(file)) == 0; }

// The rename that puts a save in place replaces a link itself, not its target, so a link
// here is taken as the file.
std::string fileBehindLinks(const char* path) { return path; }

unsigned long thisProcessId() { return GetCurrentProcessId(); }

bool processRunning(unsigned long long id) {
    if (id > MAXDWORD) return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(id));
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD status = 0;
    const bool running = GetExitCodeProcess(process, &status) && status == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

// Windows has no signal for it: such a write fails.
void failWritesBeyondTheSizeLimit() {}
