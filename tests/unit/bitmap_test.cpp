// bitmap_test.cpp - reading 24-bit BMP files: small images made here and the shared test
// files other people wrote (skipped where a clone has none beside it).
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bitmap.h"
#include "loader_fixtures.h"
#include "odd_paths.h"
#include "test_paths.h"

namespace fs = std::filesystem;

namespace {

// ---- MD5 (RFC 1321), for the pictures' checksums in the shared manifests ----------------
std::string md5Hex(const Bytes& message) {
    static const uint32_t k[64] = {
        0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613,
        0xfd469501, 0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193,
        0xa679438e, 0x49b40821, 0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d,
        0x02441453, 0xd8a1e681, 0xe7d3fbc8, 0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed,
        0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a, 0xfffa3942, 0x8771f681, 0x6d9d6122,
        0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70, 0x289b7ec6, 0xeaa127fa,
        0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665, 0xf4292244,
        0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
        0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb,
        0xeb86d391};
    static const int shift[16] = {7, 12, 17, 22, 5, 9, 14, 20, 4, 11, 16, 23, 6, 10, 15, 21};
    Bytes m = message;
    const uint64_t bits = uint64_t(message.size()) * 8;
    m.push_back(0x80);
    while (m.size() % 64 != 56) m.push_back(0);
    for (int i = 0; i < 8; ++i) m.push_back(uint8_t(bits >> (8 * i)));
    uint32_t h[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    for (size_t block = 0; block < m.size(); block += 64) {
        uint32_t w[16];
        for (int i = 0; i < 16; ++i)
            w[i] = uint32_t(m[block + 4 * i]) | uint32_t(m[block + 4 * i + 1]) << 8 |
                   uint32_t(m[block + 4 * i + 2]) << 16 | uint32_t(m[block + 4 * i + 3]) << 24;
        uint32_t a = h[0], b = h[1], c = h[2], d = h[3];
        for (int i = 0; i < 64; ++i) {
            uint32_t f;
            int g;
            if (i < 16) f = (b & c) | (~b & d), g = i;
            else if (i < 32) f = (d & b) | (~d & c), g = (5 * i + 1) % 16;
            else if (i < 48) f = b ^ c ^ d, g = (3 * i + 5) % 16;
            else f = c ^ (b | ~d), g = (7 * i) % 16;
            const uint32_t rotated = a + f + k[i] + w[g];
            const int s = shift[(i / 16) * 4 + i % 4];
            a = d;
            d = c;
            c = b;
            b = b + ((rotated << s) | (rotated >> (32 - s)));
        }
        h[0] += a, h[1] += b, h[2] += c, h[3] += d;
    }
    std::string hex;
    char digits[3];
    for (uint32_t word : h)
        for (int i = 0; i < 4; ++i) {
            std::snprintf(digits, sizeof digits, "%02x", unsigned((word >> (8 * i)) & 0xff));
            hex += digits;
        }
    return hex;
}

// ---- BMP files made in the tests ---------------------------------------------------------
// Stored pixel (x, row) of a test image, row 0 the bottom row: blue, green, red, each
// byte different from every other in the image.
uint8_t storedBlue(int x, int row) { return uint8_t(10 + 30 * row + 3 * x); }
uint8_t storedGreen(int x, int row) { return uint8_t(11 + 30 * row + 3 * x); }
uint8_t storedRed(int x, int row) { return uint8_t(12 + 30 * row + 3 * x); }

// Pixel rows as a BMP stores them, padding filled with a junk byte.
Bytes storedRows(int width, int height, uint8_t padding = 0xEE) {
    Bytes data;
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            data.push_back(storedBlue(x, row));
            data.push_back(storedGreen(x, row));
            data.push_back(storedRed(x, row));
        }
        while (data.size() % 4) data.push_back(padding);
    }
    return data;
}

struct Loaded {
    unsigned char* pixels = nullptr;
    BITMAPINFOHEADER info{};
    ~Loaded() { std::free(pixels); }
};

void loadBytes(const Bytes& file, Loaded& out) {
    writeFile("image.bmp", file);
    out.pixels = loadBitmapFile("image.bmp", &out.info);
}

