// md2_model_test.cpp - loading and drawing MD2 models without a window: a two-frame model
// made here and the shared test files other people wrote (skipped where a clone has none
// beside it). The upload and drawing calls go to a recorder (recording_gl.h).

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "loader_fixtures.h"
#include "md2_model.h"
#include "odd_paths.h"
#include "recording_gl.h"
#include "test_paths.h"

namespace fs = std::filesystem;

namespace {

// Everything loadMd2Model allocates, skin included.
void release(Md2Model* model) {
    if (!model) return;
    if (model->skin) {
        std::free(model->skin->pixels);
        delete model->skin;
    }
    freeMd2Model(model);
}

Md2Model* loadBytes(const Bytes& file, const char* skin = "skin.bmp") {
    writeFile("model.md2", file);
    return loadMd2Model("model.md2", skin);
}

void expectVertex(const RecordedVertex& v, const Vector3& p) {
    EXPECT_EQ(v.x, p.x);
    EXPECT_EQ(v.y, p.y);
    EXPECT_EQ(v.z, p.z);
}

class Md2ModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        freshWorkDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        writeSkin("skin.bmp", 256, 128);
        recordedGl = RecordingGl();
    }
};

}  // namespace

TEST_F(Md2ModelTest, LoadsCountsAndDecodesEveryFrame) {
    Md2Model* model = loadBytes(twoFrameModel());
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->frameCount, 2);
    EXPECT_EQ(model->verticesPerFrame, 4);
    EXPECT_EQ(model->triangleCount, 2);
    EXPECT_EQ(model->texCoordCount, 3);
    EXPECT_EQ(model->frameSize, 56);
    for (int f = 0; f < 2; ++f)
        for (int j = 0; j < 4; ++j) {
            SCOPED_TRACE("frame " + std::to_string(f) + " vertex " + std::to_string(j));
            const Vector3& v = model->vertices[f * 4 + j];
            EXPECT_EQ(v.x, fixtureVertices[f][j][0] * fixtureScale[f][0] + fixtureTranslate[f][0]);
            EXPECT_EQ(v.y, fixtureVertices[f][j][1] * fixtureScale[f][1] + fixtureTranslate[f][1]);
            EXPECT_EQ(v.z, fixtureVertices[f][j][2] * fixtureScale[f][2] + fixtureTranslate[f][2]);
        }
    EXPECT_EQ(model->vertices[0].x, 117.5f);  // byte 255, scale 0.5, translate -10
    EXPECT_EQ(model->vertices[2].z, 515.0f);  // axes kept as in the file

    // Skin-relative, from the 256 x 128 skin, not the header's 1 x 1.
    EXPECT_EQ(model->texCoords[0].u, 0.25f);
    EXPECT_EQ(model->texCoords[0].v, -0.25f);
    EXPECT_EQ(model->texCoords[2].u, 1.0f);
    EXPECT_EQ(model->texCoords[2].v, 1.0f);
    for (int t = 0; t < 2; ++t)
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(model->triangles[t].vertexIndex[k], fixtureTriangles[t][k]);
            EXPECT_EQ(model->triangles[t].texCoordIndex[k], fixtureTriangles[t][3 + k]);
        }

    ASSERT_NE(model->skin, nullptr);
    EXPECT_EQ(model->skin->width, 256);
    EXPECT_EQ(model->skin->height, 128);
    ASSERT_EQ(recordedGl.uploads.size(), 1u);
    EXPECT_NE(model->skin->texture, 0u);
    EXPECT_EQ(recordedGl.uploads[0].texture, model->skin->texture);
    EXPECT_EQ(recordedGl.uploads[0].width, 256);
    EXPECT_EQ(recordedGl.uploads[0].format, GLenum(GL_RGB));
    release(model);
}

TEST_F(Md2ModelTest, FieldsTheLoaderDoesNotReadMayHoldAnything) {
    const Bytes good = twoFrameModel();
    Bytes otherMagic = good;
    std::memcpy(otherMagic.data(), "IDP3", 4);
    Bytes namesUnterminated = good;
    std::memset(namesUnterminated.data() + fixtureFramesAt + 24, 'B', 16);
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"magic IDP3", otherMagic},       {"magic 0", withI32(good, md2MagicAt, 0)},
        {"version 7", withI32(good, md2VersionAt, 7)}, {"version -1", withI32(good, md2VersionAt, -1)},
        {"skin size 0 x 0", withI32(withI32(good, md2SkinWidthAt, 0), md2SkinHeightAt, 0)},
        {"skin count -5", withI32(good, md2SkinCountAt, -5)},
        {"skins past the end", withI32(good, md2SkinsOffsetAt, 0x7FFFFFF0)},
        {"command count huge", withI32(good, md2CommandCountAt, 0x7FFFFFFF)},
        {"commands at -8", withI32(good, md2CommandOffsetAt, -8)},
        {"end at 0", withI32(good, md2EndOffsetAt, 0)},
        {"frame name unterminated", namesUnterminated},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Md2Model* model = loadBytes(c.file);
        ASSERT_NE(model, nullptr);
        EXPECT_EQ(model->texCoords[0].u, 0.25f);
        EXPECT_EQ(model->vertices[0].x, 117.5f);
        release(model);
    }
}

