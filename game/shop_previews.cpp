// shop_previews.cpp - the engine, boost and grav-tire figures of the set-up screen and
// the name, labels and price of the choice shown.
//
// Within one figure the rotations and scales accumulate: each step works in the frame
// that the steps before it left. The text moves are made from the end of the string
// before (printCentred leaves the matrix there).
#include "shop_previews.h"

#include "game_state.h"
#include "outline_text.h"
#include "shop.h"
#include "solid_shapes.h"
#include "world.h"

namespace {

struct TextMoves {
    float firstX, firstY;    // to the name
    float secondX, secondY;  // from the name's end to the (first) label
};

const TextMoves engineTextMoves[5] = {
    {2, -2, -7.6f, -1}, {2, -2, -8.4f, -1}, {2, -2, -8.4f, -1}, {1, -2, -7, -1}, {2, -2, -8.4f, -1},
};

const TextMoves boostTextMoves[5] = {
    {-1.4f, -2, -2.2f, -1}, {-1.4f, -2, -2.2f, -1}, {0, -2, -3.6f, -1},
    {0.4f, -2, -3.6f, -1}, {0.4f, -2, -4.2f, -1},
};

void drawEngineFigure(int choice) {
    float spin = engineSpin;
    switch (choice) {
    case 1:
        glRotatef(spin, 1, 0, 0);
        glColor3f(0.8f, 0.1f, 0.1f);
        solidTorus(1, 10);
        break;
    case 2:
        glRotatef(spin, 1, 0, 1);
        glColor3f(0, 0, 0.8f);
        solidTorus(1, 10);
        glColor3f(1, 1, 1);
        solidSphere(1);
        break;
    case 3:
        glRotatef(spin, 1, 1, 0);
        glColor3f(0.8f, 0.8f, 0.8f);
        solidTorus(5, 10);
        glColor3f(1, 0, 0);
        solidSphere(1);
        break;
    case 4:
        glRotatef(spin, 1, 0, 0);
        glColor3f(1, 0, 0.8f);
        solidTorus(1, 10);
        glColor3f(1, 0, 0);
        glRotatef(-spin, 1, 1, 0);
        solidTorus(1, 7);
        glColor3f(1, 1, 0);
        solidSphere(2);
        break;
    case 5:
        glRotatef(spin, 1, 0, 0);
        glColor3f(1, 0, 0.8f);
        solidTorus(1, 10);
        glRotatef(-spin, 1, 1, 0);
        glColor3f(1, 0, 0);
        solidTorus(1, 7);
        glRotatef(-spin, 0, 1, 1);
        glColor3f(0, 0, 1);
        solidTorus(1, 7);
        glColor3f(1, 1, 0);
        solidSphere(1);
        break;
    }
}

// At pulse 0 the scales flatten every ring to nothing.
void drawBoostFigure(int choice, float p) {
    switch (choice) {
    case 1:
        glScalef(p, p, 2);
        glColor3f(1, 0.1f, 0.1f);
        solidTorus(1, 10);
        glScalef(p, p, 2);
        glColor4f(0, 0, 1, 0.4f);
        solidTorus(1, 10);
        break;
    case 2:
        glScalef(p, p, 2);
        glColor3f(0, 0.6f, 0.1f);
        solidTorus(1, 10);
        glScalef(p, p, 2);
        glColor4f(0, 1, 1, 0.4f);
        solidTorus(1, 10);
        break;
    case 3:
        glScalef(p, p / 2, 2);
        glColor3f(0.6f, 0.6f, 0.6f);
        solidTorus(5, 10);
        glScalef(p / 2, p, 2);
        glColor4f(0, 1, 1, 0.4f);
        solidTorus(1, 10);
        break;
    case 4:
        glScalef(p, p, 2);
        glColor3f(1, 0, 0);
        solidTorus(1, 10);
        glScalef(p, p, 2);
        glColor4f(1, 0.6f, 0, 0.4f);
        solidTorus(1, 10);
        glScalef(p, p, 2);
        glColor4f(1, 1, 0, 0.4f);
        solidTorus(1, 10);
        break;
    case 5:
        glScalef(p, p, 2);
        glColor3f(1, 0.6f, 0.1f);
        solidTorus(1, 10);
        glScalef(p / 2, p / 2, 2);
        glColor4f(0.1f, 1, 1, 0.4f);
        solidTorus(1, 10);
        break;
    }
}

enum class RingShape { Torus, Sphere, Cube };

struct TireRing {
    float lift;     // times the pulse
    float r, g, b;
    RingShape shape;
    float size, ringRadius;
};

const int maxRings = 3;

struct TireFigure {
    int ringCount;
    TireRing rings[maxRings];
};

// Choices 1 to 4; choice 5 is the cone of nine rings, made in drawTireFigure.
const TireFigure tireFigures[4] = {
    {1, {{20, 1, 0.3f, 0.1f, RingShape::Torus, 1, 10}}},
    {2,
     {{20, 0.3f, 0.3f, 0.3f, RingShape::Torus, 5, 10},
      {10, 0.3f, 0.3f, 0.3f, RingShape::Torus, 1, 10}}},
    {3,
     {{20, 0.9f, 0.4f, 0.1f, RingShape::Torus, 2, 10},
      {10, 0.9f, 0.4f, 0.1f, RingShape::Torus, 1, 10},
      {10, 0.9f, 0.9f, 0, RingShape::Sphere, 1, 0}}},
    {3,
     {{20, 0, 0.4f, 1, RingShape::Torus, 2, 10},
      {10, 0, 0.7f, 1, RingShape::Torus, 1, 10},
      {10, 0.2f, 0.1f, 0, RingShape::Cube, 1, 0}}},
};

// Each ring on its own, laid flat in the x-z plane and lifted above the base.
void drawTireRing(float lift, float r, float g, float b, RingShape shape, float size,
                  float ringRadius) {
    glPushMatrix();
    glTranslatef(-55, -50, -100);
    glTranslatef(0, lift, 0);
    glColor3f(r, g, b);
    glRotatef(90, 1, 0, 0);
    switch (shape) {
    case RingShape::Torus: solidTorus(size, ringRadius); break;
    case RingShape::Sphere: solidSphere(size); break;
    case RingShape::Cube: solidCube(size); break;
    }
    glPopMatrix();
}

void drawTireFigure(int choice, float p) {
    if (choice == 5) {
        for (int i = 1; i <= 9; ++i)
            drawTireRing(20 * p / float(i), 0, 0.4f * float(i), 1, RingShape::Torus, 1, float(i));
        return;
    }
    const TireFigure& figure = tireFigures[choice - 1];
    for (int k = 0; k < figure.ringCount; ++k) {
        const TireRing& ring = figure.rings[k];
        drawTireRing(ring.lift * p, ring.r, ring.g, ring.b, ring.shape, ring.size,
                     ring.ringRadius);
    }
}

// Cyan name and label(s), then the yellow price.
void beginTexts() {
    glPushMatrix();
    glColor3f(0, 1, 1);
    glScalef(1, 1, 0.1f);
}

}  // namespace

