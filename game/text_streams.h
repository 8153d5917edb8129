// text_streams.h - the rules every reader of the game's text files follows.
#ifndef KORVALINTH_GAME_TEXT_STREAMS_H
#define KORVALINTH_GAME_TEXT_STREAMS_H

#include <fstream>
#include <istream>

// A stream for reading the named file. With createMissing, a missing file is created
// empty first (the outline and camera files are opened with creation allowed). Anything
// at the name that is no regular file (a pipe, a device, a folder) counts as missing and
// is neither created nor opened, so the stream stays closed and yields nothing; so is a
// link that leads nowhere. A leading UTF-8 byte-order mark is passed over.
std::ifstream openTextInput(const char* name, bool createMissing);

// Float extraction that leaves the target as it stood when it fails. A value that is not
// finite counts as one that cannot be read.
void readFloat(std::istream& in, float& target);
// Int extraction: a failure at the end of the data, on a stream already failed, or on a
// number too large for an int leaves the target; text that is no number stores 0.
void readInt(std::istream& in, int& target);

#endif
