// paced_race_test.cpp - races through the game's own loop turns and its paced present,
// on the test counter with a display model: whether a frame takes 4 ms on a 144 Hz
// display or 25 to 50 ms on a slow renderer, the four opponents, fresh from their reset,
// finish three laps on every track, a slow frame waits for nothing, and the race is the
// same race bit for bit; a 30-second stall mid-race is one step that leaves every car
// sound, and Esc still saves.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "display_models.h"
#include "file_bytes.h"
#include "frame_pacing.h"
#include "gl_test_context.h"
#include "main_loop.h"
#include "new_race.h"
#include "race_driver.h"
#include "race_frame.h"
#include "random.h"
#include "save_file.h"
#include "test_hooks.h"
#include "vector_checks.h"
#include "window_procedure.h"
#include "world.h"

namespace {

const int64_t perSecond = displayCountsPerSecond;

bool everyCarFinite() {
    if (!isFinite(playerCar.position) || !isFinite(playerCar.velocity)) return false;
    for (const HoverCar& car : otherCars)
        if (!isFinite(car.position) || !isFinite(car.velocity)) return false;
    return true;
}

// What a frame takes: its drawing, and the display's refresh rate when its swap waits.
struct Machine {
    const char* name;
    int milliseconds;
    int refreshesPerSecond;
};

const Machine fastDisplay = {"Vsync144Hz", 4, 144};
// A slow renderer whose frames take 25, 33 and 50 ms in turn, and no vsync.
const Machine slowRenderer = {"Drawing25To50ms", 25, 0};
const int slowDrawings[] = {25, 33, 50};

// The game on the given machine and the race on the given track begun as a race end
// begins the next: every racer reset, then the track built, its 5-second countdown
// ahead. The player's car stays on the grid unless a test drives it.
class PacedRace {
public:
    bool start(const std::string& name, int track, const Machine& machine) {
        use(machine);
        window = openTestWindow(160, 120);
        if (!window || !startRunOnTrack(name, track)) return false;
        setFramePacing(true);
        startNextRace(track);
        return true;
    }
    static void use(const Machine& machine) {
        TestDisplay display;
        display.drawingCounts = machine.milliseconds * displayCountsPerMillisecond;
        display.refreshesPerSecond = machine.refreshesPerSecond;
        useTestDisplay(display);
    }
    bool turn() {
        int exitCode = 0;
        bool running = mainLoopTurn(window, message, exitCode);
        lastExitCode = exitCode;
        return running;
    }
    HWND window = nullptr;
    MSG message = {};
    int lastExitCode = -1;
};

struct RaceCase {
    int track;
    Machine machine;
};

void PrintTo(const RaceCase& race, std::ostream* out) {
    *out << "track " << race.track << ", " << race.machine.name;
}

std::vector<RaceCase> raceCases() {
    std::vector<RaceCase> cases;
    for (int track = 1; track <= 4; ++track) {
        cases.push_back({track, fastDisplay});
        cases.push_back({track, slowRenderer});
    }
    return cases;
}

class PacedRaceOnTrack : public ::testing::TestWithParam<RaceCase> {};

}  // namespace

TEST_P(PacedRaceOnTrack, EveryOpponentFinishesThreeLapsAndASlowFrameWaitsForNothing) {
    const RaceCase& param = GetParam();
    PacedRace race;
    ASSERT_TRUE(race.start("paced-race-" + std::to_string(param.track), param.track,
                           param.machine));
    ASSERT_GT(trackPointCount, 10);
    const int lapsWorth = 3 * trackPointCount;

    // The first turn's present starts the schedule that the second's is the first to keep.
    ASSERT_TRUE(race.turn());
    ASSERT_TRUE(race.turn());
    restartDisplayRecord();
    const bool slow = param.machine.refreshesPerSecond == 0;
    int finished = 0, turns = 2;
    const int limit = 5 * 60 * 60;
    while (turns < limit) {
        if (slow) setDrawingCounts(slowDrawings[turns % 3] * displayCountsPerMillisecond);
        ASSERT_TRUE(race.turn());
        ++turns;
        ASSERT_EQ(gameState, GameState::Race);
        finished = 0;
        bool wrecked = false;
        for (int j = 0; j < 4; ++j) {
            finished += otherCars[j].checkpointsPassed > lapsWorth;
            wrecked = wrecked || otherCars[j].destroyed;
        }
        if (finished == 4 || wrecked) break;
    }
    EXPECT_EQ(finished, 4) << "in " << turns << " turns";
    for (int j = 0; j < 4; ++j) {
        EXPECT_FALSE(otherCars[j].destroyed) << "opponent " << j;
        EXPECT_TRUE(isFinite(otherCars[j].position)) << "opponent " << j;
    }
    const DisplayRecord& shown = displayRecord();
    if (!slow) {
        EXPECT_NEAR(shown.presentsPerSecond(), 60.0, 0.1);
    } else {
        // The drawing and a few counter reads, never a wait: the turns took exactly as
        // long as their frames' drawing, within the reads.
        const double drawn = (25 + 33 + 50) / 3.0 / 1000;
        EXPECT_NEAR(1.0 / shown.presentsPerSecond(), drawn, 0.0002);
        EXPECT_GE(shown.shortestGap, 25 * displayCountsPerMillisecond);
        EXPECT_LE(shown.longestGap, 50 * displayCountsPerMillisecond + displayCountsPerMillisecond / 5);
    }
    RecordProperty("turns", turns);
}

INSTANTIATE_TEST_SUITE_P(Tracks, PacedRaceOnTrack, ::testing::ValuesIn(raceCases()),
                         [](const ::testing::TestParamInfo<RaceCase>& info) {
                             return "Track" + std::to_string(info.param.track) +
                                    info.param.machine.name;
                         });