// Every count, offset and index that would lead outside the file or the vertex array.
TEST_F(Md2ModelTest, RefusesFilesWhoseCountsOffsetsOrIndicesRunPastTheirData) {
    const Bytes good = twoFrameModel();
    const int32_t end = int32_t(fixtureModelBytes);
    Bytes cutInFrames = good;
    cutInFrames.resize(fixtureModelBytes - 1);
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"empty file", {}},
        {"cut in the header", Bytes(good.begin(), good.begin() + 40)},
        {"header only", Bytes(good.begin(), good.begin() + 68)},
        {"cut in the last frame", cutInFrames},
        {"frame count -1", withI32(good, md2FrameCountAt, -1)},
        {"frame count 3", withI32(good, md2FrameCountAt, 3)},
        {"frame count huge", withI32(good, md2FrameCountAt, 0x7FFFFFFF)},
        {"vertices -1", withI32(good, md2VerticesAt, -1)},
        {"vertices 5 (frames too small)", withI32(good, md2VerticesAt, 5)},
        {"vertices huge", withI32(good, md2VerticesAt, 16777216)},
        {"frame size 55", withI32(good, md2FrameSizeAt, 55)},
        {"frame size 40", withI32(good, md2FrameSizeAt, 40)},
        {"frame size -56", withI32(good, md2FrameSizeAt, -56)},
        {"frame size huge", withI32(good, md2FrameSizeAt, 0x7FFFFFFF)},
        {"triangle count -1", withI32(good, md2TriangleCountAt, -1)},
        {"triangle count past the end", withI32(good, md2TriangleCountAt, 12)},
        {"texture coordinate count -1", withI32(good, md2TexCoordCountAt, -1)},
        {"texture coordinate count past the end", withI32(good, md2TexCoordCountAt, 40)},
        {"texture coordinates at -4", withI32(good, md2TexCoordOffsetAt, -4)},
        {"texture coordinates at the end", withI32(good, md2TexCoordOffsetAt, end)},
        {"triangles at -8", withI32(good, md2TriangleOffsetAt, -8)},
        {"triangles wrapping 32 bits", withI32(good, md2TriangleOffsetAt, 0x7FFFFFF0)},
        {"frames at -1", withI32(good, md2FrameOffsetAt, -1)},
        {"frames running past the end", withI32(good, md2FrameOffsetAt, int32_t(fixtureFramesAt + 1))},
        {"frames wrapping 32 bits", withI32(good, md2FrameOffsetAt, 0x7FFFFFF0)},
        {"vertex index 4 of 4", withU16(good, fixtureTrianglesAt + 12 + 4, 4)},
        {"vertex index 65535", withU16(good, fixtureTrianglesAt, 65535)},
        {"texture coordinate index 3 of 3", withU16(good, fixtureTrianglesAt + 6, 3)},
        {"texture coordinate index 65535", withU16(good, fixtureTrianglesAt + 12 + 10, 65535)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Md2Model* model = loadBytes(c.file);
        EXPECT_EQ(model, nullptr);
        release(model);
    }
    EXPECT_TRUE(recordedGl.uploads.empty());  // refused before the skin was touched

    Bytes huge = good;
    huge.resize(size_t(17) << 20);  // far beyond any model: not read in
    EXPECT_EQ(loadBytes(huge), nullptr);
}

TEST_F(Md2ModelTest, NeedsAModelFileAndABmpSkin) {
    writeFile("model.md2", twoFrameModel());
    writeSkin("paletted.bmp", 256, 128, 8);
    writeSkin("skin.Bmp", 256, 128);
    writeSkin("skin.png", 256, 128);
    EXPECT_EQ(loadMd2Model("missing.md2", "skin.bmp"), nullptr);
    EXPECT_EQ(loadMd2Model("model.md2", "missing.bmp"), nullptr);
    EXPECT_EQ(loadMd2Model("model.md2", "skin.Bmp"), nullptr);
    EXPECT_EQ(loadMd2Model("model.md2", "skin.png"), nullptr);
    EXPECT_EQ(loadMd2Model("model.md2", "paletted.bmp"), nullptr);
    Md2Model* model = loadMd2Model("model.md2", "skin.bmp");
    EXPECT_NE(model, nullptr);
    release(model);
}

