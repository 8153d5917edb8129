// png_writer.h - writes the back buffer as a PNG file: RGB, 8 bits, the image data in
// stored (uncompressed) deflate blocks, so it needs no compression library.
#ifndef KORVALINTH_TESTS_PNG_WRITER_H
#define KORVALINTH_TESTS_PNG_WRITER_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform.h"

namespace png {

inline uint32_t crc32(const unsigned char* data, size_t size, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline void putBig32(std::vector<unsigned char>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back((unsigned char)(v >> shift));
}

inline void chunk(std::vector<unsigned char>& out, const char* type,
                  const std::vector<unsigned char>& data) {
    putBig32(out, uint32_t(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBig32(out, crc32(&out[start], out.size() - start));
}

// rgb holds height rows of width pixels, bottom row first, as glReadPixels gives them.
inline bool write(const std::string& path, int width, int height,
                  const std::vector<unsigned char>& rgb) {
    std::vector<unsigned char> raw;
    raw.reserve(size_t(height) * (size_t(width) * 3 + 1));
    for (int y = height - 1; y >= 0; --y) {
        raw.push_back(0);   // filter: none
        const unsigned char* row = &rgb[size_t(y) * width * 3];
        raw.insert(raw.end(), row, row + size_t(width) * 3);
    }
    std::vector<unsigned char> z = {0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t at = 0; at < raw.size() || at == 0;) {
        size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
        bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back((unsigned char)(n & 0xff));
        z.push_back((unsigned char)(n >> 8));
        z.push_back((unsigned char)(~n & 0xff));
        z.push_back((unsigned char)((~n >> 8) & 0xff));
        z.insert(z.end(), raw.begin() + long(at), raw.begin() + long(at + n));
        at += n;
        if (last) break;
    }
    putBig32(z, (b << 16) | a);

    std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<unsigned char> header;
    putBig32(header, uint32_t(width));
    putBig32(header, uint32_t(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    chunk(file, "IHDR", header);
    chunk(file, "IDAT", z);
    chunk(file, "IEND", {});
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace png

#endif
