// world.h - every file-scope object and global of the game. They are all defined in
// world.cpp, in the order in which they must be constructed (configuration.cpp holds
// the three build-time settings).
#ifndef KORVALINTH_GAME_WORLD_H
#define KORVALINTH_GAME_WORLD_H

#include <fstream>

#include "bitmap.h"
#include "game_state.h"
#include "hover_car.h"
#include "md2_model.h"
#include "particles.h"
#include "platform.h"
#include "timer.h"
#include "track.h"
#include "vector3.h"

// ---- constructed before the entry point, in this order ---------------------------------
extern Vector3 cameraOffset;
extern std::ifstream cameraXStream;      // "camerax.txt", open for the whole run
extern std::ifstream cameraYStream;      // "cameray.txt"
extern Plane wallPlanes[30];
extern TrackWall trackWalls[30];
extern Vector3 trackPoints[10000];
extern Vector3 cameraPosition;
extern Vector3 cameraTarget;
extern HoverCar playerCar;               // grid slot 0
extern HoverCar otherCars[20];           // 0-3 opponents, 4 spare car, 5-19 boulders
extern DriftField driftField;
extern ParticleBurst bursts[4];          // fireballs of the fire track
extern Vector3 poolCentres[3];
extern Vector3 collisionScratch;         // car contact intermediates; carry nothing between calls
extern Vector3 wallScratch;              // wall bounce intermediates
extern std::ifstream outlineStreams[8];  // opened and closed by each track build

// ---- build configuration (configuration.cpp, compiled into each executable) -------------
extern const int configuredScreenWidth;
extern const int configuredScreenHeight;
extern bool fullScreen;                  // wanted and in force; cleared when the mode fails

// ---- plain globals, constant-initialised ----------------------------------------------
extern int screenWidth, screenHeight;
extern int money;                        // dollars, 3000
extern int gameState;                    // GameState, MainMenu
extern float colorSlider;                // 250
extern float engineChoice, boostChoice, tireChoice;  // 1
extern int mapOffset;                    // 150
extern int trackLevel;                   // 0 until initGame
extern int nextGridSlot;                 // 0
extern int menuSelection;
extern float menuKeyTimer, pageKeyTimer, colorKeyTimer, engineKeyTimer, boostKeyTimer,
    tireKeyTimer, buyKeyTimer;
extern float menuSpin, setupSpin, engineSpin, partPulse;
extern float frameTime;
extern float raceEndTimer;
extern bool cameraPathDone;
extern int opponentIndex;
extern float raceCountdown;
extern int shownPlace;
extern float placeFlashTimer;
extern float cameraPathStartZ;
extern bool cameraPathStartSaved;

// Track state (built by buildTrack and the start-up).
extern int wallCount;
extern float trackScale;
extern int trackPointCount;

// Made by initGame and kept for the whole run.
extern Timer* frameTimer;
extern Md2Model* carModel;
extern Md2Model* ballModel;
extern GLuint fontBase;
extern unsigned char* mapPixels;
extern BITMAPINFOHEADER bitmapInfo;
extern TextureImage* checkerTexture;
extern GLuint postList, carModelList, ballModelList, driftPointList;
extern GLUquadric* quadric;

#endif
