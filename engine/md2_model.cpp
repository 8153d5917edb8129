// md2_model.cpp - MD2 models: read and decoded once, one frame drawn as flat-shaded
// triangles.
//
// Every count, offset and index in a file is checked against the file's size before any
// of its data is touched, so a model that loads can be drawn without further checks:
// every triangle's vertex indices are below verticesPerFrame and its texture coordinate
// indices below texCoordCount.
#include "md2_model.h"

#include <cstdlib>
#include <new>

#include "file_system.h"
#include "little_endian.h"

namespace {

const int64_t headerBytes = 68;
const int64_t frameHeaderBytes = 40;  // scale, translate, name
const int64_t texCoordRecordBytes = 4;
const int64_t triangleRecordBytes = 12;
const int64_t frameVertexBytes = 4;
// Several times the largest model the format's own limits allow; a larger file is not a
// model and would only make the loader allocate for it.
const int64_t maxFileBytes = int64_t(16) << 20;

// The header fields the loader takes; the magic number, version, skin sizes and the skin
// and command tables are not read.
struct Md2Header {
    int32_t frameSize;
    int32_t verticesPerFrame;
    int32_t texCoordCount;
    int32_t triangleCount;
    int32_t frameCount;
    int32_t texCoordOffset;
    int32_t triangleOffset;
    int32_t frameOffset;
};

Md2Header decodeHeader(const unsigned char* file) {
    Md2Header h;
    h.frameSize = littleI32(file + 16);
    h.verticesPerFrame = littleI32(file + 24);
    h.texCoordCount = littleI32(file + 28);
    h.triangleCount = littleI32(file + 32);
    h.frameCount = littleI32(file + 40);
    h.texCoordOffset = littleI32(file + 48);
    h.triangleOffset = littleI32(file + 52);
    h.frameOffset = littleI32(file + 56);
    return h;
}

// count records of recordBytes each, from offset on, lie inside the file. The operands
// are 32-bit, so the 64-bit product cannot overflow.
bool recordsFit(int64_t offset, int64_t count, int64_t recordBytes, int64_t fileBytes) {
    return offset >= 0 && count >= 0 && offset <= fileBytes &&
           count * recordBytes <= fileBytes - offset;
}

bool isValidModel(const unsigned char* file, int64_t fileBytes, const Md2Header& h) {
    if (h.verticesPerFrame < 0 || h.frameSize < 0) return false;
    if (int64_t(h.frameSize) < frameHeaderBytes + frameVertexBytes * h.verticesPerFrame) return false;
    if (!recordsFit(h.texCoordOffset, h.texCoordCount, texCoordRecordBytes, fileBytes)) return false;
    if (!recordsFit(h.triangleOffset, h.triangleCount, triangleRecordBytes, fileBytes)) return false;
    if (!recordsFit(h.frameOffset, h.frameCount, h.frameSize, fileBytes)) return false;
    for (int32_t t = 0; t < h.triangleCount; ++t) {
        const unsigned char* record = file + h.triangleOffset + t * triangleRecordBytes;
        for (int k = 0; k < 3; ++k) {
            if (littleU16(record + 2 * k) >= h.verticesPerFrame) return false;
            if (littleU16(record + 6 + 2 * k) >= h.texCoordCount) return false;
        }
    }
    return true;
}

// position = byte * scale + translate on each axis, axes as in the file.
void decodeFrames(const unsigned char* file, const Md2Header& h, Vector3* out) {
    for (int32_t f = 0; f < h.frameCount; ++f) {
        const unsigned char* frame = file + h.frameOffset + int64_t(f) * h.frameSize;
        float scale[3], translate[3];
        for (int k = 0; k < 3; ++k) {
            scale[k] = littleFloat(frame + 4 * k);
            translate[k] = littleFloat(frame + 12 + 4 * k);
        }
        const unsigned char* vertex = frame + frameHeaderBytes;
        for (int32_t j = 0; j < h.verticesPerFrame; ++j, vertex += frameVertexBytes) {
            *out++ = Vector3(float(vertex[0]) * scale[0] + translate[0],
                             float(vertex[1]) * scale[1] + translate[1],
                             float(vertex[2]) * scale[2] + translate[2]);
        }
    }
}

// The whole file in one heap block, or null (unreadable, shorter than a header, or far
// larger than any model).
unsigned char* readWholeFile(const char* path, int64_t* bytes) {
    FILE* f = openDataFile(path, "rb");
    if (!f) return nullptr;
    unsigned char* data = nullptr;
    long size = -1;
    if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
    if (size >= headerBytes && size <= maxFileBytes && std::fseek(f, 0, SEEK_SET) == 0) {
        data = static_cast<unsigned char*>(std::malloc(size_t(size)));
        if (data && std::fread(data, 1, size_t(size), f) != size_t(size)) {
            std::free(data);
            data = nullptr;
        }
    }
    std::fclose(f);
    *bytes = size;
    return data;
}

}  // namespace

