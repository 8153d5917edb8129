// texture_model_test.cpp - BMP textures and MD2 frames in a real headless context: what
// reaches the texture, and what a player sees of a textured quad and a drawn model.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bitmap.h"
#include "frame_pixels.h"
#include "gl_test_context.h"
#include "loader_fixtures.h"
#include "md2_model.h"
#include "test_paths.h"

namespace fs = std::filesystem;

namespace {

const int viewWidth = 640, viewHeight = 480;

class TextureAndModel : public ::testing::Test {
protected:
    void SetUp() override {
        freshWorkDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_NE(openTestWindow(viewWidth, viewHeight), nullptr);
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glColor3f(1, 1, 1);
    }
    void TearDown() override {
        for (TextureImage* image : images) {
            std::free(image->pixels);
            delete image;
        }
    }
    // A BMP written here and loaded the game's way; the record is released after the test.
    TextureImage* loadImage(const char* path, int width, int height, const Bytes& rows) {
        writeFile(path, bmpFile(width, height, rows));
        TextureImage* image = loadTextureFile(path);
        if (image) images.push_back(image);
        return image;
    }
    std::vector<TextureImage*> images;
};

// Stored rows (blue, green, red, padded to 4) of a width x height image in four
// quadrants: bottom left red, bottom right green, top left blue, top right white.
Bytes quadrantRows(int width, int height) {
    Bytes rows;
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2, top = row >= height / 2;
            const Rgb c = !top ? (right ? Rgb{0, 255, 0} : Rgb{255, 0, 0})
                               : (right ? Rgb{255, 255, 255} : Rgb{0, 0, 255});
            rows.push_back(uint8_t(c.b));
            rows.push_back(uint8_t(c.g));
            rows.push_back(uint8_t(c.r));
        }
        while (rows.size() % 4) rows.push_back(0x99);
    }
    return rows;
}

void unitSquareView() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void drawTexturedWindow(GLuint texture) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(1, 0);
    glVertex2f(1, 0);
    glTexCoord2f(1, 1);
    glVertex2f(1, 1);
    glTexCoord2f(0, 1);
    glVertex2f(0, 1);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

// Level 0 of the bound texture as tightly packed RGB, bottom row first.
Bytes boundTextureImage(int width, int height) {
    Bytes texels(size_t(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

}  // namespace

TEST_F(TextureAndModel, UploadMakesABoundRepeatingLinearMipmappedTexture) {
    TextureImage* image = loadImage("four.bmp", 4, 2, quadrantRows(4, 2));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->texture, 0u);
    uploadTexture(image);
    ASSERT_NE(image->texture, 0u);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    GLint bound = 0, value = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), image->texture);
    const struct {
        GLenum name;
        GLint expected;
    } parameters[] = {{GL_TEXTURE_WRAP_S, GL_REPEAT},
                      {GL_TEXTURE_WRAP_T, GL_REPEAT},
                      {GL_TEXTURE_MIN_FILTER, GL_LINEAR},
                      {GL_TEXTURE_MAG_FILTER, GL_LINEAR}};
    for (const auto& p : parameters) {
        glGetTexParameteriv(GL_TEXTURE_2D, p.name, &value);
        EXPECT_EQ(value, p.expected) << p.name;
    }
    // Every level down to 1 x 1.
    const int sizes[3][2] = {{4, 2}, {2, 1}, {1, 1}};
    for (int level = 0; level < 3; ++level) {
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
        EXPECT_EQ(width, sizes[level][0]) << "level " << level;
        EXPECT_EQ(height, sizes[level][1]) << "level " << level;
    }
    const Bytes texels = boundTextureImage(4, 2);
    EXPECT_EQ(texels, Bytes(image->pixels, image->pixels + 24));
}

// Rows of 2 pixels are padded to 8 bytes. Other drawing may leave the unpack alignment at
// 1; the upload still takes the rows as the buffer holds them, and leaves that state be.
TEST_F(TextureAndModel, PaddedRowsReachTheTextureIntactWhateverTheUnpackAlignment) {
    TextureImage* image = loadImage("padded.bmp", 2, 2, quadrantRows(2, 2));
    ASSERT_NE(image, nullptr);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    uploadTexture(image);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 1);
    const Bytes texels = boundTextureImage(2, 2);
    const Bytes expected = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    EXPECT_EQ(texels, expected);
}

// A 30 x 20 image (padded rows, scaled to a power of two on upload) drawn over the whole
// window: upright, in its own colours.
TEST_F(TextureAndModel, ATexturedQuadShowsTheImageUprightInItsColours) {
    TextureImage* image = loadImage("quadrants.bmp", 30, 20, quadrantRows(30, 20));
    ASSERT_NE(image, nullptr);
    uploadTexture(image);
    unitSquareView();
    drawTexturedWindow(image->texture);
    const struct {
        int x, y;
        Rgb colour;
    } samples[] = {{160, 120, {255, 0, 0}},
                   {480, 120, {0, 255, 0}},
                   {160, 360, {0, 0, 255}},
                   {480, 360, {255, 255, 255}},
                   {40, 40, {255, 0, 0}},
                   {600, 440, {255, 255, 255}}};
    for (const auto& s : samples) {
        const Rgb seen = readPixel(s.x, s.y);
        EXPECT_TRUE(near(seen, s.colour, 8))
            << "(" << s.x << ", " << s.y << ") is " << seen.r << " " << seen.g << " " << seen.b;
    }
    EXPECT_GT(FramePixels().count({255, 0, 0}, 8), viewWidth * viewHeight / 5);
}

