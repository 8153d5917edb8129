// outline_text_test.cpp - the outline font, centred strings, whole numbers and pixel
// blocks, drawn in a headless context and checked by what ends up on screen.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "frame_pixels.h"
#include "gl_test_context.h"
#include "outline_text.h"

namespace {

const int viewWidth = 640, viewHeight = 480;

// A fresh window whose first display lists are the game's font, as the start-up makes it.
class OutlineText : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(openTestWindow(viewWidth, viewHeight), nullptr);
        base = createOutlineFont("Arial", 4, 1.0f);
        ASSERT_NE(base, 0u);
    }
    GLuint base = 0;
};

float advance(unsigned char code) { return glyphMetrics[code].gmfCellIncX; }

float widthOf(const char* text) {
    float width = 0;
    for (const char* c = text; *c; ++c) width += advance(static_cast<unsigned char>(*c));
    return width;
}

float matrixX() {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    return m[12];
}

// One unit per pixel, origin at the bottom left; eye z from -1000 to 1000 is visible.
void pixelView() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, viewWidth, 0, viewHeight, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1, 1, 1);
}

// The pixels lit by white text on black: how many, and the box around them.
PixelRegion litRegion() {
    return FramePixels().find([](Rgb c) { return c.r >= 128; });
}

bool lit(int x, int y) { return readPixel(x, y).r >= 128; }

TEST_F(OutlineText, FontListsAreTheContextsFirstAndCode255IsEmpty) {
    EXPECT_EQ(base, 1u);
    EXPECT_EQ(glGenLists(1), 257u);
    const GLYPHMETRICSFLOAT& last = glyphMetrics[255];
    EXPECT_EQ(last.gmfCellIncX, 0.0f);
    EXPECT_EQ(last.gmfBlackBoxX, 0.0f);
    EXPECT_EQ(last.gmfBlackBoxY, 0.0f);
}

TEST_F(OutlineText, MetricsAreInEmUnitsWithArialBoldAdvances) {
    EXPECT_FLOAT_EQ(advance('A'), 1479.0f / 2048.0f);
    // The HUD's figures line up because every digit has the same advance.
    for (char digit = '1'; digit <= '9'; ++digit) EXPECT_FLOAT_EQ(advance(digit), advance('0'));
    const GLYPHMETRICSFLOAT& a = glyphMetrics[unsigned('A')];
    EXPECT_EQ(a.gmfCellIncY, 0.0f);
    EXPECT_GT(a.gmfBlackBoxX, 0.5f);
    EXPECT_LT(a.gmfBlackBoxX, a.gmfCellIncX);
    EXPECT_GT(a.gmfptGlyphOrigin.y, 0.5f);  // the box's top, above the baseline
    EXPECT_NEAR(a.gmfptGlyphOrigin.y - a.gmfBlackBoxY, 0.0f, 1e-6f);  // 'A' sits on it
    // Codes above 127 are Windows-1252's: 0x80 is the euro sign, 0xC9 is E acute.
    EXPECT_GT(advance(0x80), 0.3f);
    EXPECT_FLOAT_EQ(advance(0xC9), advance('E'));
    // 0x81 is unassigned and no font has a glyph for it: no advance, no box.
    EXPECT_EQ(advance(0x81), 0.0f);
    EXPECT_EQ(glyphMetrics[0x81].gmfBlackBoxX, 0.0f);
}

