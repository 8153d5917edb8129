// save_file.h - "save.car": colour, engine, boost and grav-tire figures, money and track
// level.
#ifndef KORVALINTH_GAME_SAVE_FILE_H
#define KORVALINTH_GAME_SAVE_FILE_H

extern const char* const saveCarFile;   // "save.car"

void saveCar();
// Reads the first valueCount values of the file (all 9 at start-up) into playerCar,
// money and trackLevel; a missing file reads nothing.
void readSaveFile(int valueCount);
// Key Q's reader: every value but the track level, which stays as the game has it.
void reloadSaveFile();

// A seam for the tests: when set, a save calls it once its new file is made and once that
// file holds the whole save, just before it takes the save's place.
enum class SaveStep { Created, Written };
extern void (*saveStepSeam)(SaveStep step);

#endif
