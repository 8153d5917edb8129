// loader_fixtures.cpp - the small BMP and MD2 files of the loader tests, byte by byte.
#include "loader_fixtures.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "file_bytes.h"

void putU16(Bytes& b, size_t at, uint32_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}

void putU32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

void putI32(Bytes& b, size_t at, int32_t v) { putU32(b, at, uint32_t(v)); }

void putFloat(Bytes& b, size_t at, float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    putU32(b, at, u);
}

void writeFile(const std::string& path, const Bytes& bytes) {
    writeFileBytes(path, std::string(bytes.begin(), bytes.end()));
}

int strideOf(int width) { return (width * 3 + 3) & ~3; }

Bytes bmpFile(int32_t width, int32_t height, const Bytes& data, int64_t sizeImage) {
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

void writeSkin(const std::string& path, int width, int height, int bitCount) {
    Bytes b = bmpFile(width, height, Bytes(size_t(strideOf(width)) * height, 0));
    putU16(b, 28, uint32_t(bitCount));
    writeFile(path, b);
}

std::vector<std::vector<std::string>> readManifest(const std::string& path) {
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

Bytes twoFrameModel() {
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

Bytes withI32(Bytes b, size_t at, int32_t value) {
    putI32(b, at, value);
    return b;
}

Bytes withU16(Bytes b, size_t at, uint16_t value) {
    putU16(b, at, value);
    return b;
}
