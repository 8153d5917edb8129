// car_physics.cpp - one frame of a car: post damage, boost, drawing, the sub-steps of
// thrust, drag, friction and movement with the wall bounce and car contact, the
// computer steering, and the checkpoints and laps.
#include <algorithm>
#include <cmath>

#include "float_to_int.h"
#include "hover_car.h"
#include "world.h"

namespace {

const int wallSlots = 30;
const int postSlots = 250;
const int maxSubSteps = 1000;

bool isFinite(const Vector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// A car standing exactly on its waypoint has no direction to normalise; it keeps the
// one it had rather than turning non-finite.
void normalizeKeepingZero(Vector3& v) {
    Vector3 unit = v;
    unit.normalize();
    if (isFinite(unit)) v = unit;
}

// A car at rest inside a wall's bounce band has nothing to reflect.
void reflectKeepingZero(Vector3& v, const Plane& plane) {
    Vector3 mirrored = v.reflect(plane);
    if (isFinite(mirrored)) v = mirrored;
}

// Calls f on every post of every wall slot 1 to 29; slots without a wall have none.
template <typename F>
void forEachPost(F f) {
    for (int t = 1; t < wallSlots; ++t) {
        const TrackWall& wall = trackWalls[t];
        const int end = std::min(wall.postCount, postSlots);
        for (int u = 1; u < end; ++u) f(wall.posts[u]);
    }
}

bool nearAnyPost(const Vector3& position, double reach) {
    bool near = false;
    forEachPost([&](const Vector3& post) {
        if (!near && horizontalDistance(post, position) < reach) near = true;
    });
    return near;
}

// Angle that the edge v-w subtends at p, by the law of cosines.
double edgeAngle(const Vector3& v, const Vector3& w, const Vector3& p) {
    wallScratch = v - p;
    const double a = wallScratch.length();
    wallScratch = w - p;
    const double b = wallScratch.length();
    wallScratch = w - v;
    const double c = wallScratch.length();
    return std::acos((c * c - (b * b + a * a)) / (-2.0 * b * a));
}

}  // namespace

void HoverCar::update(const HoverCar& other) {
    thrust = static_cast<float>(std::sqrt(double(enginePower)));   // last frame's power
    hitThisFrame = false;

    if (!destroyed) {
        normalizeKeepingZero(direction);

        forEachPost([this](const Vector3& post) {
            if (horizontalDistance(post, position) < 4.0) {
                hitThisFrame = true;
                shield -= 40.0f * frameTime;
            }
        });

        ranked = false;

        // A boost takes one of boostsLeft in its first update only: boostTimer is exactly
        // 4.0 then and never again until the boost has ended.
        if (boostActive && boostTimer == 4.0f) boostsLeft -= 1;
        if (boostActive) {
            speedFactor = boostPower;
            boostTimer -= frameTime;
            if (boostTimer < 0) {
                speedFactor = 1.0f;
                boostActive = false;
                if (boostsLeft > 0) boostTimer = 4.0f;
            }
        }

        // Drawn where it stands before this frame's movement.
        glPushMatrix();
        if (isBoulder) {
            glTranslatef(position.x, position.y, position.z);
            glColor3f(0.4f, 0.5f, 0.1f);
            glTranslatef(0.0f, 1.5f, 0.0f);
            glCallList(ballModelList);
        } else {
            draw();
        }
        glColor3f(1.0f, 1.0f, 1.0f);
        glPopMatrix();

        if (velocity.x > -0.002 && velocity.x < 0.002) velocity.x = 0;
        if (velocity.z > -0.002 && velocity.z < 0.002) velocity.z = 0;

        // Sub-steps keep each move at about 0.1 units, thin enough not to skip a wall's
        // bounce band in the middle of a long wall.
        // The bound (100 units a frame, ten times what the game's figures reach) keeps a
        // speed driven wild by a save file's figures from stalling the frame.
        int steps = truncateWithin(10.0f * velocity.length(), 0, maxSubSteps, 0);
        if (steps == 0) steps = 1;
        const float n = static_cast<float>(steps);

        if (raceCountdown > 3.0f) driveMode = DriveMode::Coast;
        if (!computerDriven && raceCountdown > 1.0f) driveMode = DriveMode::Coast;

        for (int step = 0; step < steps; ++step) {
            bounceOffWalls(position);

            if (driveMode == DriveMode::Throttle) {
                enginePower += accel;
                if (enginePower > 2000.0f * speedFactor) enginePower = 2000.0f * speedFactor;
                hoverLift += 0.8f * frameTime;
                if (hoverLift > 5.0f) hoverLift = 5.0f;
                // A speed equal to the threshold still drags.
                for (int drag = 0; drag < 50; ++drag) {
                    if (velocity.length() < topSpeed * speedFactor) break;
                    velocity.x = velocity.x - (thrust / 30.0f) * velocity.x * frameTime * speedFactor / n;
                    velocity.y = velocity.y - (thrust / 30.0f) * velocity.y * frameTime * speedFactor / n;
                    velocity.z = velocity.z - (thrust / 30.0f) * velocity.z * frameTime * speedFactor / n;
                }
                velocity.x += (thrust / 10.0f) * direction.x * frameTime * speedFactor / n;
                velocity.y += (thrust / 10.0f) * direction.y * frameTime * speedFactor / n;
                velocity.z += (thrust / 10.0f) * direction.z * frameTime * speedFactor / n;
            }

            if (driveMode == DriveMode::Coast) {
                enginePower -= enginePower * 0.01f * frameTime * 30.0f;
                if (enginePower < 50.0f) enginePower = 0;
                hoverLift -= 0.8f * frameTime;
                if (hoverLift < 0) hoverLift = 0;
                // Lowered, then raised back if that crossed zero: a component smaller than
                // one step keeps its value when positive and flips sign when negative.
                if (velocity.z > 0) velocity.z -= 0.1f * frameTime;
                if (velocity.z < 0) velocity.z += 0.1f * frameTime;
                if (velocity.x > 0) velocity.x -= 0.1f * frameTime;
                if (velocity.x < 0) velocity.x += 0.1f * frameTime;
            }

            if (computerDriven) collideWith(other);

            position += velocity / n;

            if (!computerDriven && trackLevel == 1 && raceCountdown < -5.0f) {
                velocity.z -= frameTime / n;
            }
        }

        driveMode = DriveMode::Coast;

        // Each advance loop runs while the point in hand is in reach; bounding it by one
        // lap's worth of points keeps an outline that lies wholly in reach from hanging.
        const int advanceLimit = std::max(trackPointCount + 1, 0);

        if (computerDriven) {
            if (velocity.length() < aiCruiseSpeed) driveMode = DriveMode::Throttle;
            // Aims at the waypoint in hand, before the advance below.
            direction.x = trackPoints[aiWaypoint].x - position.x;
            direction.z = trackPoints[aiWaypoint].z - position.z;
            const double reach = 50.0 - 10.0 * velocity.length();
            for (int advances = 0; advances < advanceLimit; ++advances) {
                if (!(horizontalDistance(trackPoints[aiWaypoint], position) < reach)) break;
                aiWaypoint += 1;
                if (aiWaypoint > trackPointCount) aiWaypoint = 2;
            }
        }

        int advances = 0;
        auto checkpointTest = [this, &advances, advanceLimit](double reach) {
            if (advances >= advanceLimit) return;
            if (horizontalDistance(trackPoints[nextCheckpoint], position) < reach) {
                nextCheckpoint += 1;
                if (nextCheckpoint > trackPointCount) {
                    lap += 1;
                    nextCheckpoint = 0;
                }
                checkpointsPassed += 1;
                advances += 1;
            }
        };
        int before;
        do {
            before = nextCheckpoint;
            checkpointTest(100.0);
            if (trackLevel == 4) checkpointTest(100.0);
            if (trackLevel == 3) checkpointTest(200.0);
        } while (nextCheckpoint != before && advances < advanceLimit);

        normalizeKeepingZero(direction);

        if (!computerDriven) {
            // Length sqrt(2) until the next update normalises it.
            const double h = heading;
            direction.z = static_cast<float>(std::cos(h) - std::sin(h));
            direction.x = static_cast<float>(std::sin(h) + std::cos(h));
        }
    }

    if (computerDriven) speedFactor = nearAnyPost(position, 5.0) ? 0.3f : 1.0f;

    if (shield < 0) destroyed = true;
}

bool HoverCar::collideWith(const HoverCar& other) {
    if (!(horizontalDistance(other.position, position) < 2.0)) return false;
    // The offset is not normalised: both terms scale with the square of the distance.
    collisionScratch = other.position - position;
    const Vector3 along = collisionScratch * collisionScratch.dot(velocity);
    const Vector3 across = velocity - along;
    const Vector3 others = collisionScratch * collisionScratch.dot(other.velocity);
    velocity = across + ((along + others) - (along - others));
    return true;
}

void HoverCar::bounceOffWalls(Vector3 point) {
    for (int s = 1; s < wallSlots; ++s) {
        const TrackWall& wall = trackWalls[s];
        // The closed loop of corners 1, 2, 3, 4 (posts[0]) and back to corner 1. The sum
        // is 2 pi on the wall itself and falls away from it; the window picks a band on
        // either side. Empty slots have every corner at the origin and sum to 0.
        double sum = edgeAngle(wall.corner[1], wall.corner[2], point);
        sum += edgeAngle(wall.corner[2], wall.corner[3], point);
        sum += edgeAngle(wall.corner[3], wall.posts[0], point);
        sum += edgeAngle(wall.posts[0], wall.corner[1], point);
        if (sum > 6.24 && sum < 6.27) {
            reflectKeepingZero(velocity, wallPlanes[s]);
            reflectKeepingZero(direction, wallPlanes[s]);
            return;
        }
    }
}
