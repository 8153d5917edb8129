// byte_sink.cpp - writing a finished file in one go.
#include "byte_sink.h"

#include <cstdio>

bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool whole = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && whole;
}

bool writeFileText(const std::string& path, const std::string& text) {
    return writeFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}
