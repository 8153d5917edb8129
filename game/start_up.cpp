// start_up.cpp - the game's start-up: the save file, the OpenGL state every frame relies
// on, the models, font and images, the display lists and the first track.
//
// The order of the steps is fixed: the font must make the first display lists of the
// context (fontBase 1, which printNumber relies on), the four later lists follow it as
// 257 to 260, and the random draws (fireballs, wind streaks, boulders) follow the seed
// the last car constructor left, so every run starts the same.
#include "start_up.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bitmap.h"
#include "file_system.h"
#include "md2_model.h"
#include "outline_text.h"
#include "save_file.h"
#include "world.h"

namespace {

const char* const carModelFile = "models\\ogro\\tris.md2";
const char* const ballModelFile = "models\\ogro\\ball.md2";
const char* const modelSkinFile = "sky.bmp";
const char* const checkerFile = "checker.bmp";

// The game cannot run without its models and the start-line texture; it says which file
// it missed instead of drawing with nothing.
bool reportMissingFile(const char* name) {
    std::string text = "Korvalinth cannot read the data file \"";
    text += name;
    text += "\".\nThe game must be started in its data folder.";
    MessageBoxA(nullptr, text.c_str(), "Korvalinth: missing data file", MB_OK);
    return false;
}

bool fileOpens(const char* name) {
    std::FILE* file = openDataFile(name, "rb");
    if (!file) return false;
    std::fclose(file);
    return true;
}

// A model load fails for its own file or for its skin; names the one at fault.
const char* failedModelFile(const char* model, const char* skin) {
    if (!fileOpens(model)) return model;
    BITMAPINFOHEADER header;
    unsigned char* pixels = loadBitmapFile(skin, &header);
    if (!pixels) return skin;
    std::free(pixels);
    return model;
}

void compileDriftPoint() {
    // Point 6 repeats the place of point 4: the streak shows five points.
    glNewList(driftPointList, GL_COMPILE);
    glBegin(GL_POINTS);
    glColor3f(1, 0, 0);
    glVertex3f(0, 0, 0);
    glColor3f(0.7f, 1, 0);
    glVertex3f(0, 0, -1);
    glColor3f(1, 1, 0);
    glVertex3f(0, 0, -2);
    glColor3f(0, 1, 0);
    glVertex3f(0, 0, -3);
    glColor3f(0, 0.5f, 1);
    glVertex3f(0, 0, -4);
    glColor3f(0, 0, 1);
    glVertex3f(0, 0, -3);
    glEnd();
    glEndList();
}

void compileModelFrame(GLuint list, const Md2Model* model) {
    glNewList(list, GL_COMPILE);
    drawMd2Frame(model, 1);
    glEndList();
}

}  // namespace

bool initGame() {
    // Before any save of the run: a save beyond the file-size limit fails as on a full
    // disk, and the old save stays, where the limit's signal would end the game.
    failWritesBeyondTheSizeLimit();
    trackLevel = 1;
    readSaveFile(9);
    // Only tracks 1 to 4 exist; a level beyond them starts on the nearest one, so the
    // first build always has walls, an outline and a track scale to place boulders by.
    if (trackLevel < 1) trackLevel = 1;
    if (trackLevel > 4) trackLevel = 4;
    wallCount = 1;

    glClearColor(0, 0, 0, 0);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_COLOR_MATERIAL);

    // Fireball origins are world units on every track, never scaled.
    bursts[0].start(Vector3(310, 0, -15));
    bursts[1].start(Vector3(380, 0, -200));
    bursts[2].start(Vector3(40, 0, -215));
    bursts[3].start(Vector3(40, 0, -225));

    // The first frame's time covers the rest of the start-up.
    frameTimer = new Timer;
    frameTimer->init();

    // Models load their skins as textures, not display lists, so a failure here still
    // leaves the font's lists the first of the context.
    carModel = loadMd2Model(carModelFile, modelSkinFile);
    if (!carModel) return reportMissingFile(failedModelFile(carModelFile, modelSkinFile));
    ballModel = loadMd2Model(ballModelFile, modelSkinFile);
    if (!ballModel) return reportMissingFile(failedModelFile(ballModelFile, modelSkinFile));

    // GL_FOG_MODE stays GL_EXP: start and end are set but play no part.
    static const GLfloat fogColor[4] = {0, 0, 0, 0};
    glEnable(GL_FOG);
    glFogf(GL_FOG_START, 100);
    glFogf(GL_FOG_END, 1000);
    glFogf(GL_FOG_DENSITY, 0.001f);
    glFogfv(GL_FOG_COLOR, fogColor);

    fontBase = createOutlineFont("Arial", 4, 1.0f);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    // Optional: without it the minimap shows no markers.
    mapPixels = loadBitmapFile("map.bmp", &bitmapInfo);

    // An RGB image: uploadTexture's steps are the start-line texture's set-up, and they
    // leave it bound; texturing itself stays off until the start line is drawn.
    checkerTexture = loadTextureFile(checkerFile);
    if (!checkerTexture) return reportMissingFile(checkerFile);
    uploadTexture(checkerTexture);

    playerCar.computerDriven = false;
    glPointSize(1.0f);
    driftField.randomize();

    postList = glGenLists(1);
    carModelList = glGenLists(1);
    ballModelList = glGenLists(1);
    driftPointList = glGenLists(1);
    quadric = gluNewQuadric();

    buildTrackBlock();

    // The first race's opponents; their first reset draws new cruise speeds.
    otherCars[0].aiCruiseSpeed = 4.0f;
    otherCars[3].aiCruiseSpeed = 2.9f;
    otherCars[2].aiCruiseSpeed = 1.8f;
    otherCars[1].aiCruiseSpeed = 0.6f;

    shownPlace = 5;
    placeFlashTimer = 0;

    openOutlineStreams();
    readTrackOutline();
    buildPosts();

    // The spare car is parked off every track; it keeps x 90 from its grid slot.
    otherCars[4].position.z = -1000;

    const Vector3& p = playerCar.position;
    const Vector3& d = playerCar.direction;
    cameraPosition = Vector3(p.x - 5 * d.x, p.y + 5, p.z - 5 * d.z);

    compileDriftPoint();
    compileModelFrame(carModelList, carModel);
    compileModelFrame(ballModelList, ballModel);

    placeBoulders();
    raceCountdown = 10.0f;   // the first race waits longer than those after it

    glEnable(GL_DEPTH_TEST);
    glFrontFace(GL_CCW);
    closeOutlineStreams();
    return true;
}
