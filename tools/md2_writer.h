// md2_writer.h - models in the MD2 layout that the game's model loader reads.
#ifndef KORVALINTH_TOOLS_MD2_WRITER_H
#define KORVALINTH_TOOLS_MD2_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

#include "geometry.h"

struct Md2Face {
    uint16_t vertex[3];  // in the file's order; the game draws them as 0, 2, 1
};

struct Md2TexturePoint {
    int16_t s, t;  // skin pixels
};

// One model: every frame has the same vertex count and the faces index into any frame.
struct Md2Mesh {
    std::string skinName;
    int skinWidth = 0, skinHeight = 0;
    std::vector<std::vector<Vec3>> frames;
    std::vector<Md2Face> faces;
    std::vector<Md2TexturePoint> texturePoints;  // one per vertex; a face uses its vertex indices
};

// The whole file. Each frame is quantised to bytes between its own bounds, so the
// decoded positions lie within (bound span) / 510 of the mesh's.
std::vector<uint8_t> encodeMd2(const Md2Mesh& mesh);

#endif
