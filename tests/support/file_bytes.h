// file_bytes.h - a file's bytes read or written whole, with no line-end translation, as
// the tests compare "save.car" and the outline files byte for byte.
#ifndef KORVALINTH_TESTS_FILE_BYTES_H
#define KORVALINTH_TESTS_FILE_BYTES_H

#include <string>

// Every byte of the file; empty when it cannot be read.
std::string fileBytes(const std::string& path);
// Replaces the file with exactly these bytes.
void writeFileBytes(const std::string& path, const std::string& bytes);

#endif
