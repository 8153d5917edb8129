// save_replace.cpp - putting a new save in the place of the old one.
//
// The usual way: the save is written whole to a new file of this game's own beside the
// save's file, "<file>.new.<process>.<n>", and renamed over it, so the old save stays
// whole until a complete new one is on disk, and two games saving in one folder never
// share a file. Where no such file can take the save's place (the folder takes no new
// file, the new file cannot be given the save's owner and group, the rename is refused),
// the save's own file is written over instead, never emptied first, so that at every
// moment it reads as the old save or the new one.
#include "save_replace.h"

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "file_system.h"

void (*saveStepSeam)(SaveStep step) = nullptr;

namespace {

namespace fs = std::filesystem;

const char* const pendingSuffix = ".new.";
const int pendingTries = 100;

// A save takes a blink, so a pending file older than this was left by a game that ended
// in the middle of its save (a kill, a crash, a power cut). A younger one may be the
// save in progress of a game this one cannot see: in another process namespace, or on
// another machine that shares the folder.
const std::chrono::minutes pendingLifetime(1);

// The numbers n of the pending files this game is writing now. Saves nest only through
// the test seam, one inside another.
const int maxNestedSaves = 4;
int pendingOfThisGame[maxNestedSaves] = {};
int pendingOfThisGameCount = 0;

// Marks a pending file as this game's own for as long as its save runs.
class PendingMark {
public:
    explicit PendingMark(int number) : marked(pendingOfThisGameCount < maxNestedSaves) {
        if (marked) pendingOfThisGame[pendingOfThisGameCount++] = number;
    }
    ~PendingMark() {
        if (marked) --pendingOfThisGameCount;
    }
    PendingMark(const PendingMark&) = delete;
    PendingMark& operator=(const PendingMark&) = delete;

private:
    bool marked;
};

bool madeByThisGame(unsigned long long number) {
    for (int i = 0; i < pendingOfThisGameCount; ++i)
        if (static_cast<unsigned long long>(pendingOfThisGame[i]) == number) return true;
    return false;
}

void reachSeam(SaveStep step) {
    if (saveStepSeam) saveStepSeam(step);
}

// The digits as a number; one too large for any count is the largest there is.
unsigned long long digitsValue(const std::string& digits) {
    unsigned long long value = 0;
    for (char c : digits) {
        const unsigned digit = static_cast<unsigned>(c - '0');
        if (value > (ULLONG_MAX - digit) / 10) return ULLONG_MAX;
        value = value * 10 + digit;
    }
    return value;
}

// "<process>.<n>", the rest of a pending file's name after the suffix; false when it is
// not that.
bool pendingName(const std::string& rest, unsigned long long& process, unsigned long long& number) {
    const size_t dot = rest.find('.');
    if (dot == 0 || dot == std::string::npos || dot + 1 == rest.size()) return false;
    if (rest.find_first_not_of("0123456789") != dot ||
        rest.find_first_not_of("0123456789", dot + 1) != std::string::npos)
        return false;
    process = digitsValue(rest.substr(0, dot));
    number = digitsValue(rest.substr(dot + 1));
    return true;
}

bool olderThanAPendingLifetime(const fs::directory_entry& entry) {
    std::error_code error;
    const fs::file_time_type written = entry.last_write_time(error);
    return !error && fs::file_time_type::clock::now() - written > pendingLifetime;
}

// Removes what games that ended during their save left behind: a pending file older
// than its lifetime whose process is not running, or that carries this game's own
// process number (a game before this one had it: in a container every game is process
// 1) and is not one this game is writing.
void removeStalePendingFiles(const std::string& save) {
    const fs::path savePath(save);
    const std::string prefix = savePath.filename().string() + pendingSuffix;
    const fs::path folder = savePath.has_parent_path() ? savePath.parent_path() : fs::path(".");
    const unsigned long long thisProcess = thisProcessId();
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        unsigned long long process = 0, number = 0;
        if (name.compare(0, prefix.size(), prefix) != 0 ||
            !pendingName(name.substr(prefix.size()), process, number))
            continue;
        std::error_code ignored;
        if (!fs::is_regular_file(entry->symlink_status(ignored)) || !olderThanAPendingLifetime(*entry))
            continue;
        if (process == thisProcess ? madeByThisGame(number) : processRunning(process)) continue;
        fs::remove(entry->path(), ignored);
    }
}