namespace {

struct CarState {
    Vector3 position, velocity;
};

// Every racer's position and velocity after the given turns of a race with the player
// driving: throttle, and the steering keys, which turn by the frame time, in a pattern.
void raceTurns(PacedRace& race, int count, CarState (&cars)[5]) {
    const int throttleKey = 'A';
    for (int k = 0; k < count; ++k) {
        keyDown[throttleKey] = k % 7 != 0;
        keyDown[VK_LEFT] = k % 5 == 1;
        keyDown[VK_RIGHT] = k % 11 == 3;
        ASSERT_TRUE(race.turn());
    }
    keyDown[throttleKey] = keyDown[VK_LEFT] = keyDown[VK_RIGHT] = false;
    cars[0] = {playerCar.position, playerCar.velocity};
    for (int j = 0; j < 4; ++j) cars[j + 1] = {otherCars[j].position, otherCars[j].velocity};
}

bool sameBits(const Vector3& a, const Vector3& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// What a race runs on besides the track: a reset leaves some of a car's figures (its
// engine power, its direction) as the last race left them, so the second race starts
// from this copy of the first one's start rather than from another reset.
class RaceStart {
public:
    RaceStart()
        : player(playerCar), drift(driftField), countdown(raceCountdown), endTimer(raceEndTimer),
          flash(placeFlashTimer), place(shownPlace), random(randomState), time(frameTime),
          eye(cameraPosition), target(cameraTarget), offset(cameraOffset) {
        for (int j = 0; j < 20; ++j) others[j] = otherCars[j];
        for (int k = 0; k < 4; ++k) fireballs[k] = bursts[k];
    }
    void restore() const {
        playerCar = player;
        for (int j = 0; j < 20; ++j) otherCars[j] = others[j];
        for (int k = 0; k < 4; ++k) bursts[k] = fireballs[k];
        driftField = drift;
        raceCountdown = countdown;
        raceEndTimer = endTimer;
        placeFlashTimer = flash;
        shownPlace = place;
        randomState = random;
        frameTime = time;
        cameraPosition = eye;
        cameraTarget = target;
        cameraOffset = offset;
    }

private:
    HoverCar player;
    HoverCar others[20];
    ParticleBurst fireballs[4];
    DriftField drift;
    float countdown, endTimer, flash;
    int place;
    uint32_t random;
    float time;
    Vector3 eye, target, offset;
};

class SameRace : public ::testing::TestWithParam<int> {};

}  // namespace

TEST_P(SameRace, After900TurnsEveryCarIsWhereItIsWhetherATurnTook4msOr50ms) {
    const int track = GetParam();
    PacedRace race;
    const Machine quick = {"Drawing4ms", 4, 0};
    const Machine slow = {"Drawing50ms", 50, 0};
    ASSERT_TRUE(race.start("same-race-" + std::to_string(track), track, quick));
    const RaceStart start;
    CarState onQuick[5], onSlow[5];
    raceTurns(race, 900, onQuick);
    ASSERT_FALSE(HasFatalFailure());
    PacedRace::use(slow);
    start.restore();
    raceTurns(race, 900, onSlow);
    ASSERT_FALSE(HasFatalFailure());
    for (int c = 0; c < 5; ++c) {
        EXPECT_TRUE(sameBits(onQuick[c].position, onSlow[c].position)) << "car " << c;
        EXPECT_TRUE(sameBits(onQuick[c].velocity, onSlow[c].velocity)) << "car " << c;
    }
    // The race went somewhere: the cars are off the grid.
    EXPECT_GT(horizontalDistance(onQuick[1].position, Vector3(50, 0, -25)), 20.0);
}

INSTANTIATE_TEST_SUITE_P(Tracks, SameRace, ::testing::Values(1, 2, 3, 4),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Track" + std::to_string(info.param);
                         });

TEST(PacedRace, AThirtySecondStallMidRaceLeavesEveryCarSoundAndEscStillSaves) {
    PacedRace race;
    ASSERT_TRUE(race.start("paced-race-stall", 2, fastDisplay));
    // A save made before the stall: what Esc must write after it.
    saveCar();
    const std::string saved = fileBytes("save.car");
    ASSERT_FALSE(saved.empty());
    std::remove("save.car");

    while (raceCountdown > -3.0f) ASSERT_TRUE(race.turn());
    ASSERT_TRUE(everyCarFinite());
    ASSERT_GT(playerCar.velocity.length() + otherCars[0].velocity.length(), 0.0f);

    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    setTestCounter(now.QuadPart + 30 * perSecond);
    const float countdownBefore = raceCountdown;
    ASSERT_TRUE(race.turn());
    EXPECT_EQ(frameTime, 1.0f / 60) << "the stall was more than one step";
    EXPECT_FLOAT_EQ(raceCountdown, countdownBefore - 1.0f / 60);
    for (int k = 0; k < 120; ++k) {
        ASSERT_TRUE(race.turn());
        ASSERT_TRUE(everyCarFinite()) << "turn " << k << " after the stall";
    }
    EXPECT_EQ(gameState, GameState::Race);
    EXPECT_FALSE(raceIsOver());
    for (int j = 0; j < 4; ++j) EXPECT_FALSE(otherCars[j].destroyed) << "opponent " << j;

    keyDown[VK_ESCAPE] = true;
    EXPECT_FALSE(race.turn());
    EXPECT_EQ(race.lastExitCode, 0);
    EXPECT_EQ(fileBytes("save.car"), saved);
}
