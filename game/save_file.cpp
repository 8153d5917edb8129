// save_file.cpp - "save.car": the player's colour, engine and boost figures, money and
// track level, eight values in that order.
//
// The bytes are those of a Windows text-mode stream: each of the first seven values is
// followed by CR LF, the last by nothing; floats in printf's %g, ints in decimal. The
// line ends are written explicitly, so every platform writes the same file.
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

// Replaces the save with the given bytes, or leaves the old one as it was.
void replaceSave(const char* text, size_t length) {
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
    // Eight values of at most a few dozen characters each.
    char text[256];
    int length = std::snprintf(text, sizeof text, "%g\r\n%g\r\n%g\r\n%g\r\n%g\r\n%g\r\n%d\r\n%d",
                               static_cast<double>(playerCar.color.x),
                               static_cast<double>(playerCar.color.y),
                               static_cast<double>(playerCar.color.z),
                               static_cast<double>(playerCar.accel),
                               static_cast<double>(playerCar.topSpeed),
                               static_cast<double>(playerCar.boostPower), money, trackLevel);
    if (length < 0 || static_cast<size_t>(length) >= sizeof text) return;

    // A failed save is not reported: the game goes on (or ends) with the old file.
    replaceSave(text, static_cast<size_t>(length));
}

void readSaveFile(int valueCount) {
    std::ifstream in(saveCarFile);   // never created here: no file means nothing to read
    float* const floatFields[6] = {&playerCar.color.x, &playerCar.color.y,
                                   &playerCar.color.z, &playerCar.accel,
                                   &playerCar.topSpeed, &playerCar.boostPower};
    int* const intFields[2] = {&money, &trackLevel};
    for (int i = 0; i < valueCount && i < 8; ++i) {
        if (i < 6)
            readFloat(in, *floatFields[i]);
        else
            readInt(in, *intFields[i - 6]);
    }
}
