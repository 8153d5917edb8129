// loader_fixtures.h - small BMP and MD2 files written by the loader tests, and the reader
// of the shared test files' manifests.
#ifndef KORVALINTH_TESTS_LOADER_FIXTURES_H
#define KORVALINTH_TESTS_LOADER_FIXTURES_H

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// Little-endian fields written over the bytes at a byte offset.
void putU16(Bytes& b, size_t at, uint32_t v);
void putU32(Bytes& b, size_t at, uint32_t v);
void putI32(Bytes& b, size_t at, int32_t v);
void putFloat(Bytes& b, size_t at, float f);

void writeFile(const std::string& path, const Bytes& bytes);

// Bytes of a row of `width` 24-bit pixels padded to 4.
int strideOf(int width);

// A 24-bit uncompressed BMP: headers, then `data` as the stored pixel bytes. biSizeImage
// is the data's size unless given.
Bytes bmpFile(int32_t width, int32_t height, const Bytes& data, int64_t sizeImage = -1);

// A black skin of the given size.
void writeSkin(const std::string& path, int width, int height, int bitCount = 24);

// The rows of a tab-separated manifest, its column names left out.
std::vector<std::vector<std::string>> readManifest(const std::string& path);

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

// The model's whole file: its header, texture coordinates, triangles and frames.
Bytes twoFrameModel();

// The file with one 32-bit or 16-bit field changed.
Bytes withI32(Bytes b, size_t at, int32_t value);
Bytes withU16(Bytes b, size_t at, uint16_t value);

#endif
