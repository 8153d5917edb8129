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
enum class NewFileFailure { None, Exists, Refused, OwnerNotKept, Other };

// Makes a file that did not exist, for writing in binary; null when there was anything at
// the path already (a link too, dangling or not, is never followed), or when it cannot be
// made (failure says which: Refused is a folder the player may not write). Where a
// regular file lies at likeFile, the new file takes its owner, group and permissions, so
// that it can take that file's place as it was; where it cannot be given that owner and
// group, it is removed again and failure is OwnerNotKept. A new file is readable and
// writable by its owner whatever the permissions it takes and the process's file-creation
// mask say, so the game can always read and save again a file it made itself.
FILE* createNewFile(const char* path, const char* likeFile, NewFileFailure& failure);

// An existing regular file, opened at its start for reading and writing in binary: not
// emptied, not made, and not reached through a link at the path. Null otherwise. The
// stream is unbuffered, so a write that fails part-way says how many bytes it wrote.
FILE* openFileForUpdate(const char* path);

// Cuts the file to its first length bytes (or lengthens it with zeros).
bool cutFile(FILE* file, long length);

// Everything written to the file so far is on the disk, not only in the system's cache.
bool flushToDisk(FILE* file);

// The file the path names once its links are followed, where the platform follows them;
// a link's target may be missing. Empty when the links go round in a circle.
std::string fileBehindLinks(const char* path);

// The process's own id, and whether a process of that id is running here. An id beyond
// what the platform's process ids can hold names no running process.
unsigned long thisProcessId();
bool processRunning(unsigned long long id);

// A write beyond the process's file-size limit fails as a full disk does, instead of
// ending the process.
void failWritesBeyondTheSizeLimit();

#endif
