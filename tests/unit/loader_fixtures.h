// loader_fixtures.h - small BMP and MD2 files written by the loader tests, and the reader
// of the shared test files' manifests. Header-only; each test executable includes it once.
#ifndef KORVALINTH_TESTS_LOADER_FIXTURES_H
#define KORVALINTH_TESTS_LOADER_FIXTURES_H

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "file_bytes.h"

using Bytes = std::vector<unsigned char>;

inline void putU16(Bytes& b, size_t at, uint32_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}

inline void putU32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

inline void putI32(Bytes& b, size_t at, int32_t v) { putU32(b, at, uint32_t(v)); }

inline void putFloat(Bytes& b, size_t at, float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    putU32(b, at, u);
}

inline void writeFile(const std::string& path, const Bytes& bytes) {
    writeFileBytes(path, std::string(bytes.begin(), bytes.end()));
}

// Bytes of a row of `width` 24-bit pixels padded to 4.
inline int strideOf(int width) { return (width * 3 + 3) & ~3; }

// A 24-bit uncompressed BMP: headers, then `data` as the stored pixel bytes. biSizeImage
// is the data's size unless given.
inline Bytes bmpFile(int32_t width, int32_t height, const Bytes& data, int64_t sizeImage = -1) {
    Bytes b(54 + data.size(), 0);
    std::copy(data.begin(), data.end(), b.begin() + 54);
    b[0] = 'B';
    b[1] = 'M';
    putU32(b, 2, uint32_t(54 + data.size()));
    putU32(b, 10, 54);
    putU32(b, 14, 40);
    putI32(b, 18, width);
    putI32(b, 22, height);
    putU16(b, 26, 1);
    putU16(b, 28, 24);
    putU32(b, 34, sizeImage < 0 ? uint32_t(data.size()) : uint32_t(sizeImage));
    return b;
}

// A black skin of the given size.
inline void writeSkin(const std::string& path, int width, int height, int bitCount = 24) {
    Bytes b = bmpFile(width, height, Bytes(size_t(strideOf(width)) * height, 0));
    putU16(b, 28, uint32_t(bitCount));
    writeFile(path, b);
}

// The rows of a tab-separated manifest, its column names left out.
inline std::vector<std::vector<std::string>> readManifest(const std::string& path) {
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        std::vector<std::string> fields;
        std::stringstream ss(line);
        std::string field;
        while (std::getline(ss, field, '\t')) fields.push_back(field);
        rows.push_back(fields);
    }
    return rows;
}

// ---- the two-frame MD2 model --------------------------------------------------------------
// 4 vertices, 3 texture coordinates and 2 triangles: texture coordinates at 68, triangles
// at 80, two frames of 56 bytes at 104, the end at 216.

// Header fields by their byte offsets.
enum Md2HeaderField : size_t {
    md2MagicAt = 0, md2VersionAt = 4, md2SkinWidthAt = 8, md2SkinHeightAt = 12,
    md2FrameSizeAt = 16, md2SkinCountAt = 20, md2VerticesAt = 24, md2TexCoordCountAt = 28,
    md2TriangleCountAt = 32, md2CommandCountAt = 36, md2FrameCountAt = 40,
    md2SkinsOffsetAt = 44, md2TexCoordOffsetAt = 48, md2TriangleOffsetAt = 52,
    md2FrameOffsetAt = 56, md2CommandOffsetAt = 60, md2EndOffsetAt = 64
};

const size_t fixtureTexCoordsAt = 68, fixtureTrianglesAt = 80, fixtureFramesAt = 104;
const size_t fixtureFrameBytes = 56, fixtureModelBytes = 216;
const uint8_t fixtureVertices[2][4][3] = {
    {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 20, 30}},
    {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {3, 3, 3}},
};
const float fixtureScale[2][3] = {{0.5f, 1, 2}, {1, 1, 1}};
const float fixtureTranslate[2][3] = {{-10, 0, 5}, {0, 0, 0}};
// Vertex indices, then texture coordinate indices.
const uint16_t fixtureTriangles[2][6] = {{0, 1, 2, 0, 1, 2}, {0, 2, 3, 2, 1, 0}};
const int16_t fixtureTexCoords[3][2] = {{64, -32}, {0, 0}, {256, 128}};

inline Bytes twoFrameModel() {
    Bytes b(fixtureModelBytes, 0);
    std::memcpy(b.data(), "IDP2", 4);
    putI32(b, md2VersionAt, 8);
    putI32(b, md2SkinWidthAt, 1);  // the skin image's own size is what counts
    putI32(b, md2SkinHeightAt, 1);
    putI32(b, md2FrameSizeAt, int32_t(fixtureFrameBytes));
    putI32(b, md2VerticesAt, 4);
    putI32(b, md2TexCoordCountAt, 3);
    putI32(b, md2TriangleCountAt, 2);
    putI32(b, md2FrameCountAt, 2);
    putI32(b, md2SkinsOffsetAt, 68);
    putI32(b, md2TexCoordOffsetAt, int32_t(fixtureTexCoordsAt));
    putI32(b, md2TriangleOffsetAt, int32_t(fixtureTrianglesAt));
    putI32(b, md2FrameOffsetAt, int32_t(fixtureFramesAt));
    putI32(b, md2CommandOffsetAt, int32_t(fixtureModelBytes));
    putI32(b, md2EndOffsetAt, int32_t(fixtureModelBytes));
    for (int i = 0; i < 3; ++i) {
        putU16(b, fixtureTexCoordsAt + 4 * i, uint16_t(fixtureTexCoords[i][0]));
        putU16(b, fixtureTexCoordsAt + 4 * i + 2, uint16_t(fixtureTexCoords[i][1]));
    }
    for (int t = 0; t < 2; ++t)
        for (int k = 0; k < 6; ++k)
            putU16(b, fixtureTrianglesAt + 12 * t + 2 * k, fixtureTriangles[t][k]);
    for (int f = 0; f < 2; ++f) {
        const size_t frame = fixtureFramesAt + fixtureFrameBytes * f;
        for (int k = 0; k < 3; ++k) {
            putFloat(b, frame + 4 * k, fixtureScale[f][k]);
            putFloat(b, frame + 12 + 4 * k, fixtureTranslate[f][k]);
        }
        std::memcpy(b.data() + frame + 24, f == 0 ? "first" : "second", f == 0 ? 5 : 6);
        for (int j = 0; j < 4; ++j) {
            for (int k = 0; k < 3; ++k) b[frame + 40 + 4 * j + k] = fixtureVertices[f][j][k];
            b[frame + 40 + 4 * j + 3] = uint8_t(7 * j);  // normal index, not read
        }
    }
    return b;
}

// The file with one 32-bit or 16-bit field changed.
inline Bytes withI32(Bytes b, size_t at, int32_t value) {
    putI32(b, at, value);
    return b;
}

inline Bytes withU16(Bytes b, size_t at, uint16_t value) {
    putU16(b, at, value);
    return b;
}

#endif
