// save_file.cpp - "save.car": the player's colour, engine and boost figures, money,
// track level and grav-tire turn rate, nine values in that order.
//
// The bytes are those of a Windows text-mode stream: each of the first eight values is
// followed by CR LF, the last by nothing; floats in printf's %g, ints in decimal. The
// line ends are written explicitly, so every platform writes the same file. The turn
// rate came last, after the track level, so a reader of the first eight values reads
// the file unchanged, and a file of eight values still loads (the turn rate keeps what
// the car has).
#include "save_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "file_system.h"
#include "text_streams.h"
#include "world.h"

const char* const saveCarFile = "save.car";

void (*saveStepSeam)(SaveStep step) = nullptr;

namespace {

// A new save is written to a file of this game's own beside the save's file,
// "<file>.new.<process>.<n>", and renamed over it, so the old save stays whole until a
// complete new one is on disk, and two games saving in one folder never share a file.
const char* const pendingSuffix = ".new.";
const int pendingTries = 100;

void reachSeam(SaveStep step) {
    if (saveStepSeam) saveStepSeam(step);
}

// The bytes reach the disk before the rename makes them the save.
bool writeWhole(std::FILE* file, const char* text, size_t length) {
    bool written = std::fwrite(text, 1, length, file) == length;
    written = written && flushToDisk(file);
    return (std::fclose(file) == 0) && written;
}

// "<process>.<n>" of a pending file's name, or 0 when the rest of the name is not that.
unsigned long pendingProcess(const std::string& rest) {
    const size_t dot = rest.find('.');
    if (dot == 0 || dot == std::string::npos || dot + 1 == rest.size() || dot > 10) return 0;
    if (rest.find_first_not_of("0123456789") != dot ||
        rest.find_first_not_of("0123456789", dot + 1) != std::string::npos)
        return 0;
    return std::stoul(rest.substr(0, dot));
}

// A pending file left by a game that ended in the middle of its save (a kill, a crash,
// a power cut) is removed; one of a game still running is its save in progress.
void removeStalePendingFiles(const std::filesystem::path& save) {
    const std::string prefix = save.filename().string() + pendingSuffix;
    const std::filesystem::path folder = save.has_parent_path() ? save.parent_path() : ".";
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const unsigned long process = pendingProcess(name.substr(prefix.size()));
        if (process == 0 || process == thisProcessId() || processRunning(process)) continue;
        std::error_code ignored;
        if (std::filesystem::is_regular_file(entry->symlink_status(ignored)))
            std::filesystem::remove(entry->path(), ignored);
    }
}

// Replaces the save with the given bytes, or leaves the old one as it was. A save that
// a plain writer could not have opened for writing (another user's, a read-only one, a
// pipe or a folder in its place) is not replaced either. A save reached through links
// is replaced where the links lead, so they stay.
void replaceSave(const char* text, size_t length) {
    const std::string save = fileBehindLinks(saveCarFile);
    if (save.empty() || !mayWriteDataFile(save.c_str())) return;
    removeStalePendingFiles(save);

    const std::string stem = save + pendingSuffix + std::to_string(thisProcessId()) + ".";
    std::string pending;
    std::FILE* file = nullptr;
    NewFileFailure failure = NewFileFailure::Exists;
    for (int n = 0; n < pendingTries && !file && failure == NewFileFailure::Exists; ++n) {
        pending = stem + std::to_string(n);
        file = createNewFile(pending.c_str(), save.c_str(), failure);
    }
    if (!file) {
        // A folder the player may not write can still hold a save the player may: it is
        // written in place, as a plain writer does, at the risk of a half-written file.
        if (failure == NewFileFailure::Refused) {
            if (std::FILE* inPlace = openDataFile(save.c_str(), "wb")) writeWhole(inPlace, text, length);
        }
        return;
    }
    reachSeam(SaveStep::Created);
    const bool written = writeWhole(file, text, length);
    std::error_code error;
    if (written) {
        reachSeam(SaveStep::Written);
        std::filesystem::rename(pending, save, error);
        if (!error) return;
    }
    std::filesystem::remove(pending, error);
}

}  // namespace

void saveCar() {
    // Nine values of at most a few dozen characters each.
    char text[320];
    int length = std::snprintf(text, sizeof text,
                               "%g\r\n%g\r\n%g\r\n%g\r\n%g\r\n%g\r\n%d\r\n%d\r\n%g",
                               static_cast<double>(playerCar.color.x),
                               static_cast<double>(playerCar.color.y),
                               static_cast<double>(playerCar.color.z),
                               static_cast<double>(playerCar.accel),
                               static_cast<double>(playerCar.topSpeed),
                               static_cast<double>(playerCar.boostPower), money, trackLevel,
                               static_cast<double>(playerCar.turnRate));
    if (length < 0 || static_cast<size_t>(length) >= sizeof text) return;

    // A failed save is not reported: the game goes on (or ends) with the old file.
    replaceSave(text, static_cast<size_t>(length));
}

namespace {

const int trackLevelValue = 8;   // the only value key Q does not take
const int saveValueCount = 9;

// Values 1 to valueCount in order, with no test between them; the track level is
// extracted (so the values after it line up) but stored only when wanted.
void readValues(int valueCount, bool takeTrackLevel) {
    std::ifstream in = openTextInput(saveCarFile, false);   // never created by a reader
    float* const floatFields[6] = {&playerCar.color.x, &playerCar.color.y,
                                   &playerCar.color.z, &playerCar.accel,
                                   &playerCar.topSpeed, &playerCar.boostPower};
    int skippedTrackLevel = trackLevel;
    int* const intFields[2] = {&money, takeTrackLevel ? &trackLevel : &skippedTrackLevel};
    for (int value = 1; value <= valueCount && value <= saveValueCount; ++value) {
        if (value <= 6)
            readFloat(in, *floatFields[value - 1]);
        else if (value <= trackLevelValue)
            readInt(in, *intFields[value - 7]);
        else
            readFloat(in, playerCar.turnRate);
    }
}

}  // namespace

void readSaveFile(int valueCount) {
    // The start-up's read comes before any save of the run.
    failWritesBeyondTheSizeLimit();
    readValues(valueCount, true);
}

void reloadSaveFile() { readValues(saveValueCount, false); }
