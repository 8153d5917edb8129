// menus.cpp - the main menu and the car set-up screen with its four pages.
//
// Each call draws one whole frame, advances the screen's own animation values and runs
// down the key countdowns of its screen (and only of its screen). Text is laid out
// string after string: printCentred leaves the matrix at the end of what it printed, so
// every move that follows a string is made from that string's end.
#include "menus.h"

#include "frame_pacing.h"
#include "game_state.h"
#include "outline_text.h"
#include "shop_previews.h"
#include "window_procedure.h"
#include "world.h"

namespace {

// Shared opening of both screens: clear, projection, and a pushed identity modelview.
void beginMenuView() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(70.0, double(screenWidth) / double(screenHeight), 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
}

struct TrackLine {
    const char* name;
    float moveX, moveY;  // the move made before the line, from the previous line's end
    float r, g, b;       // colour once the track is reached
};

const TrackLine trackLines[4] = {
    {"Wind", 0, 0, 0, 0.1f, 0.4f},
    {"Earth", -1, -1, 0, 0.7f, 0.1f},
    {"Water", -1, -1, 0, 0.1f, 0.8f},
    {"Fire", -1.5f, -1, 1, 0.1f, 0.1f},
};

void drawTrackList() {
    if (trackLevel < 1 || trackLevel > 4) return;
    for (int k = 1; k <= 4; ++k) {
        const TrackLine& line = trackLines[k - 1];
        glTranslatef(line.moveX, line.moveY, 0);
        if (k <= trackLevel)
            glColor4f(line.r, line.g, line.b, 1);
        else
            glColor4f(0.4f, 0.4f, 0.4f, 1);
        printCentred(fontBase, line.name);
    }
}

// The selected item shows -2 x menuKeyTimer (clamped by OpenGL): black while Up or Down
// is held and for 0.1 s after, then brightening to white.
void drawMenuItems() {
    glTranslatef(-0.6f, -2, 0);
    float v = -2 * menuKeyTimer;
    if (menuSelection == 0) {
        glColor3f(v, v, v);
        printCentred(fontBase, "Setup Car");
        glTranslatef(-2, -1, 0);
        glColor3f(0.2f, 0.2f, 0.2f);
        printCentred(fontBase, "Begin Race");
    }
    menuKeyTimer -= frameTime;
    if (menuSelection == 1) {
        v = -2 * menuKeyTimer;
        glColor3f(0.2f, 0.2f, 0.2f);
        printCentred(fontBase, "Setup Car");
        glTranslatef(-2, -1, 0);
        glColor3f(v, v, v);
        printCentred(fontBase, "Begin Race");
    }
}

struct PageLabel {
    const char* text;
    float x, y;
};

const PageLabel pageLabels[4] = {
    {"Color", -7.5f, 4},
    {"Engine(A to use)", -5.2f, 3},
    {"Boost(Z to use)", -5.4f, 2},
    {"Grav Tires(left or right)", -4, 1},
};

void drawPageLabels() {
    for (int page = 1; page <= 4; ++page) {
        const PageLabel& label = pageLabels[page - 1];
        glPushMatrix();
        glTranslatef(label.x, label.y, 0);
        glScalef(1, 1, 0.1f);
        if (gameState == page)
            glColor4f(1, 0, 0, 0.6f);
        else
            glColor3f(0, 1, 0);
        printCentred(fontBase, label.text);
        glPopMatrix();
    }
}

void drawMoney() {
    glPushMatrix();
    glTranslatef(2, -1, 0);
    glScalef(1, 1, 0.1f);
    glColor3f(1, 1, 0);
    printCentred(fontBase, "$");
    glTranslatef(1, 0, 0);
    printNumber(float(money));
    glPopMatrix();
}

// Three rows of 255 "|" glyphs, one per slider step of a channel; the glyph that the
// slider stands on is white. The comparisons are exact: the slider holds whole numbers.
void drawColorRows() {
    for (int row = 0; row < 3; ++row) {
        float y = -2.0f - float(row);
        float offset = 255.0f * float(row);
        for (float c = 0; c < 255; c += 1) {
            glPushMatrix();
            glTranslatef(c / 25 - 6.4f, y, 0);
            glScalef(1, 1, 0.1f);
            if (c == colorSlider - offset)
                glColor3f(1, 1, 1);
            else if (row == 0)
                glColor3f(c / 255, 0, 0);
            else if (row == 1)
                glColor3f(0, c / 255, 0);
            else
                glColor3f(0, 0, c / 255);
            printCentred(fontBase, "|");
            glPopMatrix();
        }
    }
}

// 765 is reachable but is no colour: the car keeps the one it had.
void applyColorRamp() {
    float s = colorSlider;
    if (s < 255)
        playerCar.color = Vector3(s / 255, 0, 0);
    else if (s < 510)
        playerCar.color = Vector3(0, (s - 255) / 255, 0);
    else if (s < 765)
        playerCar.color = Vector3(0, 0, (s - 510) / 255);
}

void runSetupCountdowns() {
    pageKeyTimer -= frameTime;
    colorKeyTimer -= frameTime;
    engineKeyTimer -= frameTime;
    boostKeyTimer -= frameTime;
    tireKeyTimer -= frameTime;
    buyKeyTimer -= frameTime;
}

}  // namespace

void drawMainMenu() {
    beginMenuView();
    menuSpin += 80 * frameTime;

    glTranslatef(0, 20, -40);
    glRotatef(menuSpin, 0, 1, 1);
    glDisable(GL_TEXTURE_2D);
    glColor4f(playerCar.color.x, playerCar.color.y, playerCar.color.z, 0.4f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glCallList(carModelList);
    glPopMatrix();
    glPushMatrix();

    glTranslatef(0, 1, -10);
    glScalef(1, 1, 0.1f);
    drawTrackList();

    // No colour of their own: they take the last one set, the "Fire" line's.
    glPushMatrix();
    glTranslatef(-0.5f, -5, 0);
    printCentred(fontBase, "Press P to reset car");
    glTranslatef(-4.5f, 1, 0);
    printCentred(fontBase, "Press Q for Menu");
    glPopMatrix();

    drawMenuItems();

    glPopMatrix();
    presentFrame();
}

void drawSetupScreen() {
    beginMenuView();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    setupSpin += 100 * frameTime;

    // Drawn before this frame's ramp, so it shows the previous frame's colour.
    glTranslatef(100, 70, -300);
    glColor4f(playerCar.color.x, playerCar.color.y, playerCar.color.z, 1);
    glRotatef(setupSpin, 1, 1, 1);
    glScalef(7, 7, 7);
    glDisable(GL_TEXTURE_2D);
    glCallList(carModelList);
    glPopMatrix();

    // The base frame of everything below; never popped.
    glTranslatef(0, 0, -10);
    drawPageLabels();
    drawMoney();
    if (gameState == GameState::SetupColor) drawColorRows();
    applyColorRamp();
    if (gameState == GameState::SetupEngine) drawEnginePreview(engineChoice);
    if (gameState == GameState::SetupBoost) {
        // Additive from here to the end of the frame, the texts included.
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        drawBoostPreview(boostChoice, partPulse);
    }
    if (gameState == GameState::SetupTires) drawTirePreview(tireChoice, partPulse);

    runSetupCountdowns();
    if (gameState == GameState::SetupBoost) partPulse += boostChoice * frameTime;
    if (gameState == GameState::SetupTires) partPulse += tireChoice * frameTime;
    if (partPulse > 2) partPulse = 0;
    engineSpin += 60 * engineChoice * frameTime;

    presentFrame();
}