// A pipe would hold the open until something wrote to it; a folder or a device is no
// data file. Each is missing to the loader, for the model and for its skin.
TEST_F(Md2ModelTest, APipeAFolderOrADeviceIsNeitherAModelNorASkin) {
    writeFile("model.md2", twoFrameModel());
    const OddPaths odd = makeOddPaths(".md2");
    ASSERT_TRUE(odd.made);
    const OddPaths oddSkins = makeOddPaths(".bmp");
    ASSERT_TRUE(oddSkins.made);
    const HangGuard guard;
    for (const std::string& name : odd.names)
        EXPECT_EQ(loadMd2Model(name.c_str(), "skin.bmp"), nullptr) << name;
    EXPECT_EQ(loadMd2Model("model.md2", oddSkins.names[0].c_str()), nullptr);
}

TEST_F(Md2ModelTest, DrawsAFrameWithTheSecondAndThirdCornersExchanged) {
    Md2Model* model = loadBytes(twoFrameModel());
    ASSERT_NE(model, nullptr);
    drawMd2Frame(model, 1);
    EXPECT_EQ(recordedGl.begins, 1);
    EXPECT_EQ(recordedGl.ends, 1);
    EXPECT_EQ(recordedGl.mode, GLenum(GL_TRIANGLES));
    ASSERT_EQ(recordedGl.vertices.size(), 6u);
    const Vector3* frame1 = model->vertices + 4;
    const int issued[6] = {0, 2, 1, 0, 3, 2};  // triangles (0, 1, 2) and (0, 2, 3)
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        expectVertex(recordedGl.vertices[i], frame1[issued[i]]);
    }
    // (0,0,0), (0,1,0), (1,0,0) run counter-clockwise seen from -z.
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(recordedGl.vertices[i].nx, 0);
        EXPECT_FLOAT_EQ(recordedGl.vertices[i].ny, 0);
        EXPECT_FLOAT_EQ(recordedGl.vertices[i].nz, -1);
    }
    // (0,0,0), (3,3,3), (0,1,0): unit((a - b) x (a - c)) = (-1, 0, 1) / sqrt 2.
    EXPECT_FLOAT_EQ(recordedGl.vertices[3].nx, -std::sqrt(0.5f));
    EXPECT_FLOAT_EQ(recordedGl.vertices[3].ny, 0);
    EXPECT_FLOAT_EQ(recordedGl.vertices[3].nz, std::sqrt(0.5f));

    recordedGl.vertices.clear();
    drawMd2Frame(model, 0);
    ASSERT_EQ(recordedGl.vertices.size(), 6u);
    expectVertex(recordedGl.vertices[1], model->vertices[2]);
    release(model);
}

TEST_F(Md2ModelTest, AFrameTheModelDoesNotHaveDrawsNothing) {
    Md2Model* model = loadBytes(twoFrameModel());
    ASSERT_NE(model, nullptr);
    for (int frame : {-1, 2, 1000, INT32_MIN, INT32_MAX}) drawMd2Frame(model, frame);
    drawMd2Frame(nullptr, 0);
    release(model);

    Md2Model* empty = loadBytes(withI32(twoFrameModel(), md2FrameCountAt, 0));
    ASSERT_NE(empty, nullptr);  // nothing to draw, but nothing unsafe either
    EXPECT_EQ(empty->frameCount, 0);
    drawMd2Frame(empty, 0);
    release(empty);
    EXPECT_EQ(recordedGl.begins, 0);
    EXPECT_TRUE(recordedGl.vertices.empty());
}

TEST(EmitTriangleNormal, GivesTheUnitNormalOrNonFiniteForADegenerateTriangle) {
    recordedGl = RecordingGl();
    const Vector3 a(0, 0, 0), b(2, 0, 0), c(0, 3, 0);
    emitTriangleNormal(&a, &b, &c);  // (a - b) x (a - c) = (-2,0,0) x (0,-3,0) = (0,0,6)
    EXPECT_EQ(recordedGl.normal[0], 0);
    EXPECT_EQ(recordedGl.normal[1], 0);
    EXPECT_EQ(recordedGl.normal[2], 1);
    emitTriangleNormal(&a, &a, &c);
    EXPECT_FALSE(std::isfinite(recordedGl.normal[0]));
    EXPECT_FALSE(std::isfinite(recordedGl.normal[1]));
    EXPECT_FALSE(std::isfinite(recordedGl.normal[2]));
}

// ---- files other people wrote ----------------------------------------------------------------

