// hover_car.cpp - the car record: construction on the starting grid, the reset for the
// next race, the body with its shadow, and the explosion of a destroyed car.
#include "hover_car.h"

#include "float_to_int.h"
#include "random.h"
#include "world.h"

namespace {

// Every construction and every reset ends this way, in this order: one draw, the grid
// place, then a fixed seed, so whatever draws next (particles, boulders) repeats in
// every run and every car placed right after another one cruises at 84 % 5 = 4.
void takeGridSlot(HoverCar& car) {
    car.aiCruiseSpeed = static_cast<float>(gameRand() % 5);
    car.position = Vector3(static_cast<float>(nextGridSlot) * 10.0f + 40.0f, 0.0f, -25.0f);
    car.direction = Vector3(1.0f, 0.0f, 0.0f);
    gameSrand(14);
    nextGridSlot += 1;
}

const float degreesPerRadian = 57.29578f;

}  // namespace

HoverCar::HoverCar() {
    color = Vector3(0.0f, 0.0f, 0.0f);
    color.x = 1.0f;
    color.z = 1.0f;
    takeGridSlot(*this);
}

void HoverCar::resetForRace() {
    velocity = Vector3(0.0f, 0.0f, 0.0f);
    isBoulder = false;
    inPool = false;
    hoverLift = 0;
    aiWaypoint = 1;
    heading = 0;
    accel = 2.0f;
    driveMode = DriveMode::Coast;
    nextCheckpoint = 1;
    lap = 1;
    checkpointsPassed = 1;
    shield = 100.0f;
    hitThisFrame = false;
    destroyed = false;
    blastRadius = 0;
    speedFactor = 1.0f;
    boostTimer = 4.0f;
    color.x = 1.0f;   // green is the player's own choice and survives
    color.z = 1.0f;
    topSpeed = 1.4f;
    boostPower = 1.4f;
    turnRate = 1.0f;
    boostsLeft = 2.0f;
    cameraOffset = Vector3(1.0f, 1.0f, 1.0f);
    takeGridSlot(*this);
}

CarTuning HoverCar::tuning() const { return {color, accel, topSpeed, boostPower, turnRate}; }

void HoverCar::setTuning(const CarTuning& tuning) {
    color = tuning.color;
    accel = tuning.accel;
    topSpeed = tuning.topSpeed;
    boostPower = tuning.boostPower;
    turnRate = tuning.turnRate;
}

void HoverCar::draw() const {
    // Without a loaded skin the body is drawn untextured rather than reading through a
    // missing model; the state left behind is the same either way.
    const bool textured = carModel != nullptr && carModel->skin != nullptr;

    glPushMatrix();
    glTranslatef(position.x, 1.0f, position.z);
    glScalef(0.1f, 0.1f, 0.1f);
    if (textured) glEnable(GL_TEXTURE_2D);
    // The model's z axis now points up.
    glRotatef(90.0f, -1.0f, 0.0f, 0.0f);
    glRotatef(45.0f, 0.0f, 0.0f, 1.0f);
    if (textured) glBindTexture(GL_TEXTURE_2D, carModel->skin->texture);
    glRotatef(heading * degreesPerRadian, 0.0f, 0.0f, 1.0f);

    // Body: tinted by the colour and sphere-mapped with the skin, so it shows a
    // reflection rather than the skin's layout.
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, (hoverLift - 4.0f) / 10.0f);
    glTexGenf(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGenf(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glBlendFunc(GL_SRC_ALPHA, hitThisFrame ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glColor4f(color.x, color.y, color.z, 1.0f);
    glCallList(carModelList);
    glPopMatrix();

    // Shadow: the body flattened onto the ground, one world unit down.
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -10.0f);
    glScalef(1.0f, 1.0f, 0.1f);
    glColor4f(0.0f, 0.0f, 0.0f, 0.1f);
    glCallList(carModelList);
    glPopMatrix();

    // Texture-coordinate generation stays on; the race frame turns it off itself.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
}

void HoverCar::drawExplosion() {
    if (!destroyed) return;

    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    if (blastRadius < 70) {
        glPushMatrix();
        glTranslatef(position.x, 0.0f, position.z);
        // Whole-number division: full blue up to radius 49, then nothing under the
        // additive blend.
        glColor4f(0.0f, 0.0f, 1.0f, static_cast<float>(1 - blastRadius / 50));
        if (quadric != nullptr) gluSphere(quadric, static_cast<double>(blastRadius), 10, 10);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        // The blast stops at 70 or more, so no frame needs to add more than that.
        blastRadius += truncateWithin(frameTime * 60.0f, 0, 70, 0);
        if (!computerDriven) {
            // Pulls the race camera back and up while the sphere grows.
            cameraOffset.y = 10.0f;
            cameraOffset.x = 40.0f;
        }
        glPopMatrix();
    }
    heading += 1.0f;   // the wreck spins wherever its body is still drawn

    if (debris.active) {
        debris.animate();
    } else {
        glColor3f(1.0f, 1.0f, 1.0f);
        debris.start(position);
    }
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}