void drawEnginePreview(float choice) {
    const ShopEntry* entry = shopEntry(GameState::SetupEngine, choice);
    if (entry == nullptr) return;
    int c = int(choice);  // a whole 1 to 5, or there would be no entry

    glPushMatrix();
    glTranslatef(-50, -30, -100);
    glScalef(1, 1, 2);
    drawEngineFigure(c);
    glPopMatrix();

    const TextMoves& moves = engineTextMoves[c - 1];
    beginTexts();
    glTranslatef(moves.firstX, moves.firstY, 0);
    printCentred(fontBase, entry->name);
    glTranslatef(moves.secondX, moves.secondY, 0);
    printCentred(fontBase, entry->label);
    glTranslatef(-0.5f, -1, 0);
    glColor3f(1, 1, 0);
    printCentred(fontBase, entry->priceText);
    glPopMatrix();
}

void drawBoostPreview(float choice, float pulse) {
    const ShopEntry* entry = shopEntry(GameState::SetupBoost, choice);
    if (entry == nullptr) return;
    int c = int(choice);  // a whole 1 to 5, or there would be no entry

    glPushMatrix();
    glTranslatef(-55, -30, -100);
    drawBoostFigure(c, pulse);
    glPopMatrix();

    const TextMoves& moves = boostTextMoves[c - 1];
    beginTexts();
    glTranslatef(moves.firstX, moves.firstY, 0);
    printCentred(fontBase, entry->name);
    glTranslatef(moves.secondX, moves.secondY, 0);
    printCentred(fontBase, entry->label);
    glTranslatef(-1.3f, -1, 0);
    printCentred(fontBase, entry->secondLabel);
    glTranslatef(1.5f, -1, 0);
    glColor3f(1, 1, 0);
    printCentred(fontBase, entry->priceText);
    glPopMatrix();
}

void drawTirePreview(float choice, float pulse) {
    const ShopEntry* entry = shopEntry(GameState::SetupTires, choice);
    if (entry == nullptr) return;
    int c = int(choice);  // a whole 1 to 5, or there would be no entry

    drawTireFigure(c, pulse);

    beginTexts();
    glTranslatef(1.4f, -2, 0);
    printCentred(fontBase, entry->name);
    glTranslatef(-3.8f, -1, 0);
    printCentred(fontBase, entry->label);
    glColor3f(1, 1, 0);
    glTranslatef(c <= 3 ? -1.0f : 0.0f, -1, 0);
    printCentred(fontBase, entry->priceText);
    glPopMatrix();
}
