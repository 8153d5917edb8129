// bmp_writer.h - 24-bit uncompressed BMP files as the game's image reader takes them.
#ifndef KORVALINTH_TOOLS_BMP_WRITER_H
#define KORVALINTH_TOOLS_BMP_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

struct Rgb8 {
    uint8_t r, g, b;
};

// A picture held top row first, as a person draws it; the writer turns it bottom-up.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb8> pixels;  // width x height, row after row from the top

    Picture(int w, int h, Rgb8 fill = {0, 0, 0});
    Rgb8& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const Rgb8& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The file's bytes. The reader swaps colours in 3-byte groups over the whole pixel block
// without regard to rows, so a width that leaves row padding would shift every row after
// the first: the width must be a multiple of 4 (empty result otherwise).
std::vector<uint8_t> encodeBmp(const Picture& picture);

#endif
