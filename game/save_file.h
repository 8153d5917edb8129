// save_file.h - "save.car": colour, engine and boost figures, money and track level.
#ifndef KORVALINTH_GAME_SAVE_FILE_H
#define KORVALINTH_GAME_SAVE_FILE_H

extern const char* const saveCarFile;   // "save.car"

void saveCar();
// Reads the first valueCount values (8 at start-up, 7 on key Q) into playerCar, money
// and trackLevel; a missing file reads nothing.
void readSaveFile(int valueCount);

#endif
