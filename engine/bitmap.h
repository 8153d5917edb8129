// bitmap.h - 24-bit uncompressed BMP files, RGB pixel buffers and textures.
#ifndef KORVALINTH_ENGINE_BITMAP_H
#define KORVALINTH_ENGINE_BITMAP_H

#include "platform.h"

struct TextureImage {
    int pixelFormat;        // 1 RGB (three bytes a pixel), 0 RGBA
    int width;
    int height;
    GLuint texture;         // 0 until uploaded
    unsigned char* pixels;  // malloc'ed, owned by the record
};

// Heap RGB buffer (bottom row first, rows padded to 4 bytes) or null; fills *info.
unsigned char* loadBitmapFile(const char* path, BITMAPINFOHEADER* info);
TextureImage* createBitmapTexture(const char* path);
TextureImage* loadTextureFile(const char* path);   // by the extension after the first '.'
void uploadTexture(TextureImage* image);            // mipmapped, repeating, linear; left bound

#endif
