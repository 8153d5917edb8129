// world.cpp - the definition of every file-scope object of the game.
//
// Objects with constructors are defined here, in one translation unit, so that their
// construction order is the order written: playerCar takes grid slot 0, otherCars[k]
// slot k + 1, and the last car constructor leaves the random generator at seed 14 for
// the start-up. Everything the constructors read (nextGridSlot, the random state) is
// constant-initialised, so it holds its start value before any constructor runs.
#include "world.h"

#include "text_streams.h"

Vector3 cameraOffset;
std::ifstream cameraXStream = openTextInput("camerax.txt", true);
std::ifstream cameraYStream = openTextInput("cameray.txt", true);
Plane wallPlanes[30];
TrackWall trackWalls[30];
Vector3 trackPoints[10000];
Vector3 cameraPosition;
Vector3 cameraTarget;
HoverCar playerCar;
HoverCar otherCars[20];
DriftField driftField;
ParticleBurst bursts[4];
Vector3 poolCentres[3];
Vector3 collisionScratch;
Vector3 wallScratch;
std::ifstream outlineStreams[8];

int screenWidth = 0, screenHeight = 0;
int money = 3000;
int gameState = GameState::MainMenu;
float colorSlider = 250.0f;
float engineChoice = 1.0f, boostChoice = 1.0f, tireChoice = 1.0f;
int mapOffset = 150;
int trackLevel = 0;
int nextGridSlot = 0;
int menuSelection = 0;
float menuKeyTimer = 0, pageKeyTimer = 0, colorKeyTimer = 0, engineKeyTimer = 0,
      boostKeyTimer = 0, tireKeyTimer = 0, buyKeyTimer = 0;
float menuSpin = 0, setupSpin = 0, engineSpin = 0, partPulse = 0;
float frameTime = 0;
float raceEndTimer = 0;
bool cameraPathDone = false;
int opponentIndex = 0;
float raceCountdown = 0;
int shownPlace = 0;
float placeFlashTimer = 0;
float cameraPathStartZ = 0;
bool cameraPathStartSaved = false;

int wallCount = 0;
float trackScale = 0;
int trackPointCount = 0;

Timer* frameTimer = nullptr;
Md2Model* carModel = nullptr;
Md2Model* ballModel = nullptr;
GLuint fontBase = 0;
unsigned char* mapPixels = nullptr;
BITMAPINFOHEADER bitmapInfo = {};
TextureImage* checkerTexture = nullptr;
GLuint postList = 0, carModelList = 0, ballModelList = 0, driftPointList = 0;
GLUquadric* quadric = nullptr;