TEST_F(OutlineText, CentredStringEndsHalfItsWidthRight) {
    const char* texts[] = {"", "A", "AAA", "WAVE 1", "Land of Diablo", "\xC9t\xE9 \x80", "AA\xFF"};
    for (const char* text : texts) {
        glLoadIdentity();
        printCentred(base, text);
        EXPECT_NEAR(matrixX(), widthOf(text) / 2, 1e-5f) << text;
    }
    // Equal advances a: moved by -a * n / 2 first, then n advances.
    glLoadIdentity();
    printCentred(base, "AAA");
    EXPECT_NEAR(matrixX(), 1.5f * 1479.0f / 2048.0f, 1e-5f);
    // The text follows the caller's scaling.
    glLoadIdentity();
    glScalef(10, 10, 10);
    printCentred(base, "AAA");
    EXPECT_NEAR(matrixX(), 15.0f * 1479.0f / 2048.0f, 1e-4f);
    // A null string changes nothing.
    glLoadIdentity();
    glTranslatef(3, 0, 0);
    printCentred(base, nullptr);
    EXPECT_EQ(matrixX(), 3.0f);
    // Neither do codes without a glyph, nor 255.
    printCentred(base, "\xFF\x81");
    EXPECT_EQ(matrixX(), 3.0f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// A glyph printed 200 pixels to the em, centred on (320, 200): its lit pixels fill the
// black box that its metrics give, placed by the centring and the baseline.
void expectGlyphWhereMetricsSay(GLuint base, unsigned char code) {
    const float scale = 200, x0 = 320, y0 = 200;
    pixelView();
    glTranslatef(x0, y0, 0);
    glScalef(scale, scale, scale);
    char text[2] = {char(code), 0};
    printCentred(base, text);
    PixelRegion box = litRegion();
    const GLYPHMETRICSFLOAT& m = glyphMetrics[code];
    float left = x0 + scale * (m.gmfptGlyphOrigin.x - m.gmfCellIncX / 2);
    float top = y0 + scale * m.gmfptGlyphOrigin.y;
    ASSERT_GT(box.count, 0) << "code " << int(code);
    EXPECT_NEAR(box.minX, left, 2) << "code " << int(code);
    EXPECT_NEAR(box.maxX + 1, left + scale * m.gmfBlackBoxX, 2) << "code " << int(code);
    EXPECT_NEAR(box.maxY + 1, top, 2) << "code " << int(code);
    EXPECT_NEAR(box.minY, top - scale * m.gmfBlackBoxY, 2) << "code " << int(code);
    // A filled glyph covers a good part of its box; an outline only would not.
    int boxArea = (box.maxX - box.minX + 1) * (box.maxY - box.minY + 1);
    EXPECT_GT(box.count, boxArea / 5) << "code " << int(code);
}

TEST_F(OutlineText, GlyphsDrawWhereTheirMetricsPlaceThem) {
    const unsigned char codes[] = {'A', 'g', 'O', '7', 0xC9, 0x80};
    for (unsigned char code : codes) expectGlyphWhereMetricsSay(base, code);
}

TEST_F(OutlineText, CountersOfLettersStayOpen) {
    // 'O' 300 pixels to the em: the middle of its box is the hole, the sides are ink.
    pixelView();
    glTranslatef(320, 100, 0);
    glScalef(300, 300, 300);
    printCentred(base, "O");
    PixelRegion box = litRegion();
    ASSERT_GT(box.count, 0);
    int midX = (box.minX + box.maxX) / 2, midY = (box.minY + box.maxY) / 2;
    EXPECT_FALSE(lit(midX, midY));
    EXPECT_TRUE(lit(box.minX + 5, midY));
    EXPECT_TRUE(lit(box.maxX - 5, midY));
    EXPECT_TRUE(lit(midX, box.maxY - 5));
    EXPECT_TRUE(lit(midX, box.minY + 5));
}

TEST_F(OutlineText, CodesWithoutAGlyphAnd255DrawNothing) {
    for (const char* text : {"\xFF", "\x81", "\x01", " "}) {
        pixelView();
        glTranslatef(320, 200, 0);
        glScalef(200, 200, 200);
        printCentred(base, text);
        EXPECT_EQ(litRegion().count, 0) << int(static_cast<unsigned char>(text[0]));
    }
}

// The depth of the nearest surface at the window's centre, where the solid 'I' stands
// centred, turned by `turn` degrees about y; culling as given (0 for none). Returns a
// negative value when nothing covers the centre.
float depthAtCentre(GLuint base, float turn, GLenum cull) {
    pixelView();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    if (cull) {
        glEnable(GL_CULL_FACE);
        glCullFace(cull);
    }
    const GLYPHMETRICSFLOAT& m = glyphMetrics[unsigned('I')];
    glTranslatef(viewWidth / 2.0f, viewHeight / 2.0f, 0);
    glRotatef(turn, 0, 1, 0);
    glScalef(100, 100, 100);
    glTranslatef(-(m.gmfptGlyphOrigin.x + m.gmfBlackBoxX / 2),
                 -(m.gmfptGlyphOrigin.y - m.gmfBlackBoxY / 2), 0.5f);
    glCallList(base + 'I');
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    if (!lit(viewWidth / 2, viewHeight / 2)) return -1;
    GLfloat depth = 0;
    glReadPixels(viewWidth / 2, viewHeight / 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}

TEST_F(OutlineText, SurfacesFacingTheViewerAreCounterClockwise) {
    // From the front, behind and both sides: the nearest surface is front-facing (culling
    // back faces keeps it) and the surface behind it is back-facing (culling front faces
    // shows that one, farther away).
    for (float turn : {0.0f, 180.0f, 90.0f, -90.0f}) {
        float nearest = depthAtCentre(base, turn, 0);
        ASSERT_GE(nearest, 0) << "turn " << turn;
        EXPECT_NEAR(depthAtCentre(base, turn, GL_BACK), nearest, 1e-4f) << "turn " << turn;
        EXPECT_GT(depthAtCentre(base, turn, GL_FRONT), nearest + 1e-3f) << "turn " << turn;
    }
}

TEST_F(OutlineText, SolidIsOneExtrusionDeep) {
    // Seen from the side, 100 pixels to the em: the walls span the extrusion of 1 em.
    pixelView();
    glTranslatef(320, 200, 0);
    glRotatef(90, 0, 1, 0);
    glScalef(100, 100, 100);
    glCallList(base + 'I');
    PixelRegion box = litRegion();
    ASSERT_GT(box.count, 0);
    EXPECT_NEAR(box.maxX - box.minX + 1, 100, 2);
    EXPECT_NEAR(box.maxY - box.minY + 1, 100 * glyphMetrics[unsigned('I')].gmfBlackBoxY, 2);
}

// Draws with `draw` and returns the whole frame.
template <typename F>
FramePixels frameOf(F draw) {
    pixelView();
    glTranslatef(320, 200, 0);
    glScalef(60, 60, 60);
    draw();
    return FramePixels();
}

TEST_F(OutlineText, PrintNumberPrintsTheWholePartWithListBase1) {
    struct Case {
        float value;
        const char* text;
    } cases[] = {{12.9f, "12"}, {-3.7f, "-3"}, {0.5f, "0"}, {9999999.0f, "9999999"},
                 {-1e30f, "-999999"}};
    for (const Case& c : cases) {
        const FramePixels printed = frameOf([&] { printNumber(c.value); });
        const FramePixels expected = frameOf([&] { printCentred(1, c.text); });
        EXPECT_TRUE(printed == expected) << c.value;
        glLoadIdentity();
        printNumber(c.value);
        EXPECT_NEAR(matrixX(), widthOf(c.text) / 2, 1e-5f) << c.value;
    }
}

TEST_F(OutlineText, DrawPixelsLaysRowsOutPaddedToFourBytes) {
    // 5 x 2 pixels: rows of 15 bytes padded to 16, red below and green above.
    unsigned char block[32] = {};
    for (int x = 0; x < 5; ++x) {
        block[x * 3] = 255;
        block[16 + x * 3 + 1] = 255;
    }
    pixelView();
    glRasterPos2i(100, 50);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // drawPixels must not depend on what was set
    drawPixels(5, 2, block);
    for (int x = 100; x < 105; ++x) {
        Rgb below = readPixel(x, 50), above = readPixel(x, 51);
        EXPECT_EQ(below.r, 255);
        EXPECT_EQ(below.g, 0);
        EXPECT_EQ(above.r, 0);
        EXPECT_EQ(above.g, 255);
        EXPECT_EQ(above.b, 0);
    }
    EXPECT_EQ(FramePixels().count(Rgb{255, 0, 0}, 0), 5);
    EXPECT_EQ(FramePixels().count(Rgb{0, 255, 0}, 0), 5);

    // No bytes, no block.
    pixelView();
    glRasterPos2i(100, 50);
    drawPixels(5, 2, nullptr);
    EXPECT_EQ(FramePixels().count(Rgb{0, 0, 0}, 0), viewWidth * viewHeight);
}

TEST(StrCmpI, ComparesIgnoringCase) {
    EXPECT_EQ(_strcmpi("symbol", "Symbol"), 0);
    EXPECT_EQ(_strcmpi("SYMBOL", "symbol"), 0);
    EXPECT_EQ(_strcmpi("sYmBoL", "SyMbOl"), 0);
    EXPECT_LT(_strcmpi("Arial", "symbol"), 0);
    EXPECT_GT(_strcmpi("symbols", "symbol"), 0);
    EXPECT_LT(_strcmpi("symbo", "Symbol"), 0);
    EXPECT_LT(_strcmpi("_", "a"), 0);  // compared as lower case, as the runtime does
}

}  // namespace