// The picture as tightly packed RGB, top row first: what the shared manifests checksum.
Bytes topDownRgb(const unsigned char* pixels, int width, int height) {
    Bytes rgb;
    const int stride = strideOf(width);
    for (int row = height - 1; row >= 0; --row)
        rgb.insert(rgb.end(), pixels + size_t(row) * stride, pixels + size_t(row) * stride + width * 3);
    return rgb;
}

// Touches every byte the consumers read (height padded rows), so that AddressSanitizer
// sees a buffer that falls short of them.
unsigned sumOfRows(const unsigned char* pixels, int width, int height) {
    unsigned sum = 0;
    const size_t bytes = size_t(strideOf(width)) * height;
    for (size_t i = 0; i < bytes; ++i) sum += pixels[i];
    return sum;
}

}  // namespace

// ---- images made here ----------------------------------------------------------------------

TEST(LoadBitmapFile, FourByTwoComesOutRgbBottomRowFirst) {
    freshWorkDir("bitmap-4x2");
    Loaded image;
    loadBytes(bmpFile(4, 2, storedRows(4, 2), 24), image);
    ASSERT_NE(image.pixels, nullptr);
    EXPECT_EQ(image.info.biWidth, 4);
    EXPECT_EQ(image.info.biHeight, 2);
    EXPECT_EQ(image.info.biBitCount, 24);
    EXPECT_EQ(image.info.biSizeImage, 24u);
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < 4; ++x) {
            const unsigned char* p = image.pixels + row * 12 + x * 3;
            EXPECT_EQ(p[0], storedRed(x, row)) << x << "," << row;
            EXPECT_EQ(p[1], storedGreen(x, row)) << x << "," << row;
            EXPECT_EQ(p[2], storedBlue(x, row)) << x << "," << row;
        }
}

TEST(LoadBitmapFile, ABytePastTheLastWholePixelStaysAsRead) {
    freshWorkDir("bitmap-25");
    Bytes data = storedRows(4, 2);
    data.push_back(0x5A);
    Loaded image;
    loadBytes(bmpFile(4, 2, data, 25), image);
    ASSERT_NE(image.pixels, nullptr);
    EXPECT_EQ(image.info.biSizeImage, 25u);
    EXPECT_EQ(image.pixels[0], storedRed(0, 0));
    EXPECT_EQ(image.pixels[23], storedBlue(3, 1));
    EXPECT_EQ(image.pixels[24], 0x5A);
}

// Rows of 2 pixels take 6 bytes and are stored padded to 8, so 3-byte groups counted from
// the buffer's start fall out of step with the pixels from the second row on: each row
// is swapped on its own and its padding left alone.
TEST(LoadBitmapFile, PaddedRowsAreSwappedRowByRow) {
    freshWorkDir("bitmap-padded");
    const int width = 2, height = 3;
    Loaded image;
    loadBytes(bmpFile(width, height, storedRows(width, height)), image);
    ASSERT_NE(image.pixels, nullptr);
    EXPECT_EQ(image.info.biSizeImage, 24u);
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = image.pixels + row * 8 + x * 3;
            EXPECT_EQ(p[0], storedRed(x, row)) << x << "," << row;
            EXPECT_EQ(p[1], storedGreen(x, row)) << x << "," << row;
            EXPECT_EQ(p[2], storedBlue(x, row)) << x << "," << row;
        }
        for (int pad = 6; pad < 8; ++pad) EXPECT_EQ(image.pixels[row * 8 + pad], 0xEE);
    }
}

