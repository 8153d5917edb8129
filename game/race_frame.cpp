// race_frame.cpp - one frame of a race, and the rules woven into it: the countdown and
// track name, the place flash, the ranking, the race end with its prize, the chase
// camera and the camera path, the boulders, the pools and the fireballs.
//
// There is no race state variable: the phase of a race is carried by raceCountdown,
// the player's checkpoints, raceEndTimer, cameraPathDone and the player's blastRadius.
#include "race_frame.h"

#include <climits>

#include "float_to_int.h"
#include "new_race.h"
#include "outline_text.h"
#include "race_display.h"
#include "save_file.h"
#include "text_streams.h"
#include "world.h"

namespace {

const int spareCar = 4;
const int firstBoulder = 5;
const int opponentCount = 4;

int score(const HoverCar& car) { return car.lap * car.checkpointsPassed; }

void drawGameOver() {
    if (playerCar.blastRadius <= 50) return;
    glPushMatrix();
    glTranslatef(8, -5, 0);
    glScalef(4, 4, 1);
    printCentred(fontBase, "Game Ova!");
    glPopMatrix();
    // A wreck may not drift on under the message; the race goes on around it.
    playerCar.direction = Vector3(0, 0, 0);
}

void drawCountdown() {
    int digit = shownCountdownDigit();
    if (digit < 0) return;
    glPushMatrix();
    glTranslatef(8, -5, 0);
    glScalef(4, 4, 1);
    printNumber(float(digit));
    glTranslatef(0, -2, 0);
    glScalef(0.5f, 2, 1);
    const char* name = trackName(trackLevel);
    if (name) printCentred(fontBase, name);
    glPopMatrix();
}

void drawPlaceFlash() {
    if (shownPlace != playerCar.place) placeFlashTimer = 1.0f;
    if (placeFlashTimer > 0) {
        glPushMatrix();
        glTranslatef(8, -5, 0);
        printNumber(float(playerCar.place));
        placeFlashTimer -= frameTime;
        glPopMatrix();
    }
    shownPlace = playerCar.place;
}

void drawResultMessage() {
    glPushMatrix();
    glTranslatef(8, -5, 0);
    glScalef(2, 2, 1);
    const char* message = resultMessage(playerCar.place);
    if (message) printCentred(fontBase, message);
    glPopMatrix();
}

void drawExplosions() {
    for (int j = 0; j < opponentCount; ++j) otherCars[j].drawExplosion();
    playerCar.drawExplosion();
    // Throttle and glide last only while the keys set them again each loop turn.
    playerCar.driveMode = DriveMode::Coast;
}

void runFireballs() {
    for (int k = 0; k < 4; ++k) {
        applyFireballDamage(k);
        bursts[k].animate();
    }
}

}  // namespace

// Opponents see the player as it stood before its own update of this frame.
void updateRacers() {
    glEnable(GL_CULL_FACE);
    for (int j = 0; j < opponentCount; ++j) otherCars[j].update(playerCar);
    playerCar.update(playerCar);
    glDisable(GL_CULL_FACE);
}

bool raceIsOver() { return playerCar.checkpointsPassed > 3 * trackPointCount; }

int prizeForPlace(int place) { return (5 - place) * 1000; }

// Money saturates at the ends of an int instead of overflowing: a save file may hold
// any int.
int moneyWithPrize(int held, int prize) {
    if (prize > 0 && held > INT_MAX - prize) return INT_MAX;
    if (prize < 0 && held < INT_MIN - prize) return INT_MIN;
    return held + prize;
}

int trackAfter(int level) {
    int next = level + 1;
    return next > 4 ? 4 : next;
}

const char* trackName(int level) {
    switch (level) {
    case 1: return "Particle Wind";
    case 2: return "Rock Field";
    case 3: return "Auqa Planet";
    case 4: return "Land of Diablo";
    default: return nullptr;
    }
}

const char* resultMessage(int place) {
    switch (place) {
    case 0: return nullptr;
    case 1: return "YOU A WINNER! 1st";
    case 2: return "YOU A WINNER! 2nd";
    case 3: return "YOU A WINNER! 3rd";
    default: return place > 3 ? " TOO BAD " : nullptr;
    }
}

// The digit shows while the countdown is above 0 before this frame's tick, truncated,
// so the last second shows 0.
int shownCountdownDigit() {
    return raceCountdown > 0 ? truncateWithin(raceCountdown, 0, INT_MAX, -1) : -1;
}

// Six passes over the spare car, the opponents and the player. The spare car never
// scores, so it takes every pass that no eligible racer wins. A destroyed racer's update
// leaves its ranked flag set, so it keeps it from an earlier frame and may get no place.
void rankRacers() {
    playerCar.place = 0;
    for (int i = 0; i <= spareCar; ++i) otherCars[i].place = 0;
    for (int pass = 1; pass <= 6; ++pass) {
        HoverCar* candidate = &otherCars[spareCar];
        for (int i = 0; i <= spareCar; ++i) {
            HoverCar& racer = otherCars[i];
            if (score(racer) > score(*candidate) && (pass == 1 || !racer.ranked))
                candidate = &racer;
        }
        if (score(playerCar) > score(*candidate) && (pass == 1 || !playerCar.ranked))
            candidate = &playerCar;
        candidate->place = pass;
        candidate->ranked = true;
    }
}

