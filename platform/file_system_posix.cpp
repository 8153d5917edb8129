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

FILE* createNewFile(const char* path, const char* likeFile, NewFileFailure& failure) {
    const std::string native = nativePath(path);
    // O_EXCL fails on any link at the path, dangling or not, so nothing is created
    // through one.
    const int fd = open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        failure = errno == EEXIST ? NewFileFailure::Exists
                  : (errno == EACCES || errno == EPERM) ? NewFileFailure::Refused
                                                        : NewFileFailure::Other;
        return nullptr;
    }
    struct stat made, like;
    bool kept = fstat(fd, &made) == 0;
    mode_t mode = made.st_mode;
    if (kept && likeFile && stat(nativePath(likeFile).c_str(), &like) == 0 && S_ISREG(like.st_mode)) {
        // Only an owner or group that differs is changed: a player may not give a file
        // away, and a group the player belongs to is all a player may give it.
        if (like.st_uid != made.st_uid || like.st_gid != made.st_gid)
            kept = fchown(fd, like.st_uid, like.st_gid) == 0;
        mode = like.st_mode;
    }
    kept = kept && fchmod(fd, (mode & 07777) | S_IRUSR | S_IWUSR) == 0;
    FILE* file = kept ? fdopen(fd, "wb") : nullptr;
    if (!file) {
        close(fd);
        unlink(native.c_str());
        failure = kept ? NewFileFailure::Other : NewFileFailure::OwnerNotKept;
        return nullptr;
    }
    failure = NewFileFailure::None;
    return file;
}

FILE* openFileForUpdate(const char* path) {
    const int fd = open(nativePath(path).c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return nullptr;
    struct stat info;
    FILE* file = nullptr;
    // O_NONBLOCK: a pipe put in the file's place does not hold the open up; on a regular
    // file it changes nothing.
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) file = fdopen(fd, "r+b");
    if (!file) {
        close(fd);
        return nullptr;
    }
    std::setvbuf(file, nullptr, _IONBF, 0);
    return file;
}

bool cutFile(FILE* file, long length) {
    return std::fflush(file) == 0 && ftruncate(fileno(file), static_cast<off_t>(length)) == 0;
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

bool processRunning(unsigned long long id) {
    // 0 and what turns negative as a pid would name groups of processes, not one.
    if (id == 0 || id > static_cast<unsigned long long>(INT_MAX)) return false;
    // EPERM: it runs, as another user.
    return kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

void failWritesBeyondTheSizeLimit() { std::signal(SIGXFSZ, SIG_IGN); }
