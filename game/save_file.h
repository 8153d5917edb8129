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

#endif
