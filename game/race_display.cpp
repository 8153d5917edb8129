// race_display.cpp - the drawing steps of the race frame: the minimap of pixel blocks,
// the race projection and the HUD, the shield bar, the start line, each track's scenery,
// the stencil-masked reflections, the walls and posts, and the end of the frame (the paced swap).
//
// Lighting stays off: every colour is the current colour. Blending, the depth test and
// fog stay on as the start-up left them.
#include "race_display.h"

#include "frame_pacing.h"
#include "outline_text.h"
#include "window_procedure.h"
#include "world.h"

float sceneryScale() { return trackScale > 0 ? trackScale : 1.0f; }

namespace {

// A block reads size rows of size RGB pixels from the start of the map's buffer, each
// row padded to 4 bytes; the loader's biSizeImage says how many bytes the buffer holds.
bool mapHoldsBlock(int size) {
    if (!mapPixels) return false;
    unsigned rowBytes = (unsigned(size) * 3 + 3) & ~3u;
    return bitmapInfo.biSizeImage >= rowBytes * unsigned(size);
}

// The map is turned: world x runs up the window, world z across it. A marker whose
// raster position would lie outside the window is not drawn (its position would be
// invalid); the test is made on the float so that no out-of-range value is converted.
void drawMarker(const Vector3& at, int size) {
    float s = sceneryScale();
    float fx = at.z / s + float(mapOffset);
    float fy = at.x / s + float(mapOffset);
    if (!(fx > -1.0f && fx < float(screenWidth) && fy > -1.0f && fy < float(screenHeight)))
        return;
    glRasterPos2i(int(fx), int(fy));
    drawPixels(size, size, mapPixels);
}

void drawPool(float s) {
    gluDisk(quadric, 0, 50, 10, 10);
    glTranslatef(400 / s, 0, 0);
    gluDisk(quadric, 0, 50, 10, 10);
    glTranslatef(0, -400 / s, 0);
    gluDisk(quadric, 0, 50, 10, 10);
}

void groundQuad(float x, float z) {
    glBegin(GL_QUADS);
    glVertex3f(0, 0, 0);
    glVertex3f(x, 0, 0);
    glVertex3f(x, 0, z);
    glVertex3f(0, 0, z);
    glEnd();
}

void skyPlane(float y) {
    glBegin(GL_QUADS);
    glVertex3f(-5000, y, -10000);
    glVertex3f(-5000, y, 5000);
    glVertex3f(10000, y, 5000);
    glVertex3f(10000, y, -10000);
    glEnd();
}

int postCountOf(const TrackWall& wall) { return wall.postCount < 250 ? wall.postCount : 250; }

}  // namespace

void drawMinimap() {
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, screenWidth - 1, 0, screenHeight - 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glLoadIdentity();

    if (mapHoldsBlock(6)) drawMarker(playerCar.position, 6);
    if (mapHoldsBlock(4))
        for (int j = 0; j < 4; ++j) drawMarker(otherCars[j].position, 4);
    if (mapHoldsBlock(1))
        for (int w = 1; w < 30; ++w)
            for (int u = 1; u < postCountOf(trackWalls[w]); ++u) drawMarker(trackWalls[w].posts[u], 1);
}

// Glyph units scaled to 0.07 at eye depth 0: the extruded glyphs reach the near plane.
void beginRaceView() {
    double aspect = screenHeight > 0 ? double(screenWidth) / double(screenHeight) : 1.0;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, aspect, 1, 500);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
    glScalef(0.07f, 0.07f, 1);
    glTranslatef(-8, 6, 0);
}

// Each string starts where the one before ended: printCentred leaves its centring and
// the glyph advances in the matrix. The gauge's rotations add up the same way.
void drawHud() {
    glColor3f(1, 1, 0);
    printCentred(fontBase, "(Place) ");
    glColor3f(0, 1, 0);
    printNumber(float(playerCar.place));

    glTranslatef(-2.2f, -1, 0);
    glColor3f(1, 1, 0);
    printCentred(fontBase, "(Lap) ");
    glColor3f(0, 1, 0);
    printNumber(float(playerCar.lap));

    glTranslatef(-1.5f, -1, 0);
    glColor3f(1, 1, 0);
    printCentred(fontBase, " (fps) ");
    glTranslatef(1, 0, 0);
    glColor3f(0, 1, 0);
    printNumber(frameTimer ? frameTimer->ratePerSecond(1) : 0.0f);

    glPushMatrix();
    glTranslatef(-2, -1, 0);
    printNumber(playerCar.velocity.length() * 1000);   // world units per frame, x 1000
    glTranslatef(1, 0, 0);
    glColor3f(1, 1, 0);
    printCentred(fontBase, " kph");
    glPopMatrix();

    glTranslatef(3.5f, 1.8f, 0);
    printCentred(fontBase, "(Shield)");

    glTranslatef(-8, -12, 0);
    int glyphs = int(playerCar.thrust * 2.35f);
    for (int i = 0; i < glyphs; ++i) {
        // Glyph 10 sets no colour and keeps the black of glyph 9.
        if (i < 10) glColor3f(0, 0, 0);
        else if (i > 10 && i <= 50) glColor3f(0, 1, 0);
        else if (i > 50 && i <= 90) glColor3f(0, 0, 1);
        else if (i > 90) glColor3f(1, 0, 0);
        glRotatef(360.0f - float(i) / 100.0f, 1, 0, 0);
        printCentred(fontBase, "|");
    }

    glPopMatrix();
    glColor3f(1, 1, 1);
}

