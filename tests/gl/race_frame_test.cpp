// race_frame_test.cpp - what a player reads in a whole race frame, and what follows from
// it: the countdown with each track's name, the place flash, the HUD's place and lap, the
// result message with its prize, and "Game Ova!" over the wreck; and the order in which
// the frame moves the cars.
//
// The texts are read by their near-plane pixels (hud_text.h), against the expected text
// drawn on its own at its place in the HUD.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "frame_pixels.h"
#include "game_fixture.h"
#include "hud_text.h"
#include "outline_text.h"
#include "race_frame.h"
#include "race_start.h"
#include "start_up.h"
#include "track.h"
#include "world.h"

namespace {

const int width = 640, height = 480;
const float frame = 1.0f / 60;

// Where the big messages, the countdown and the place flash show, below the HUD's top
// two lines; and those two lines, left of the shield label.
const Area middle{0, 0, width, 376};
const Area topLines{0, 379, 200, height};

// A row of the table: the state with the text due (shown true) or just short of it, the
// text expected, and what else the frame must have done. The text is read in the middle
// over what the frame shows there without it, or alone on the HUD's top lines, which
// always show.
struct TextCase {
    const char* name;
    int track;
    void (*arrange)(bool shown);
    std::vector<Piece> text;
    void (*effects)();
    bool onTopLines = false;
};

void countdownAt(float seconds, bool shown) { raceCountdown = shown ? seconds : -1; }

const std::vector<TextCase> textCases = {
    {"CountdownOnTheWindTrack", 1, [](bool shown) { countdownAt(9.5f, shown); },
     {{8, -5, 4, 4, "9"}, {0, -2, 0.5f, 2, "Particle Wind"}}, [] {}},
    {"CountdownOnTheEarthTrack", 2, [](bool shown) { countdownAt(3.2f, shown); },
     {{8, -5, 4, 4, "3"}, {0, -2, 0.5f, 2, "Rock Field"}}, [] {}},
    {"CountdownOnTheWaterTrack", 3, [](bool shown) { countdownAt(1.9f, shown); },
     {{8, -5, 4, 4, "1"}, {0, -2, 0.5f, 2, "Auqa Planet"}}, [] {}},
    {"CountdownLastSecondOnTheFireTrack", 4, [](bool shown) { countdownAt(0.5f, shown); },
     {{8, -5, 4, 4, "0"}, {0, -2, 0.5f, 2, "Land of Diablo"}}, [] {}},
    // A change of place since the frame before flashes the new place for a second.
    {"PlaceFlash", 1,
     [](bool shown) {
         playerCar.place = 2;
         shownPlace = shown ? 5 : 2;
     },
     {{8, -5, 1, 1, "2"}},
     [] {
         EXPECT_FLOAT_EQ(placeFlashTimer, 1 - frame);
         EXPECT_EQ(shownPlace, 2);
     }},
    // The race is over: the message of the place of the frame before, and in the frame
    // that ends the result screen the prize and the next track.
    {"WinnersMessageAndPrize", 2,
     [](bool shown) {
         playerCar.place = shownPlace = 1;
         playerCar.checkpointsPassed = 3 * trackPointCount + (shown ? 1 : 0);
         raceEndTimer = 5 - frame / 2;
         money = 500;
     },
     {{8, -5, 2, 2, "YOU A WINNER! 1st"}},
     [] {
         EXPECT_EQ(money, 500 + 4000);
         EXPECT_EQ(gameState, GameState::MainMenu);
         EXPECT_EQ(trackLevel, 3);
     }},
    {"SecondPlaceMessageAndPrize", 4,
     [](bool shown) {
         playerCar.place = shownPlace = 2;
         playerCar.checkpointsPassed = 3 * trackPointCount + (shown ? 1 : 0);
         raceEndTimer = 5 - frame / 2;
         money = 500;
     },
     {{8, -5, 2, 2, "YOU A WINNER! 2nd"}},
     [] {
         EXPECT_EQ(money, 500 + 3000);
         EXPECT_EQ(gameState, GameState::MainMenu);
         EXPECT_EQ(trackLevel, 4);
     }},
    {"TooBadAndItsPrize", 1,
     [](bool shown) {
         playerCar.place = shownPlace = 4;
         playerCar.checkpointsPassed = 3 * trackPointCount + (shown ? 1 : 0);
         raceEndTimer = 5 - frame / 2;
         money = 500;
     },
     {{8, -5, 2, 2, " TOO BAD "}},
     [] {
         EXPECT_EQ(money, 500 + 1000);
         EXPECT_EQ(trackLevel, 2);
     }},
    // The place and the lap, each its own figure after its label.
    {"PlaceAndLapFigures", 1,
     [](bool) {
         playerCar.place = shownPlace = 3;
         playerCar.lap = 2;
     },
     {{0, 0, 1, 1, "(Place) "}, {0, 0, 1, 1, "3"}, {-2.2f, -1, 1, 1, "(Lap) "}, {0, 0, 1, 1, "2"}},
     [] {}, true},
    // The wreck of the player's car: the message once the blast has grown past 50, and
    // the view held on the wreck, which goes nowhere.
    {"GameOverHoldsTheWreck", 3,
     [](bool shown) {
         playerCar.position = Vector3(200, 0, -60);
         playerCar.direction = Vector3(0.7f, 0, 0.7f);
         playerCar.velocity = Vector3(0.3f, 0, 0);
         playerCar.shield = -5;
         playerCar.destroyed = true;
         playerCar.blastRadius = shown ? 60 : 40;
     },
     {{8, -5, 4, 4, "Game Ova!"}},
     [] {
         EXPECT_EQ(playerCar.direction, Vector3(0, 0, 0));
         EXPECT_EQ(playerCar.position, Vector3(200, 0, -60));
         // The look-at of the frame aims at the wreck: it sits in the middle of the view.
         GLdouble model[16], projection[16], x, y, z;
         GLint viewport[4];
         glGetDoublev(GL_MODELVIEW_MATRIX, model);
         glGetDoublev(GL_PROJECTION_MATRIX, projection);
         glGetIntegerv(GL_VIEWPORT, viewport);
         ASSERT_TRUE(gluProject(200, 0, -60, model, projection, viewport, &x, &y, &z));
         EXPECT_NEAR(x, width / 2.0, 1);
         EXPECT_NEAR(y, height / 2.0, 1);
     }},
};

void PrintTo(const TextCase& c, std::ostream* out) { *out << c.name; }

class RaceTexts : public GameFixture, public ::testing::WithParamInterface<TextCase> {};

using RaceFrameOrder = GameFixture;

}  // namespace