// Frame 1 of the two-frame model, its first triangle only: (0,0,0), (1,0,0), (0,1,0) in
// the file, drawn as (0,0,0), (0,1,0), (1,0,0). Front faces run counter-clockwise, so it
// shows from -z and is culled from +z; lit from the viewer, its normal makes it bright
// exactly where it shows.
TEST_F(TextureAndModel, AFrameShowsWhereItsVerticesAreFacingTheWayItsNormalsPoint) {
    writeSkin("skin.bmp", 8, 8);
    writeFile("model.md2", withI32(twoFrameModel(), md2TriangleCountAt, 1));
    Md2Model* model = loadMd2Model("model.md2", "skin.bmp");
    ASSERT_NE(model, nullptr);
    ASSERT_NE(model->skin->texture, 0u);

    // 160 pixels a unit, the origin at the window's centre.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -1.5, 1.5, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat towardsViewer[4] = {0, 0, 1, 0};
    const GLfloat white[4] = {1, 1, 1, 1};
    const GLfloat none[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, towardsViewer);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);

    const int triangleArea = 160 * 160 / 2;
    drawMd2Frame(model, 1);  // seen from +z: its back
    EXPECT_EQ(FramePixels().count({0, 0, 0}, 0), viewWidth * viewHeight);

    glRotatef(180, 0, 1, 0);  // seen from -z: x runs the other way
    drawMd2Frame(model, 1);
    EXPECT_NEAR(FramePixels().count({255, 255, 255}, 3), triangleArea, triangleArea * 0.03);
    EXPECT_TRUE(near(readPixel(320 - 40, 240 + 40), {255, 255, 255}, 3));
    EXPECT_TRUE(near(readPixel(320 + 40, 240 + 40), {0, 0, 0}, 0));

    // Unculled from +z it shows, but its normal points away from the light.
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    drawMd2Frame(model, 1);
    EXPECT_EQ(FramePixels().count({0, 0, 0}, 0), viewWidth * viewHeight);
    glDisable(GL_LIGHTING);
    glClear(GL_COLOR_BUFFER_BIT);
    drawMd2Frame(model, 1);
    EXPECT_NEAR(FramePixels().count({255, 255, 255}, 3), triangleArea, triangleArea * 0.03);
    EXPECT_TRUE(near(readPixel(320 + 40, 240 + 40), {255, 255, 255}, 3));

    // Frames the model lacks draw nothing.
    glClear(GL_COLOR_BUFFER_BIT);
    drawMd2Frame(model, 2);
    drawMd2Frame(model, -1);
    EXPECT_EQ(FramePixels().count({0, 0, 0}, 0), viewWidth * viewHeight);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    std::free(model->skin->pixels);
    delete model->skin;
    freeMd2Model(model);
}

// A real model, compiled into a display list as the start-up does and drawn flat from the
// front: its outline fills the extents its README gives for frame 0 (Quake axes, z up; seen
// here along y), and its skin is a texture of the skin image's size.
TEST_F(TextureAndModel, ARealModelCoversItsKnownExtentsOnScreen) {
    SKIP_WITHOUT_SHARED_TEST_DATA();
    const std::string md2 = sharedTestDataDir() + "/md2/";
    fs::copy_file(md2 + "derived/sydney-skin24.bmp", "sydney.bmp");
    Md2Model* model = loadMd2Model((md2 + "assimp/sydney.md2").c_str(), "sydney.bmp");
    ASSERT_NE(model, nullptr);
    GLint skinWidth = 0;
    glBindTexture(GL_TEXTURE_2D, model->skin->texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &skinWidth);
    EXPECT_GT(skinWidth, 0);

    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    drawMd2Frame(model, 0);
    glEndList();

    // 8 pixels a unit, the origin at (320, 200); looking along +y, z up.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-40, 40, -25, 35, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(-90, 1, 0, 0);
    glEnable(GL_DEPTH_TEST);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glCallList(list);

    const PixelRegion lit = FramePixels().find([](Rgb c) { return c.r > 128; });
    // x from -7.73 to 5.50 and z from -24.01 to 30.94, within a pixel.
    EXPECT_NEAR(lit.minX, 320 - 7.73 * 8, 1.5);
    EXPECT_NEAR(lit.maxX, 320 + 5.50 * 8, 1.5);
    EXPECT_NEAR(lit.minY, 200 - 24.01 * 8, 1.5);
    EXPECT_NEAR(lit.maxY, 200 + 30.94 * 8, 1.5);
    EXPECT_GT(lit.count, 2000);

    std::free(model->skin->pixels);
    delete model->skin;
    freeMd2Model(model);
}