// The bytes reach the disk before the file is closed.
bool writeWhole(std::FILE* file, const char* bytes, size_t length) {
    bool written = std::fwrite(bytes, 1, length, file) == length;
    written = written && flushToDisk(file);
    return (std::fclose(file) == 0) && written;
}

// The usual way; false when no new file took the save's place, which is then as it was.
bool replaceByRename(const std::string& save, const char* bytes, size_t length) {
    const std::string stem = save + pendingSuffix + std::to_string(thisProcessId()) + ".";
    std::string pending;
    std::FILE* file = nullptr;
    NewFileFailure failure = NewFileFailure::Exists;
    int number = 0;
    for (; number < pendingTries && failure == NewFileFailure::Exists; ++number) {
        pending = stem + std::to_string(number);
        file = createNewFile(pending.c_str(), save.c_str(), failure);
        if (file) break;
    }
    if (!file) return false;
    const PendingMark mark(number);
    reachSeam(SaveStep::Created);
    std::error_code error;
    if (writeWhole(file, bytes, length)) {
        reachSeam(SaveStep::Written);
        fs::rename(pending, save, error);
        if (!error) return true;
    }
    fs::remove(pending, error);
    return false;
}

// The save's own file, written over: the new bytes in one write over the old ones, with
// a blank after them where the old file was longer (the readers stop at the last value,
// and the blank ends it), then the file cut to the new length. Up to the write the file
// holds the old save, after it the new one; a write that fails part-way puts the old
// bytes back.
void overwriteInPlace(const std::string& save, const char* bytes, size_t length) {
    std::FILE* file = openFileForUpdate(save.c_str());
    if (!file) {
        // Nothing there yet: the save is made, as a plain writer would make it, and a
        // part of one is not left.
        NewFileFailure failure;
        std::FILE* made = createNewFile(save.c_str(), nullptr, failure);
        std::error_code ignored;
        if (made && !writeWhole(made, bytes, length)) fs::remove(save, ignored);
        return;
    }
    long oldLength = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) oldLength = std::ftell(file);
    const bool longerBefore = oldLength > static_cast<long>(length);
    char text[maxSaveLength + 1];
    std::memcpy(text, bytes, length);
    text[length] = ' ';
    const size_t covered = longerBefore ? length + 1 : length;

    // What the write covers of the old file, to put back.
    char old[maxSaveLength + 1];
    const size_t oldCovered = longerBefore ? covered : static_cast<size_t>(oldLength < 0 ? 0 : oldLength);
    const bool ready = oldLength >= 0 && std::fseek(file, 0, SEEK_SET) == 0 &&
                std::fread(old, 1, oldCovered, file) == oldCovered && std::fseek(file, 0, SEEK_SET) == 0;
    if (ready) {
        reachSeam(SaveStep::Opened);
        const bool overwritten = std::fwrite(text, 1, covered, file) == covered && flushToDisk(file);
        if (overwritten) {
            reachSeam(SaveStep::Overwritten);
            if (longerBefore && cutFile(file, static_cast<long>(length))) flushToDisk(file);
        } else if (std::fseek(file, 0, SEEK_SET) == 0) {
            std::fwrite(old, 1, oldCovered, file);
            cutFile(file, oldLength);
            flushToDisk(file);
        }
    }
    std::fclose(file);
}

}  // namespace

void replaceSave(const char* path, const char* bytes, size_t length) {
    if (length > maxSaveLength) return;
    const std::string save = fileBehindLinks(path);
    if (save.empty() || !mayWriteDataFile(save.c_str())) return;
    removeStalePendingFiles(save);
    if (!replaceByRename(save, bytes, length)) overwriteInPlace(save, bytes, length);
}