namespace {

// Draws every frame (AddressSanitizer watches the vertex reads) and checks the invariant
// that makes that safe.
void drawEveryFrame(const Md2Model* model) {
    for (int f = 0; f < model->frameCount; ++f) {
        recordedGl.vertices.clear();
        drawMd2Frame(model, f);
        ASSERT_EQ(recordedGl.vertices.size(), size_t(model->triangleCount) * 3);
    }
    for (int t = 0; t < model->triangleCount; ++t)
        for (int k = 0; k < 3; ++k) {
            ASSERT_LT(model->triangles[t].vertexIndex[k], model->verticesPerFrame);
            ASSERT_LT(model->triangles[t].texCoordIndex[k], model->texCoordCount);
        }
}

struct Box {
    float low[3], high[3];
};

Box frameBox(const Md2Model* model, int frame) {
    Box box = {{1e30f, 1e30f, 1e30f}, {-1e30f, -1e30f, -1e30f}};
    for (int j = 0; j < model->verticesPerFrame; ++j) {
        const Vector3& v = model->vertices[frame * model->verticesPerFrame + j];
        const float p[3] = {v.x, v.y, v.z};
        for (int k = 0; k < 3; ++k) {
            box.low[k] = std::fmin(box.low[k], p[k]);
            box.high[k] = std::fmax(box.high[k], p[k]);
        }
    }
    return box;
}

}  // namespace

TEST(LoadMd2Model, SharedTestFilesGiveTheirExpectedOutcome) {
    SKIP_WITHOUT_SHARED_TEST_DATA();
    freshWorkDir("md2-shared");
    const std::string md2 = sharedTestDataDir() + "/md2/";
    // The reader takes the extension from the first '.' of the whole path, so the skins
    // are copied here under plain names.
    fs::copy_file(md2 + "derived/sydney-skin24.bmp", "sydney.bmp");
    fs::copy_file(md2 + "derived/faerie2-skin24.bmp", "faerie.bmp");
    const auto rows = readManifest(md2 + "manifest.tsv");
    ASSERT_GT(rows.size(), 15u) << "shared test files not found in " << md2;
    int loaded = 0;
    for (const auto& row : rows) {
        ASSERT_GE(row.size(), 2u);
        const std::string path = md2 + row[0], expect = row[1];
        SCOPED_TRACE(path + " expected " + expect);
        ASSERT_TRUE(fs::exists(path));
        recordedGl = RecordingGl();
        const bool faerie = row[0].find("faerie") != std::string::npos;
        Md2Model* model = loadMd2Model(path.c_str(), faerie ? "faerie.bmp" : "sydney.bmp");
        if (expect == "LOAD") {
            ASSERT_NE(model, nullptr);
            ASSERT_GE(row.size(), 13u);
            EXPECT_EQ(model->frameCount, std::stoi(row[4]));
            EXPECT_EQ(model->verticesPerFrame, std::stoi(row[5]));
            EXPECT_EQ(model->triangleCount, std::stoi(row[6]));
            EXPECT_EQ(model->texCoordCount, std::stoi(row[7]));
            EXPECT_EQ(model->frameSize, std::stoi(row[12]));
            EXPECT_EQ(model->skin->width, faerie ? 220 : 308);
            for (int i = 0; i < model->texCoordCount; ++i) {
                EXPECT_GE(model->texCoords[i].u, 0.0f);
                EXPECT_LE(model->texCoords[i].u, 1.0f);
            }
        } else if (expect == "REJECT") {
            EXPECT_EQ(model, nullptr);
        }
        if (model) {
            ++loaded;
            drawEveryFrame(model);
        }
        release(model);
    }
    EXPECT_GE(loaded, 9);
}

// Frame 0 of the two real models, against the extents their README gives: the decode of
// scale, translate and vertex bytes, on data nobody here wrote.
TEST(LoadMd2Model, RealModelsDecodeToTheirKnownExtents) {
    SKIP_WITHOUT_SHARED_TEST_DATA();
    freshWorkDir("md2-extents");
    const std::string md2 = sharedTestDataDir() + "/md2/";
    const struct {
        const char* model;
        const char* skin;
        Box box;
    } cases[] = {
        {"assimp/sydney.md2", "derived/sydney-skin24.bmp",
         {{-7.73f, -11.99f, -24.01f}, {5.50f, 10.10f, 30.94f}}},
        {"assimp/faerie.md2", "derived/faerie2-skin24.bmp",
         {{-16.81f, -14.13f, -24.53f}, {3.27f, 12.08f, 27.44f}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        fs::copy_file(md2 + c.skin, "skin.bmp", fs::copy_options::overwrite_existing);
        Md2Model* model = loadMd2Model((md2 + c.model).c_str(), "skin.bmp");
        ASSERT_NE(model, nullptr);
        const Box box = frameBox(model, 0);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(box.low[k], c.box.low[k], 0.006);
            EXPECT_NEAR(box.high[k], c.box.high[k], 0.006);
        }
        release(model);
    }
}