// On the near plane, right of the view's centre line, near the top; 0.6 wide when full.
void drawShieldBar() {
    if (playerCar.shield > 0) {
        if (playerCar.hitThisFrame) glColor3f(1, 0, 0);
        else glColor3f(0, 1, 0);
        float w = playerCar.shield / 100 * 0.6f;
        glBegin(GL_QUADS);
        glVertex3f(0, 0.45f, -1);
        glVertex3f(w, 0.45f, -1);
        glVertex3f(w, 0.41f, -1);
        glVertex3f(0, 0.41f, -1);
        glEnd();
    }
    glColor3f(1, 1, 1);
}

// The line sits at x 100 to 110 on every track, unscaled, just ahead of the grid.
void drawStartLine() {
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_2D);
    if (checkerTexture) glBindTexture(GL_TEXTURE_2D, checkerTexture->texture);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(100, 0.01f, -30);
    glTexCoord2f(2, 0);
    glVertex3f(100, 0.01f, 0);
    glTexCoord2f(2, 10);
    glVertex3f(110, 0.01f, 0);
    glTexCoord2f(0, 10);
    glVertex3f(110, 0.01f, -30);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

// The opaque grounds of the wind and earth tracks hide the mirrored racers drawn later
// below them; the water track's pools and the fire ground are drawn after the mirror pass.
void drawTrackScenery() {
    float s = sceneryScale();
    switch (trackLevel) {
    case 1:
        glPushMatrix();
        glColor3f(0, 0, 1);
        skyPlane(-50);
        skyPlane(50);
        glPopMatrix();
        glPushMatrix();
        glColor4f(0.6f, 0.1f, 0.3f, 1);
        groundQuad(450, -150);
        glPopMatrix();
        break;
    case 2:
        glColor4f(0.4f, 0.9f, 0.4f, 0.9f);
        glPushMatrix();
        groundQuad(1400 / s, -600 / s);
        glPopMatrix();
        break;
    default:
        break;
    }
}

// The water track marks its three pools in the stencil buffer without drawing them; the
// racers are then mirrored below the ground on every track, masked only where the
// stencil test is on.
void drawPoolMarksAndMirror() {
    float s = sceneryScale();
    if (trackLevel == 3) {
        glPushMatrix();
        glTranslatef(800 / s, 0, -100 / s);
        glDisable(GL_DEPTH_TEST);
        glRotatef(90, 1, 0, 0);
        glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
        glStencilFunc(GL_ALWAYS, 1, 1);
        glEnable(GL_STENCIL_TEST);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        drawPool(s);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glEnable(GL_DEPTH_TEST);
        glPopMatrix();
    }
    glStencilFunc(GL_EQUAL, 1, 1);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glEnable(GL_CULL_FACE);
    glPushMatrix();
    glScalef(1, -1, 1);
    for (int j = 0; j < 4; ++j) otherCars[j].draw();
    playerCar.draw();
    glPopMatrix();
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_CULL_FACE);
}

// Drawn over the reflections, translucent, so they show through inside the pools.
void drawWaterAndPools() {
    float s = sceneryScale();
    glColor4f(0.2f, 0.3f, 0.8f, 0.4f);
    glPushMatrix();
    groundQuad(1700 / s, -600 / s);
    glColor4f(0, 0, 1, 0.4f);
    glPushMatrix();
    glTranslatef(800 / s, 0, -100 / s);
    glRotatef(90, 1, 0, 0);
    glDisable(GL_DEPTH_TEST);
    drawPool(s);
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
    glPopMatrix();
}

// Translucent, over the mirrored racers, which show through it as reflections.
void drawFireGround() {
    float s = sceneryScale();
    glColor4f(0.5f, 0.3f, 0.3f, 0.4f);
    glPushMatrix();
    groundQuad(1400 / s, -900 / s);
    glPopMatrix();
}

// Unused wall slots hold their corners at the origin and draw nothing visible. On
// tracks 2 to 4 the post list sets its own colour over the distance colour.
void drawWallsAndPosts() {
    for (int w = 0; w < 30; ++w) trackWalls[w].draw();
    glColor3f(1, 1, 1);
    for (int w = 1; w < 30; ++w) {
        const TrackWall& wall = trackWalls[w];
        for (int u = 1; u < postCountOf(wall); ++u) {
            const Vector3& post = wall.posts[u];
            glPushMatrix();
            glTranslatef(post.x, post.y + 1, post.z);
            if (horizontalDistance(playerCar.position, post) < 10.0) glColor4f(0, 1, 0, 0.5f);
            else glColor4f(0, 0, 1, 0.6f);
            glCallList(postList);
            glPopMatrix();
        }
    }
}

void drawWindStreaks() {
    driftField.animate();
    glColor4f(1, 1, 1, 1);
}

void endRaceFrame() { presentFrame(); }
