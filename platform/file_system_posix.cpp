// file_system_posix.cpp - the game's files on a POSIX file system; its Windows paths
// take '/' where the game writes '\'.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <string>

#include "file_system.h"

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

FILE* createNewFile(const char* path, const char* permissionsOf, NewFileFailure& failure) {
    // O_EXCL fails on any link at the path, dangling or not, so nothing is created
    // through one.
    const int fd = open(nativePath(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        failure = errno == EEXIST ? NewFileFailure::Exists
                  : (errno == EACCES || errno == EPERM) ? NewFileFailure::Refused
                                                        : NewFileFailure::Other;
        return nullptr;
    }
    struct stat info;
    if (permissionsOf && stat(nativePath(permissionsOf).c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        // An administrator's save keeps the player's file the player's.
        if (fchown(fd, info.st_uid, info.st_gid) != 0) {
        }
    } else if (fstat(fd, &info) != 0) {
        info.st_mode = S_IRUSR | S_IWUSR;
    }
    if (fchmod(fd, (info.st_mode & 07777) | S_IWUSR) != 0) {
    }
    FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        unlink(nativePath(path).c_str());
    }
    failure = file ? NewFileFailure::None : NewFileFailure::Other;
    return file;
}

bool flushToDisk(FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

std::string fileBehindLinks(const char* path) {
    std::string file = nativePath(path);
    // As many links as the system itself follows in one path before it gives up.
    for (int link = 0; link < 40; ++link) {
        struct stat info;
        if (lstat(file.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return file;
        std::string target(size_t(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
        const ssize_t length = readlink(file.c_str(), &target[0], target.size());
        if (length <= 0 || size_t(length) >= target.size()) return std::string();
        target.resize(size_t(length));
        // A relative target is relative to the folder that holds the link.
        const size_t slash = file.rfind('/');
        if (target[0] != '/' && slash != std::string::npos) target = file.substr(0, slash + 1) + target;
        file = target;
    }
    return std::string();
}

unsigned long thisProcessId() { return static_cast<unsigned long>(getpid()); }

bool processRunning(unsigned long id) {
    // 0 and what turns negative as a pid would name groups of processes, not one.
    if (id == 0 || id > static_cast<unsigned long>(INT_MAX)) return false;
    // EPERM: it runs, as another user.
    return kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

void failWritesBeyondTheSizeLimit() { std::signal(SIGXFSZ, SIG_IGN); }
