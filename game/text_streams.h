// text_streams.h - the rules every reader of the game's text files follows.
#ifndef KORVALINTH_GAME_TEXT_STREAMS_H
#define KORVALINTH_GAME_TEXT_STREAMS_H

#include <istream>

// Creates the file empty when it does not exist (input files are opened with creation
// allowed) and returns the name, so a stream can be constructed on the result.
const char* createIfMissing(const char* name);

// Float extraction that leaves the target as it stood when it fails.
void readFloat(std::istream& in, float& target);
// Int extraction: a failure at the end of the data, or on a stream already failed,
// leaves the target; text that is no number stores 0 and fails the stream.
void readInt(std::istream& in, int& target);

#endif
