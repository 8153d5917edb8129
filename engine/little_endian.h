// little_endian.h - fields of the little-endian files the loaders read (BMP, MD2), taken
// byte by byte so that neither the host's byte order nor its alignment matters.
#ifndef KORVALINTH_ENGINE_LITTLE_ENDIAN_H
#define KORVALINTH_ENGINE_LITTLE_ENDIAN_H

#include <cstdint>
#include <cstring>

inline uint16_t littleU16(const unsigned char* p) { return uint16_t(p[0] | (p[1] << 8)); }

inline uint32_t littleU32(const unsigned char* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline int32_t littleI32(const unsigned char* p) {
    const uint32_t u = littleU32(p);
    int32_t i;
    std::memcpy(&i, &u, sizeof i);
    return i;
}

// An IEEE single: the game's files and every target it builds for share the format.
inline float littleFloat(const unsigned char* p) {
    const uint32_t u = littleU32(p);
    float f;
    std::memcpy(&f, &u, sizeof f);
    return f;
}

#endif