TEST_P(RaceTexts, ShowsItsTextAndDoesWhatItSays) {
    const TextCase& c = GetParam();
    startRaceOnGrid(c.track);
    c.arrange(false);
    runRaceFrame();
    const NearPlane without;
    const NearPlane expected = drawnAlone(c.text);

    startRaceOnGrid(c.track);
    c.arrange(true);
    runRaceFrame();
    const FramePixels picture;
    const NearPlane shown;
    const Reading reading = c.onTopLines ? compare(shown, expected, topLines)
                                         : compare(shown, expected, middle, &without);
    EXPECT_TRUE(reading.matches()) << describe(reading) << " "
                                   << keptPicture(picture, std::string("race-text-") + c.name);
    c.effects();
}

INSTANTIATE_TEST_SUITE_P(Table, RaceTexts, ::testing::ValuesIn(textCases),
                         [](const ::testing::TestParamInfo<TextCase>& info) {
                             return std::string(info.param.name);
                         });

// The opponents move first and see the player where it stood before its own update: an
// opponent touching the player at the frame's start is pushed, though the player then
// moves out of reach.
TEST_F(RaceFrameOrder, OpponentsMoveBeforeThePlayer) {
    startRaceOnGrid(1);
    for (int j = 1; j < 4; ++j) otherCars[j].position = Vector3(150, 0, -20 - 10.0f * j);
    playerCar.position = Vector3(40, 0, -25);
    playerCar.velocity = Vector3(-1, 0, 0);
    HoverCar& opponent = otherCars[0];
    opponent.position = Vector3(41.5f, 0, -25);
    opponent.aiCruiseSpeed = 0;
    runRaceFrame();
    EXPECT_LT(playerCar.position.x, 39.5f) << "the player moved out of reach";
    // Offset -1.5 along x, the player's velocity -1 along it: 2 x 1.5 x 1.5 = 4.5.
    EXPECT_NEAR(opponent.velocity.x, -4.5f, 0.05f);
    EXPECT_LT(opponent.position.x, 38.0f);
}
