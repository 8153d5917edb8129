// race_frame.h - one frame of a race: rules, ranking, race end, camera, and the drawing.
#ifndef KORVALINTH_GAME_RACE_FRAME_H
#define KORVALINTH_GAME_RACE_FRAME_H

void runRaceFrame();

// Rules of the frame, callable on their own.
void rankRacers();
void raceEndStep();    // the result screen and the move to the next track

bool raceIsOver();                   // the player has passed three laps' worth of checkpoints
int prizeForPlace(int place);        // dollars paid at the race end
int moneyWithPrize(int held, int prize);  // held + prize, saturated at the int's ends
int trackAfter(int level);           // the track the race end moves on to
const char* trackName(int level);    // null for a level without a name
const char* resultMessage(int place);  // null for place 0
int shownCountdownDigit();           // the big digit of this frame, or -1 when none shows
void chaseCamera();
void tickCountdownAndCameraPath();   // the countdown tick and one step of the camera path
void applyRaceLookAt();              // the look-at of the countdown or of the race
void updateRacers();                 // the opponents, then the player; each update draws its car
void runBoulders();                  // the earth track's boulders, after its ground
void updatePoolMembership();         // the water track's pools slow the player's steering
void applyFireballDamage(int burst); // one fireball's damage, before its animation

#endif
