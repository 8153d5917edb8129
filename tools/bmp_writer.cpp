// bmp_writer.cpp - BITMAPFILEHEADER, BITMAPINFOHEADER and bottom-up BGR rows.
#include "bmp_writer.h"

#include "byte_sink.h"

Picture::Picture(int w, int h, Rgb8 fill)
    : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

std::vector<uint8_t> encodeBmp(const Picture& picture) {
    if (picture.width <= 0 || picture.height <= 0 || picture.width % 4 != 0) return {};
    const uint32_t headerBytes = 14 + 40;
    const uint32_t imageBytes = static_cast<uint32_t>(picture.width) * picture.height * 3;

    ByteSink out;
    out.u8('B');
    out.u8('M');
    out.u32(headerBytes + imageBytes);  // bfSize
    out.u16(0);
    out.u16(0);
    out.u32(headerBytes);  // bfOffBits
    out.u32(40);           // biSize
    out.i32(picture.width);
    out.i32(picture.height);  // positive: rows stored bottom-up
    out.u16(1);               // biPlanes
    out.u16(24);              // biBitCount
    out.u32(0);               // BI_RGB
    out.u32(imageBytes);      // biSizeImage: the reader takes exactly this many bytes
    out.i32(2835);            // 72 dots per inch
    out.i32(2835);
    out.u32(0);
    out.u32(0);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const Rgb8& p = picture.at(x, y);
            out.u8(p.b);
            out.u8(p.g);
            out.u8(p.r);
        }
    }
    return out.bytes;
}
