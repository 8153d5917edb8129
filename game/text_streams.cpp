// text_streams.cpp - the rules every reader of the game's text files follows.
//
// The game's files were written for stream libraries that leave a float untouched
// when its text is no number and store 0 in an int. Since C++11 a failed conversion
// stores 0 in either, so the readers go through these two helpers instead of >>:
//   end of the data, or a stream that already failed: the target keeps its value;
//   text that is no number: a float keeps its value, an int becomes 0;
// and in both cases the stream is left failed, so every later read keeps its target.
#include "text_streams.h"

#include <cstdio>

const char* createIfMissing(const char* name) {
    // Append mode creates a missing file and never truncates an existing one.
    if (std::FILE* file = std::fopen(name, "ab")) std::fclose(file);
    return name;
}

void readFloat(std::istream& in, float& target) {
    float value = 0;
    if (in >> value) target = value;
}

void readInt(std::istream& in, int& target) {
    // The sentry skips the white space and fails at the end of the data or on a failed
    // stream, before anything is converted; only text that is there and is no number
    // reaches the store of 0 below.
    std::istream::sentry dataAhead(in);
    if (!dataAhead) return;
    int value = 0;
    if (in >> value)
        target = value;
    else
        target = 0;
}
