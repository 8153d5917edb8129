// particles.cpp - the fireball and debris bursts and the wind streaks: each animate
// call moves every element and draws it in the same step.
#include "particles.h"

#include "random.h"
#include "world.h"

void BurstParticle::randomize() {
    // Four draws in this order; position and age are left to the caller.
    velocity.x = static_cast<float>(gameRand() % 20000 - 10000);
    velocity.z = static_cast<float>(gameRand() % 20000 - 10000);
    velocity.y = static_cast<float>(gameRand() % 2000);
    range = static_cast<float>(gameRand() % 100);
}

void BurstParticle::animate() {
    position += velocity * frameTime / 1000.0f;

    // Drawn at the size and colour of the age before this frame's ageing.
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    const float scale = 1.0f - 2.0f * age;
    glScalef(scale, scale, scale);
    glColor4f(1.0f + age, 0.3f, 0.0f, 0.1f - age / 5.0f);
    glCallList(ballModelList);
    glPopMatrix();
    glColor3f(1.0f, 1.0f, 1.0f);

    age += 0.05f * frameTime;
    if (age > 1.0f) randomize();   // a slow ball gets a new velocity until it strays
}

void ParticleBurst::start(Vector3 newOrigin) {
    origin = newOrigin;
    for (BurstParticle& particle : particles) {
        particle.randomize();
        particle.position = origin;
    }
    active = true;
}

void ParticleBurst::animate() {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    for (BurstParticle& particle : particles) {
        particle.animate();
        // Height does not count: only straying in the ground plane brings a ball back.
        if (horizontalDistance(particle.position, origin) > particle.range / 10.0f + 1.0f) {
            particle.randomize();
            particle.position = origin;
            particle.age = 0;
        }
    }
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void DriftPoint::randomize() {
    position.x = static_cast<float>(gameRand() % 3000 - 1500);
    position.y = static_cast<float>(gameRand() % 5);
    position.z = static_cast<float>(gameRand() % 1000 - 500);
    speed = static_cast<float>(gameRand() % 10 + 1);
}

void DriftPoint::animate() {
    position.z -= speed * 10.0f * frameTime;
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    glCallList(driftPointList);
    glPopMatrix();
}

void DriftField::randomize() {
    for (DriftPoint& point : points) point.randomize();
}

void DriftField::animate() {
    for (DriftPoint& point : points) {
        point.animate();
        // Drawn once more where it crossed; shows at its new place from the next frame.
        if (point.position.z < -700.0f) point.randomize();
    }
}