Md2Model* loadMd2Model(const char* modelPath, const char* skinPath) {
    int64_t fileBytes = 0;
    unsigned char* file = readWholeFile(modelPath, &fileBytes);
    if (!file) return nullptr;
    const Md2Header h = decodeHeader(file);
    if (!isValidModel(file, fileBytes, h)) {
        std::free(file);
        return nullptr;
    }

    Md2Model* model = new (std::nothrow) Md2Model();
    if (!model) {
        std::free(file);
        return nullptr;
    }
    model->frameCount = h.frameCount;
    model->verticesPerFrame = h.verticesPerFrame;
    model->frameSize = h.frameSize;
    model->vertices = new (std::nothrow) Vector3[size_t(int64_t(h.frameCount) * h.verticesPerFrame)];
    model->texCoords = new (std::nothrow) Md2TexCoord[size_t(h.texCoordCount)];
    model->triangles = new (std::nothrow) Md2Triangle[size_t(h.triangleCount)];
    if (model->vertices && model->texCoords && model->triangles) {
        decodeFrames(file, h, model->vertices);
        model->skin = loadTextureFile(skinPath);
    }
    if (!model->skin) {
        freeMd2Model(model);
        std::free(file);
        return nullptr;
    }
    uploadTexture(model->skin);

    // Skin-relative coordinates, from the skin image's own size (never the header's).
    model->texCoordCount = h.texCoordCount;
    const float skinWidth = float(model->skin->width);
    const float skinHeight = float(model->skin->height);
    for (int32_t i = 0; i < h.texCoordCount; ++i) {
        const unsigned char* record = file + h.texCoordOffset + i * texCoordRecordBytes;
        model->texCoords[i].u = float(int16_t(littleU16(record))) / skinWidth;
        model->texCoords[i].v = float(int16_t(littleU16(record + 2))) / skinHeight;
    }

    model->triangleCount = h.triangleCount;
    for (int32_t t = 0; t < h.triangleCount; ++t) {
        const unsigned char* record = file + h.triangleOffset + t * triangleRecordBytes;
        for (int k = 0; k < 3; ++k) {
            model->triangles[t].vertexIndex[k] = littleU16(record + 2 * k);
            model->triangles[t].texCoordIndex[k] = littleU16(record + 6 + 2 * k);
        }
    }

    std::free(file);
    return model;
}

// unit((p0 - p1) x (p0 - p2)); a degenerate triangle gives a non-finite normal.
void emitTriangleNormal(const Vector3* p0, const Vector3* p1, const Vector3* p2) {
    const Vector3 n = (*p0 - *p1).cross(*p0 - *p2);
    const float length = n.length();
    glNormal3f(n.x / length, n.y / length, n.z / length);
}

// Each triangle goes out with its second and third corners exchanged, under one flat
// normal that points to the side from which the issued corners run counter-clockwise.
// A frame the model does not have draws nothing.
void drawMd2Frame(const Md2Model* model, int frame) {
    if (!model || frame < 0 || frame >= model->frameCount) return;
    const Vector3* vertices = model->vertices + int64_t(frame) * model->verticesPerFrame;
    glBegin(GL_TRIANGLES);
    for (int t = 0; t < model->triangleCount; ++t) {
        const uint16_t* index = model->triangles[t].vertexIndex;
        const Vector3* a = &vertices[index[0]];
        const Vector3* b = &vertices[index[2]];
        const Vector3* c = &vertices[index[1]];
        emitTriangleNormal(a, b, c);
        glVertex3fv(&a->x);
        glVertex3fv(&b->x);
        glVertex3fv(&c->x);
    }
    glEnd();
}

// The skin is not the model's to free: it may be shared, and its texture lives on.
void freeMd2Model(Md2Model* model) {
    if (!model) return;
    delete[] model->triangles;
    delete[] model->texCoords;
    delete[] model->vertices;
    delete model;
}
