// byte_sink.h - little-endian binary output for the data files.
#ifndef KORVALINTH_TOOLS_BYTE_SINK_H
#define KORVALINTH_TOOLS_BYTE_SINK_H

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct ByteSink {
    std::vector<uint8_t> bytes;

    void u8(uint8_t v) { bytes.push_back(v); }
    void u16(uint16_t v) {
        u8(static_cast<uint8_t>(v));
        u8(static_cast<uint8_t>(v >> 8));
    }
    void u32(uint32_t v) {
        u16(static_cast<uint16_t>(v));
        u16(static_cast<uint16_t>(v >> 16));
    }
    void i16(int16_t v) { u16(static_cast<uint16_t>(v)); }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void f32(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(bits);
    }
    // A fixed-size, zero-padded text field (names in the model file).
    void text(const std::string& s, size_t size) {
        for (size_t i = 0; i < size; ++i) u8(i < s.size() && i + 1 < size ? s[i] : 0);
    }
};

// Writes the bytes to path (binary); false when the file cannot be written whole.
bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
bool writeFileText(const std::string& path, const std::string& text);

#endif