// However little biSizeImage claims, or however short the last row's padding falls, the
// buffer holds every padded row and says so in biSizeImage.
TEST(LoadBitmapFile, TheBufferAlwaysHoldsEveryPaddedRow) {
    freshWorkDir("bitmap-rows");
    const int width = 5, height = 3;  // 15-byte rows padded to 16
    const Bytes rows = storedRows(width, height);
    Bytes lastPaddingMissing = rows;
    lastPaddingMissing.pop_back();
    const struct {
        const char* name;
        Bytes data;
        int64_t sizeImage;
    } cases[] = {
        {"biSizeImage 0", rows, 0},
        {"biSizeImage one row", rows, 16},
        {"biSizeImage one byte short", rows, 47},
        {"last row's padding missing", lastPaddingMissing, 48},
        {"biSizeImage beyond the file", rows, 0x7FFFFFFF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Loaded image;
        loadBytes(bmpFile(width, height, c.data, c.sizeImage), image);
        ASSERT_NE(image.pixels, nullptr);
        EXPECT_EQ(image.info.biSizeImage, 48u);
        for (int row = 0; row < height; ++row) {
            EXPECT_EQ(image.pixels[row * 16], storedRed(0, row));
            EXPECT_EQ(image.pixels[row * 16 + 14], storedBlue(width - 1, row));
        }
        EXPECT_GT(sumOfRows(image.pixels, width, height), 0u);
    }
    Loaded shortPad;
    loadBytes(bmpFile(width, height, lastPaddingMissing, 48), shortPad);
    ASSERT_NE(shortPad.pixels, nullptr);
    EXPECT_EQ(shortPad.pixels[47], 0);  // zero where the file ran out
}

TEST(LoadBitmapFile, RefusesWhatItCannotShowOrShouldNotTry) {
    freshWorkDir("bitmap-refused");
    const Bytes good = bmpFile(4, 2, storedRows(4, 2));
    auto with = [&](size_t at, uint32_t value, bool wide) {
        Bytes b = good;
        if (wide) putU32(b, at, value);
        else putU16(b, at, value);
        return b;
    };
    Bytes cutInPixels = good;
    cutInPixels.resize(54 + 12 + 5);
    Bytes hugeHeader = bmpFile(20000, 20000, storedRows(4, 2));  // 1.1 GiB of rows
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"empty file", {}},
        {"cut in the file header", Bytes(good.begin(), good.begin() + 10)},
        {"cut in the information header", Bytes(good.begin(), good.begin() + 30)},
        {"headers only", Bytes(good.begin(), good.begin() + 54)},
        {"cut inside the pixels", cutInPixels},
        {"magic MB", with(0, 0x424D, false)},
        {"8 bits a pixel", with(28, 8, false)},
        {"32 bits a pixel", with(28, 32, false)},
        {"run-length compressed", with(30, 1, true)},
        {"bit fields", with(30, 3, true)},
        {"width 0", with(18, 0, true)},
        {"width -4", with(18, uint32_t(-4), true)},
        {"height 0", with(22, 0, true)},
        {"height -2 (top-down)", with(22, uint32_t(-2), true)},
        {"height INT_MIN", with(22, uint32_t(INT_MIN), true)},
        {"width past the side limit", with(18, 40000, true)},
        {"width whose row size wraps 32 bits", with(18, 0x55555556, true)},
        {"rows past the size limit", hugeHeader},
        {"pixels inside the headers", with(10, 20, true)},
        {"pixels past the end", with(10, 54 + 25, true)},
        {"pixel offset wrapping 32 bits", with(10, 0xFFFFFFF0, true)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Loaded image;
        loadBytes(c.file, image);
        EXPECT_EQ(image.pixels, nullptr);
    }
    BITMAPINFOHEADER info;
    EXPECT_EQ(loadBitmapFile("no-such-file.bmp", &info), nullptr);
}

TEST(LoadBitmapFile, TakesPixelsFromTheOffsetTheHeaderGives) {
    freshWorkDir("bitmap-offset");
    Bytes file = bmpFile(4, 2, storedRows(4, 2));
    file.insert(file.begin() + 54, 100, 0x77);  // a palette nobody reads
    putU32(file, 10, 154);
    Loaded image;
    loadBytes(file, image);
    ASSERT_NE(image.pixels, nullptr);
    EXPECT_EQ(image.pixels[0], storedRed(0, 0));
    EXPECT_EQ(image.pixels[2], storedBlue(0, 0));
}

// ---- records and extensions ----------------------------------------------------------------

// A pipe would hold the open until something wrote to it; a folder or a device is no
// picture. Each is missing to the loader.
TEST(LoadBitmapFile, APipeAFolderOrADeviceIsNoBitmapAndIsNotOpened) {
    freshWorkDir("bitmap-odd-paths");
    const OddPaths odd = makeOddPaths(".bmp");
    ASSERT_TRUE(odd.made);
    const HangGuard guard;
    for (const std::string& name : odd.names) {
        BITMAPINFOHEADER info{};
        EXPECT_EQ(loadBitmapFile(name.c_str(), &info), nullptr) << name;
    }
}

