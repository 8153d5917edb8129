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
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "file_open.h"
#include "text_streams.h"
#include "world.h"

const char* const saveCarFile = "save.car";

namespace {

// Written beside the save and renamed over it, so the old save stays whole until a
// complete new one is on disk.
const char* const pendingSaveFile = "save.car.new";

// The bytes reach the disk before the rename makes them the save.
bool flushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// Replaces the save with the given bytes, or leaves the old one as it was. A save that
// a plain writer could not have opened for writing (another user's, a read-only one, a
// pipe or a folder in its place) is not replaced by the rename either.
void replaceSave(const char* text, size_t length) {
    if (!mayWriteDataFile(saveCarFile) || !mayWriteDataFile(pendingSaveFile)) return;
    std::FILE* file = std::fopen(pendingSaveFile, "wb");
    if (!file) return;
    bool written = std::fwrite(text, 1, length, file) == length;
    written = written && flushToDisk(file);
    written = (std::fclose(file) == 0) && written;
    std::error_code error;
    if (written) {
        std::filesystem::rename(pendingSaveFile, saveCarFile, error);
        if (!error) return;
    }
    std::filesystem::remove(pendingSaveFile, error);
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

void readSaveFile(int valueCount) { readValues(valueCount, true); }

void reloadSaveFile() { readValues(saveValueCount, false); }
