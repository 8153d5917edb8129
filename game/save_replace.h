// save_replace.h - putting a new save in the place of the old one, so that no failure
// at any moment leaves less than the old save or the new one.
#ifndef KORVALINTH_GAME_SAVE_REPLACE_H
#define KORVALINTH_GAME_SAVE_REPLACE_H

#include <cstddef>

// The longest save replaceSave takes, in bytes.
const size_t maxSaveLength = 512;

// Replaces the bytes of the file at path (the save's name; links are followed) with the
// given ones, or leaves the old file as it was. A file a plain writer could not have
// opened for writing (another user's, a read-only one, a pipe or a folder in its place)
// is left. Nothing is reported.
void replaceSave(const char* path, const char* bytes, size_t length);

// A seam for the tests: when set, a save calls it at each of these steps, in this order
// for the two ways a save is written.
//   A new file beside the save, renamed over it: Created (the new file made), Written (it
//   holds the whole save; the rename is next).
//   The save's own file, where no new file can take its place: Opened (the old bytes
//   read, none written yet), Overwritten (the new bytes written over the old ones; the
//   cut to the new length is next).
enum class SaveStep { Created, Written, Opened, Overwritten };
extern void (*saveStepSeam)(SaveStep step);

#endif
