// md2_model.h - MD2 models: loaded once, one frame drawn into a display list.
#ifndef KORVALINTH_ENGINE_MD2_MODEL_H
#define KORVALINTH_ENGINE_MD2_MODEL_H

#include <cstdint>

#include "bitmap.h"
#include "vector3.h"

struct Md2Triangle {
    uint16_t vertexIndex[3];
    uint16_t texCoordIndex[3];
};

struct Md2TexCoord {
    float u, v;
};

struct Md2Model {
    int frameCount;
    int verticesPerFrame;
    int triangleCount;
    int texCoordCount;
    int frameSize;
    Md2Triangle* triangles;
    Md2TexCoord* texCoords;
    Vector3* vertices;      // frame i, vertex j at i * verticesPerFrame + j
    TextureImage* skin;
};

Md2Model* loadMd2Model(const char* modelPath, const char* skinPath);
void drawMd2Frame(const Md2Model* model, int frame);
void emitTriangleNormal(const Vector3* p0, const Vector3* p1, const Vector3* p2);
void freeMd2Model(Md2Model* model);

#endif
