// bitmap_fuzzer.cpp - libFuzzer target for the BMP reader: any bytes as a file, then what
// the consumers do with a buffer that loaded (the texture upload reads every padded row).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bitmap.h"
#include "recording_gl.h"

#include <unistd.h>

namespace {

std::string inputPath() { return "bitmap-input-" + std::to_string(getpid()) + ".bmp"; }

bool writeInput(const std::string& path, const uint8_t* data, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = inputPath();
    if (!writeInput(path, data, size)) return 0;
    recordedGl = RecordingGl();

    BITMAPINFOHEADER info;
    unsigned char* pixels = loadBitmapFile(path.c_str(), &info);
    if (pixels) {
        // The promise the consumers rely on.
        const int64_t stride = (int64_t(info.biWidth) * 3 + 3) & ~int64_t(3);
        if (info.biWidth <= 0 || info.biHeight <= 0 || int64_t(info.biSizeImage) < stride * info.biHeight)
            __builtin_trap();
        volatile unsigned char last = pixels[info.biSizeImage - 1];
        (void)last;
        std::free(pixels);
    }

    TextureImage* image = createBitmapTexture(path.c_str());
    if (image) {
        uploadTexture(image);
        std::free(image->pixels);
        delete image;
    }
    return 0;
}
