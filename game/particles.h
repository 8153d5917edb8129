// particles.h - fireball and debris bursts, and the wind streaks.
#ifndef KORVALINTH_GAME_PARTICLES_H
#define KORVALINTH_GAME_PARTICLES_H

#include "vector3.h"

class BurstParticle {
public:
    Vector3 velocity;   // thousandths of a world unit per second
    Vector3 position;
    float age = 0;
    float range = 0;

    void randomize();
    void animate();
};

class ParticleBurst {
public:
    static const int particleCount = 300;
    BurstParticle particles[particleCount];
    Vector3 origin;
    bool active = false;

    void start(Vector3 origin);
    void animate();
};

class DriftPoint {
public:
    Vector3 position;
    float speed = 0;

    void randomize();
    void animate();
};

class DriftField {
public:
    static const int pointCount = 1000;
    DriftPoint points[pointCount];

    void randomize();
    void animate();
};

#endif
