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
#include <fstream>

#include "save_replace.h"
#include "text_streams.h"
#include "world.h"

const char* const saveCarFile = "save.car";

void saveCar() {
    // Nine values of at most a few dozen characters each.
    char text[maxSaveLength];
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
    replaceSave(saveCarFile, text, static_cast<size_t>(length));
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