TEST(CreateBitmapTexture, MakesAnRgbRecordWithoutATexture) {
    freshWorkDir("bitmap-texture");
    writeFile("image.bmp", bmpFile(4, 2, storedRows(4, 2)));
    TextureImage* image = createBitmapTexture("image.bmp");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixelFormat, 1);
    EXPECT_EQ(image->width, 4);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->texture, 0u);
    ASSERT_NE(image->pixels, nullptr);
    EXPECT_EQ(image->pixels[0], storedRed(0, 0));
    std::free(image->pixels);
    delete image;

    EXPECT_EQ(createBitmapTexture("missing.bmp"), nullptr);
    writeFile("eight-bit.bmp", [] {
        Bytes b = bmpFile(4, 2, storedRows(4, 2));
        putU16(b, 28, 8);
        return b;
    }());
    EXPECT_EQ(createBitmapTexture("eight-bit.bmp"), nullptr);
}

TEST(LoadTextureFile, ChoosesTheReaderByTheTextAfterTheFirstDot) {
    freshWorkDir("bitmap-extensions");
    const Bytes file = bmpFile(4, 2, storedRows(4, 2));
    fs::create_directory("skins.v2");
    const struct {
        const char* path;
        bool loads;
    } cases[] = {
        {"sky.bmp", true},          {"SKY.BMP", true},        {"sky.Bmp", false},
        {"sky", false},             {"skins.v2/sky.bmp", false}, {"sky.bmp.old", false},
        {"sky.png", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        writeFile(c.path, file);
        TextureImage* image = loadTextureFile(c.path);
        EXPECT_EQ(image != nullptr, c.loads);
        if (image) {
            EXPECT_EQ(image->width, 4);
            std::free(image->pixels);
            delete image;
        }
    }
    EXPECT_EQ(loadTextureFile("missing.bmp"), nullptr);
}

// ---- files other people wrote ----------------------------------------------------------------

namespace {

struct SharedCase {
    std::string path;
    std::string expect;  // LOAD, REJECT or EITHER
    std::string md5;     // of the picture, when given
};

std::vector<SharedCase> sharedBitmapCases() {
    std::vector<SharedCase> cases;
    const std::string bmp = sharedTestDataDir() + "/bmp/";
    for (const auto& row : readManifest(bmp + "manifest.tsv"))
        if (row.size() >= 2) cases.push_back({bmp + row[0], row[1], row.size() > 8 ? row[8] : ""});
    // The model skins (their checksums are in the models' README).
    const std::string md2 = sharedTestDataDir() + "/md2/";
    cases.push_back({md2 + "derived/sydney-skin24.bmp", "LOAD", "643123f57603a1d1b532afb202b0b3f6"});
    cases.push_back({md2 + "derived/faerie2-skin24.bmp", "LOAD", "7a63a9ec08e87398efb7c536caf79e17"});
    cases.push_back({md2 + "assimp/sydney.bmp", "REJECT", ""});
    cases.push_back({md2 + "assimp/faerie2.bmp", "REJECT", ""});
    return cases;
}

}  // namespace

TEST(LoadBitmapFile, SharedTestFilesGiveTheirExpectedOutcome) {
    SKIP_WITHOUT_SHARED_TEST_DATA();
    const std::vector<SharedCase> cases = sharedBitmapCases();
    ASSERT_GT(cases.size(), 90u) << "shared test files not found in " << sharedTestDataDir();
    int loaded = 0;
    for (const SharedCase& c : cases) {
        SCOPED_TRACE(c.path + " expected " + c.expect);
        ASSERT_TRUE(fs::exists(c.path));
        BITMAPINFOHEADER info{};
        unsigned char* pixels = loadBitmapFile(c.path.c_str(), &info);
        if (c.expect == "LOAD") {
            EXPECT_NE(pixels, nullptr);
        } else if (c.expect == "REJECT") {
            EXPECT_EQ(pixels, nullptr);
        }
        if (pixels) {
            ++loaded;
            ASSERT_GE(int64_t(info.biSizeImage), int64_t(strideOf(info.biWidth)) * info.biHeight);
            sumOfRows(pixels, info.biWidth, info.biHeight);
            if (!c.md5.empty()) {
                EXPECT_EQ(md5Hex(topDownRgb(pixels, info.biWidth, info.biHeight)), c.md5);
            }
        }
        std::free(pixels);
    }
    EXPECT_GE(loaded, 8);
}

