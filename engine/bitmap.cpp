// bitmap.cpp - 24-bit uncompressed BMP files into RGB pixel buffers, and textures of them.
//
// Invariant of every buffer loadBitmapFile returns: it holds at least `height` rows of
// `width` RGB pixels, each row padded to 4 bytes (bottom row first, zero beyond the data
// the file holds), and info->biSizeImage is its byte count. The texture upload and the
// minimap's pixel blocks read exactly those rows, so they never run past it.
#include "bitmap.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "file_system.h"
#include "little_endian.h"

namespace {

const long fileHeaderBytes = 14;
const long infoHeaderBytes = 40;
// Far beyond any image the game draws; a header asking for more is corrupt or hostile,
// and refusing it keeps a few bytes of header from allocating gigabytes.
const int64_t maxImageSide = 32768;
const int64_t maxBufferBytes = int64_t(256) << 20;

void decodeInfoHeader(const unsigned char* p, BITMAPINFOHEADER* info) {
    info->biSize = littleU32(p + 0);
    info->biWidth = LONG(littleU32(p + 4));
    info->biHeight = LONG(littleU32(p + 8));
    info->biPlanes = littleU16(p + 12);
    info->biBitCount = littleU16(p + 14);
    info->biCompression = littleU32(p + 16);
    info->biSizeImage = littleU32(p + 20);
    info->biXPelsPerMeter = LONG(littleU32(p + 24));
    info->biYPelsPerMeter = LONG(littleU32(p + 28));
    info->biClrUsed = littleU32(p + 32);
    info->biClrImportant = littleU32(p + 36);
}

// Blue-green-red into red-green-blue, pixel by pixel within each row, never touching the
// row's padding.
void swapRedAndBlue(unsigned char* rows, int64_t rowCount, int64_t pixelsPerRow, int64_t stride) {
    for (int64_t row = 0; row < rowCount; ++row) {
        unsigned char* pixel = rows + row * stride;
        for (int64_t i = 0; i < pixelsPerRow; ++i, pixel += 3) {
            const unsigned char blue = pixel[0];
            pixel[0] = pixel[2];
            pixel[2] = blue;
        }
    }
}

unsigned char* readPixels(FILE* file, BITMAPINFOHEADER* info) {
    unsigned char header[fileHeaderBytes + infoHeaderBytes];
    if (std::fread(header, 1, fileHeaderBytes, file) != size_t(fileHeaderBytes)) return nullptr;
    if (header[0] != 0x42 || header[1] != 0x4D) return nullptr;
    const uint32_t pixelOffset = littleU32(header + 10);
    if (std::fread(header + fileHeaderBytes, 1, infoHeaderBytes, file) != size_t(infoHeaderBytes))
        return nullptr;
    decodeInfoHeader(header + fileHeaderBytes, info);

    // Any other depth or a compressed image would come out as a wrong picture in a buffer
    // shorter than the rows the consumers read. Top-down images (negative height) are not
    // taken.
    if (info->biBitCount != 24 || info->biCompression != 0) return nullptr;
    const int64_t width = info->biWidth;
    const int64_t height = info->biHeight;
    if (width <= 0 || height <= 0 || width > maxImageSide || height > maxImageSide) return nullptr;
    const int64_t stride = (width * 3 + 3) & ~int64_t(3);
    const int64_t rowBytes = stride * height;
    if (rowBytes > maxBufferBytes) return nullptr;

    if (std::fseek(file, 0, SEEK_END) != 0) return nullptr;
    const long fileBytes = std::ftell(file);
    if (fileBytes < 0 || pixelOffset < uint32_t(fileHeaderBytes + infoHeaderBytes) ||
        int64_t(pixelOffset) > int64_t(fileBytes))
        return nullptr;
    const int64_t available = int64_t(fileBytes) - pixelOffset;

    // biSizeImage may be 0 or short of the rows (the rows are read anyway) or name bytes
    // past the rows (kept as read, as far as the file holds them). Only the last row's
    // padding may be missing from the file; it reads as zero.
    int64_t bufferBytes = rowBytes;
    if (int64_t(info->biSizeImage) > bufferBytes) {
        bufferBytes = int64_t(info->biSizeImage) < available ? int64_t(info->biSizeImage) : available;
        if (bufferBytes < rowBytes) bufferBytes = rowBytes;
        if (bufferBytes > maxBufferBytes) bufferBytes = maxBufferBytes;
    }
    const int64_t readBytes = bufferBytes < available ? bufferBytes : available;
    const int64_t pixelBytes = (height - 1) * stride + width * 3;
    if (readBytes < pixelBytes) return nullptr;

    unsigned char* buffer = static_cast<unsigned char*>(std::malloc(size_t(bufferBytes)));
    if (!buffer) return nullptr;
    size_t got = 0;
    if (std::fseek(file, long(pixelOffset), SEEK_SET) == 0)
        got = std::fread(buffer, 1, size_t(readBytes), file);
    if (int64_t(got) < pixelBytes) {
        std::free(buffer);
        return nullptr;
    }
    std::memset(buffer + got, 0, size_t(bufferBytes) - got);

    // Unpadded rows run into each other, so the whole buffer is one run of pixels: its
    // last one or two bytes, when it is no whole number of pixels, stay as read.
    if (stride == width * 3)
        swapRedAndBlue(buffer, 1, bufferBytes / 3, 0);
    else
        swapRedAndBlue(buffer, height, width, stride);

    info->biSizeImage = DWORD(bufferBytes);
    return buffer;
}

}  // namespace

unsigned char* loadBitmapFile(const char* path, BITMAPINFOHEADER* info) {
    FILE* file = openDataFile(path, "rb");
    if (!file) return nullptr;
    unsigned char* pixels = readPixels(file, info);
    std::fclose(file);
    return pixels;
}

TextureImage* createBitmapTexture(const char* path) {
    TextureImage* image = new (std::nothrow) TextureImage;
    if (!image) return nullptr;
    BITMAPINFOHEADER info;
    image->pixels = loadBitmapFile(path, &info);
    if (!image->pixels) {
        delete image;
        return nullptr;
    }
    image->width = info.biWidth;
    image->height = info.biHeight;
    image->pixelFormat = 1;
    image->texture = 0;
    return image;
}

// The extension runs from the first '.' of the whole path, folders included.
TextureImage* loadTextureFile(const char* path) {
    const char* dot = std::strchr(path, '.');
    if (!dot) return nullptr;
    const char* extension = dot + 1;
    if (std::strcmp(extension, "BMP") == 0 || std::strcmp(extension, "bmp") == 0)
        return createBitmapTexture(path);
    return nullptr;
}

void uploadTexture(TextureImage* image) {
    if (!image) return;
    glGenTextures(1, &image->texture);
    glBindTexture(GL_TEXTURE_2D, image->texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (!image->pixels || image->width <= 0 || image->height <= 0) return;
    GLenum format;
    if (image->pixelFormat == 1)
        format = GL_RGB;
    else if (image->pixelFormat == 0)
        format = GL_RGBA;
    else
        return;
    // The buffer's rows are padded to 4 bytes; unpack them that way whatever pixel-store
    // state other drawing left behind, so OpenGL reads the rows the buffer holds and no more.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    gluBuild2DMipmaps(GL_TEXTURE_2D, format, image->width, image->height, format,
                      GL_UNSIGNED_BYTE, image->pixels);
    glPopClientAttrib();
}
