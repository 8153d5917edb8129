// file_system.h - the game's files: the platform's contract for them, beside win32.h.
// The game names files with Windows separators ("models\ogro\tris.md2"); this is the
// one place where a port turns such a name into one its file system takes, and the one
// place that decides what at such a name counts as a file the game may read or replace.
// Implemented by file_system_posix.cpp (Linux) and file_system_win32.cpp (Windows).
#ifndef KORVALINTH_PLATFORM_FILE_SYSTEM_H
#define KORVALINTH_PLATFORM_FILE_SYSTEM_H

#include <cstdio>
#include <string>

enum class DataPathKind { Missing, RegularFile, Other };

// What lies at the path, found without opening it: opening a named pipe waits for its
// other end, and a device or a folder is no data file. Every reader treats Other as
// Missing, so nothing at a data path can hold the game up.
DataPathKind dataPathKind(const char* path);

// fopen with the game's path; null when the file does not open, and null without any
// open when the path holds no regular file.
FILE* openDataFile(const char* path, const char* mode);

// Whether a file may be written at the path: nothing is there yet, or a regular file a
// plain writer could open for writing that is not marked read-only. A read-only mark is
// the player's own protection of the file and holds for an administrator too, who may
// otherwise write anything. Anything else at the path is left as it is.
bool mayWriteDataFile(const char* path);

// Why a new file could not be made.
enum class NewFileFailure { None, Exists, Refused, Other };

// Makes a file that did not exist, for writing in binary; null when there was anything at
// the path already (a link too, dangling or not, is never followed), or when it cannot be
// made (failure says which: Refused is a folder the player may not write). The new file
// takes the permissions of the file at permissionsOf where there is one, and is writable
// by its owner whatever those and the process's file-creation mask say, so the game can
// always save over a file it made itself.
FILE* createNewFile(const char* path, const char* permissionsOf, NewFileFailure& failure);

// Everything written to the file so far is on the disk, not only in the system's cache.
bool flushToDisk(FILE* file);

// The file the path names once its links are followed, where the platform follows them;
// a link's target may be missing. Empty when the links go round in a circle.
std::string fileBehindLinks(const char* path);

// The process's own id, and whether a process of that id is running.
unsigned long thisProcessId();
bool processRunning(unsigned long id);

// A write beyond the process's file-size limit fails as a full disk does, instead of
// ending the process.
void failWritesBeyondTheSizeLimit();

#endif
