// text_streams.cpp - placeholder, replaced by its own work.
#include "text_streams.h"
const char* createIfMissing(const char* name) { return name; }
void readFloat(std::istream&, float&) {}
void readInt(std::istream&, int&) {}
