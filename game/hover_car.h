// hover_car.h - the car record shared by the player, the opponents, the spare car
// and the boulders; its reset, drawing and physics.
#ifndef KORVALINTH_GAME_HOVER_CAR_H
#define KORVALINTH_GAME_HOVER_CAR_H

#include "particles.h"
#include "vector3.h"

namespace DriveMode {
enum : int { Throttle = 0, Glide = 1, Coast = 2 };
}

// What the player chose and bought: the colour and the tuning figures. The race end
// keeps them through its reset, and the save file holds them.
struct CarTuning {
    Vector3 color;
    float accel, topSpeed, boostPower, turnRate;
};

class HoverCar {
public:
    Vector3 position;
    Vector3 direction;
    Vector3 velocity;
    ParticleBurst debris;
    bool isBoulder = false;
    bool inPool = false;
    float enginePower = 0;
    float hoverLift = 0;
    bool computerDriven = true;
    int aiWaypoint = 1;
    float heading = 0;
    float accel = 2.0f;
    int driveMode = DriveMode::Coast;
    int nextCheckpoint = 0;
    int lap = 1;
    int place = 0;
    bool ranked = false;
    int checkpointsPassed = 0;
    float shield = 100.0f;
    bool hitThisFrame = false;
    bool destroyed = false;
    float aiCruiseSpeed = 0;
    int blastRadius = 0;
    float thrust = 0;
    float speedFactor = 1.0f;
    bool boostActive = false;
    float boostTimer = 4.0f;
    Vector3 color;
    float topSpeed = 1.4f;
    float boostPower = 1.4f;
    float turnRate = 1.0f;
    float boostsLeft = 4.0f;

    HoverCar();
    void resetForRace();
    CarTuning tuning() const;
    void setTuning(const CarTuning& tuning);
    void draw() const;
    void drawExplosion();

    // The other car is read only; only this car changes.
    void update(const HoverCar& other);
    bool collideWith(const HoverCar& other);
    void bounceOffWalls(Vector3 point);
};

#endif
