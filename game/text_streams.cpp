// text_streams.cpp - the rules every reader of the game's text files follows.
//
// The game's files were written for stream libraries that leave a float untouched
// when its text is no number and store 0 in an int. Since C++11 a failed conversion
// stores 0 in either, so the readers go through these two helpers instead of >>:
//   end of the data, a read error, or a stream that already failed: the target keeps
//   its value;
//   a number out of the target's range, or a float that is not finite: the target
//   keeps its value;
//   text that is no number: a float keeps its value, an int becomes 0;
// and in every case the stream is left failed, so every later read keeps its target.
#include "text_streams.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "file_system.h"

namespace {

// An editor may begin a text file with the UTF-8 byte-order mark; the numbers start
// after it.
void skipByteOrderMark(std::ifstream& in) {
    const char mark[] = "\xEF\xBB\xBF";
    char start[3] = {};
    if (in.read(start, 3) && std::equal(start, start + 3, mark)) return;
    in.clear();
    in.seekg(0);
}

}  // namespace

std::ifstream openTextInput(const char* name, bool createMissing) {
    std::ifstream in;
    const DataPathKind kind = dataPathKind(name);
    if (kind == DataPathKind::Missing && createMissing) {
        // Never through a link: a dangling one counts as a file that cannot be created.
        NewFileFailure failure;
        if (std::FILE* file = createNewFile(name, nullptr, failure)) std::fclose(file);
    }
    if (dataPathKind(name) == DataPathKind::RegularFile) {
        in.open(name);
        if (in.is_open()) skipByteOrderMark(in);
    }
    return in;
}

void readFloat(std::istream& in, float& target) {
    float value = 0;
    if (!(in >> value)) return;
    if (std::isfinite(value))
        target = value;
    else
        in.setstate(std::ios::failbit);
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
    else if (in.bad())
        return;   // a read error: as if the data had ended here
    else if (value != INT_MAX && value != INT_MIN)
        target = 0;
    // A number beyond an int is stored as INT_MAX or INT_MIN by the failed extraction
    // and is not taken.
}
