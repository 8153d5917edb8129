// md2_fuzzer.cpp - libFuzzer target for the MD2 reader: any bytes as a model file with a
// small valid skin, then every frame of a model that loaded drawn, and frames it lacks.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "md2_model.h"
#include "recording_gl.h"

#include <unistd.h>

namespace {

std::string pidName(const char* stem, const char* extension) {
    return std::string(stem) + "-" + std::to_string(getpid()) + extension;
}

bool writeFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && written;
}

// An 8 x 4 24-bit skin: its size divides the texture coordinates.
std::string writeSkin() {
    uint8_t bmp[54 + 24 * 4] = {};
    bmp[0] = 'B';
    bmp[1] = 'M';
    bmp[10] = 54;
    bmp[14] = 40;
    bmp[18] = 8;
    bmp[22] = 4;
    bmp[26] = 1;
    bmp[28] = 24;
    bmp[34] = 96;
    const std::string path = pidName("md2-skin", ".bmp");
    writeFile(path, bmp, sizeof bmp);
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string skin = writeSkin();
    static const std::string path = pidName("md2-input", ".md2");
    if (!writeFile(path, data, size)) return 0;
    recordedGl = RecordingGl();

    Md2Model* model = loadMd2Model(path.c_str(), skin.c_str());
    if (!model) return 0;
    drawMd2Frame(model, -1);
    for (int frame = 0; frame <= model->frameCount; ++frame) {
        recordedGl.vertices.clear();
        drawMd2Frame(model, frame);
    }
    for (int i = 0; i < model->texCoordCount; ++i) {
        volatile float u = model->texCoords[i].u;
        (void)u;
    }
    std::free(model->skin->pixels);
    delete model->skin;
    freeMd2Model(model);
    return 0;
}