// The place paid is the one of the previous frame's ranking. The rest of the frame
// already races the new track with the reset cars; the next loop turn shows the menu.
void raceEndStep() {
    cameraPosition = Vector3(100, 1, -25);
    playerCar.shield = 100;
    raceEndTimer += frameTime;
    if (raceEndTimer > 5.0f) {
        raceEndTimer = 0;
        gameState = GameState::MainMenu;
        money = moneyWithPrize(money, prizeForPlace(playerCar.place));
        startNextRace(trackAfter(trackLevel));
        // The file holds every prize and track won, whatever ends the run next.
        saveCar();
    }
}

void chaseCamera() {
    const Vector3& p = playerCar.position;
    const Vector3& d = playerCar.direction;
    cameraTarget = Vector3(p.x - 5 * d.x, p.y + 5, p.z - 5 * d.z);
    cameraPosition = cameraTarget;
}

// The path advances one pair per frame while the countdown runs; the streams keep their
// place, so a path longer than a countdown goes on in the next one. A z of exactly 0
// ends it; a read that fails leaves the chase position of this frame.
void tickCountdownAndCameraPath() {
    raceCountdown -= frameTime;
    if (raceCountdown <= 0) return;
    if (!cameraPathStartSaved) {
        cameraPathStartZ = cameraPosition.z;
        cameraPathStartSaved = true;
    }
    if (!cameraPathDone) {
        readFloat(cameraXStream, cameraPosition.x);
        readFloat(cameraYStream, cameraPosition.z);
    }
    if (cameraPosition.z == 0) {
        cameraPosition.z = cameraPathStartZ;
        cameraPathDone = true;
    }
    cameraPosition.y = 1;
}

// The model-view is the identity here. A countdown of exactly 0 applies no look-at.
void applyRaceLookAt() {
    double eyeX = double(cameraPosition.x) + cameraOffset.x;
    double eyeY = double(cameraPosition.y) + cameraOffset.y;
    double eyeZ = cameraPosition.z;
    const Vector3& p = playerCar.position;
    if (raceCountdown > 0) {
        gluLookAt(eyeX, eyeY, eyeZ, p.x, p.y, p.z, 0, 1, 0);
    } else if (raceCountdown < 0) {
        Vector3 ahead = p + playerCar.direction * 5.0f;
        gluLookAt(eyeX, eyeY, eyeZ, ahead.x, ahead.y, ahead.z, 0, 1, 0);
    }
}

// A contact changes only the boulder's velocity: opponents drive on, the player pays.
void runBoulders() {
    for (int k = firstBoulder; k < 20; ++k) {
        HoverCar& boulder = otherCars[k];
        boulder.driveMode = DriveMode::Coast;
        boulder.isBoulder = true;
        for (int j = 0; j < opponentCount; ++j)
            if (boulder.collideWith(otherCars[j])) boulder.shield -= 50 * frameTime;
        if (boulder.collideWith(playerCar)) {
            playerCar.shield -= 200 * frameTime;
            playerCar.hitThisFrame = true;
        }
        boulder.update(otherCars[0]);
    }
}

// Only sets the flag: the steering keys clear it when they use it, and a reset clears it.
void updatePoolMembership() {
    float s = sceneryScale();
    poolCentres[0] = Vector3(800 / s, 0, -100 / s);
    poolCentres[1] = Vector3(800 / s + 400 / s, 0, -100 / s);
    poolCentres[2] = Vector3(800 / s + 400 / s, 0, -100 / s + (-400 / s));
    for (int i = 0; i < 3; ++i)
        if (horizontalDistance(poolCentres[i], playerCar.position) < 50.0) playerCar.inPool = true;
}

// Per frame and per fireball, not scaled by frameTime: one frame in reach destroys a car
// at its next update.
void applyFireballDamage(int burst) {
    const Vector3& origin = bursts[burst].origin;
    for (int j = 0; j < opponentCount; ++j)
        if (horizontalDistance(origin, otherCars[j].position) < 15.0) otherCars[j].shield -= 1000;
    if (horizontalDistance(origin, playerCar.position) < 15.0) playerCar.shield -= 1000;
}

// The order matters: the HUD shows the previous frame's place, the race end is tested
// before the cars move, and the opponents move before the player.
void runRaceFrame() {
    drawMinimap();                               // 1
    beginRaceView();                             // 2
    drawGameOver();                              // 3
    drawCountdown();                             // 4
    drawPlaceFlash();                            // 5
    if (raceIsOver()) {                          // 6
        drawResultMessage();
        raceEndStep();
    } else {
        chaseCamera();
    }
    drawHud();                                   // 7
    rankRacers();                                // 8
    drawShieldBar();                             // 9
    tickCountdownAndCameraPath();                // 10
    applyRaceLookAt();
    drawStartLine();                             // 11
    drawTrackScenery();                          // 12
    if (trackLevel == 2) runBoulders();
    drawPoolMarksAndMirror();                    // 13
    if (trackLevel == 3) {                       // 14
        drawWaterAndPools();
        updatePoolMembership();
    }
    if (trackLevel == 4) drawFireGround();       // 15
    updateRacers();                              // 16
    drawWallsAndPosts();                         // 17
    drawExplosions();                            // 18
    if (trackLevel == 1) drawWindStreaks();      // 19
    if (trackLevel == 4) runFireballs();         // 20
    endRaceFrame();                              // 21
}
