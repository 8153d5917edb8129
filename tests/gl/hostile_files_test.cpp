// hostile_files_test.cpp - save files and data paths a player (or a tester) could leave
// in the game's folder: values no figure should hold, the largest money, and named
// pipes in place of the files the game reads. Each runs a real start-up, a race and the
// shop; under the sanitizer build any undefined behaviour on the way ends the test.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "file_bytes.h"
#include "gl_test_context.h"
#include "key_turns.h"
#include "odd_paths.h"
#include "race_frame.h"
#include "save_file.h"
#include "save_fixture.h"
#include "start_up.h"
#include "test_paths.h"
#include "window_procedure.h"
#include "world.h"

namespace fs = std::filesystem;

namespace {

const int keyA = 0x41, keyZ = 0x5A;

// Begin Race, then the whole countdown and twelve seconds with throttle and steering
// held, the boost requested once the countdown is over, at ten frames a second.
void raceWithEverythingHeld() {
    gameState = GameState::MainMenu;
    menuSelection = 1;
    turnWith({VK_RETURN});
    frameTime = 0.1f;
    for (int frame = 0; frame < 220 && gameState == GameState::Race; ++frame) {
        if (raceCountdown < 0)
            turnWith({keyA, VK_LEFT, keyZ});
        else
            turnWith({keyA, VK_LEFT});
        runRaceFrame();
    }
}

// Engine 1 on the shop's engine page: $1000 when the money is there.
void buyTheCheapestEngine() {
    gameState = GameState::SetupEngine;
    engineChoice = 1;
    buyKeyTimer = -1;
    turnWith({VK_RETURN});
}

struct HostileSave {
    const char* name;
    const char* bytes;
    bool shortRace;   // a wind outline of only its end pair: the race ends at once
    // What the start-up kept or took.
    float red, accel, boostPower, turnRate;
    int money, trackLevel;
    int moneyAfterRace;
};

// Before reading, the start-up has colour red 1, accel 2, boost power 1.4, turn rate 1,
// money 3000 and track 1. What cannot be a figure (not finite, beyond a float) or an int
// (beyond an int) is not taken and ends the reading there; finite figures are taken as
// they are, however odd, and keep their effect.
const HostileSave hostileSaves[] = {
    {"NotANumber", "nan\r\n0\r\n1\r\n2\r\n1.4\r\n1.4\r\n5000\r\n2\r\n1.5", false,
     1, 2, 1.4f, 1, 3000, 1, 3000},
    {"InfiniteEngine", "0.5\r\n0\r\n1\r\ninf\r\n1.4\r\n1.4\r\n5000\r\n2\r\n1.5", false,
     0.5f, 2, 1.4f, 1, 3000, 1, 3000},
    {"NegativeEngine", "1\r\n0\r\n1\r\n-5\r\n1.4\r\n1.4\r\n5000\r\n2\r\n1.5", false,
     1, -5, 1.4f, 1.5f, 5000, 2, 5000},
    {"NegativeBoost", "1\r\n0\r\n1\r\n2\r\n1.4\r\n-2\r\n5000\r\n3\r\n1.5", false,
     1, 2, -2, 1.5f, 5000, 3, 5000},
    {"HugeBoost", "1\r\n0\r\n1\r\n2\r\n1.4\r\n1e30\r\n5000\r\n1\r\n1.5", false,
     1, 2, 1e30f, 1.5f, 5000, 1, 5000},
    {"HugeEngineAndTurnRate", "1\r\n0\r\n1\r\n1e30\r\n1e30\r\n1e30\r\n5000\r\n4\r\n1e30", false,
     1, 1e30f, 1e30f, 1e30f, 5000, 4, 5000},
    {"BeyondAFloat", "1\r\n0\r\n1\r\n2\r\n1e39\r\n1.4\r\n5000\r\n2\r\n1.5", false,
     1, 2, 1.4f, 1, 3000, 1, 3000},
    {"HugeInts", "1\r\n0\r\n1\r\n3\r\n1.4\r\n1.4\r\n99999999999\r\n99999999999\r\n1.5", false,
     1, 3, 1.4f, 1, 3000, 1, 3000},
    {"HugeTrackLevel", "1\r\n0\r\n1\r\n3\r\n1.4\r\n1.4\r\n5000\r\n2147483647\r\n1.5", false,
     1, 3, 1.4f, 1.5f, 5000, 4, 5000},
    // Place 0 at once: the prize of 5000 saturates at the largest money.
    {"LargestMoney", "1\r\n0\r\n1\r\n2\r\n1.4\r\n1.4\r\n2147483647\r\n1\r\n1", true,
     1, 2, 1.4f, 1, INT_MAX, 1, INT_MAX},
};

void PrintTo(const HostileSave& c, std::ostream* out) { *out << c.name; }

class HostileSaveRun : public ::testing::TestWithParam<HostileSave> {};

TEST_P(HostileSaveRun, StartsRacesShopsAndSavesWithoutUndefinedBehaviour) {
    const HostileSave& c = GetParam();
    freshWorkDir(std::string("hostile-") + c.name);
    copyDataFilesHere();
    std::ofstream("save.car", std::ios::binary) << c.bytes;
    if (c.shortRace) {
        std::ofstream("windx.txt") << "0";
        std::ofstream("windy.txt") << "0";
    }
    ASSERT_NE(openTestWindow(), nullptr);
    ASSERT_TRUE(initGame());
    EXPECT_FLOAT_EQ(playerCar.color.x, c.red);
    EXPECT_FLOAT_EQ(playerCar.accel, c.accel);
    EXPECT_FLOAT_EQ(playerCar.boostPower, c.boostPower);
    EXPECT_FLOAT_EQ(playerCar.turnRate, c.turnRate);
    EXPECT_EQ(money, c.money);
    EXPECT_EQ(trackLevel, c.trackLevel);

    raceWithEverythingHeld();
    if (c.shortRace) {
        EXPECT_EQ(gameState, GameState::MainMenu) << "the race ended";
    }
    EXPECT_EQ(money, c.moneyAfterRace);

    const int beforeShop = money;
    buyTheCheapestEngine();
    EXPECT_EQ(money, beforeShop - 1000);
    EXPECT_FLOAT_EQ(playerCar.accel, 1.5f);

    // What a tester may leave at the names the save tries for its new file: a pipe (an
    // open for writing waits for a reader) and a link to another file. Neither is opened.
    writeFileBytes("victim.txt", "victim's own words");
    ASSERT_EQ(mkfifo(pendingSaveName("save.car", getpid(), 0).c_str(), 0644), 0);
    ASSERT_EQ(symlink("victim.txt", pendingSaveName("save.car", getpid(), 1).c_str()), 0);
    {
        const HangGuard guard;
        saveCar();   // Esc
    }
    EXPECT_TRUE(fs::is_fifo(pendingSaveName("save.car", getpid(), 0)));
    EXPECT_EQ(fileBytes("victim.txt"), "victim's own words");
    EXPECT_EQ(pendingFilesIn("."), 0);
    std::ifstream saved("save.car");
    float figure = 0;
    for (int value = 1; value <= 6; ++value) saved >> figure;
    int savedMoney = 0;
    saved >> savedMoney;
    EXPECT_EQ(savedMoney, money);
}

INSTANTIATE_TEST_SUITE_P(Table, HostileSaveRun, ::testing::ValuesIn(hostileSaves),
                         [](const ::testing::TestParamInfo<HostileSave>& info) {
                             return std::string(info.param.name);
                         });

// A named pipe waits in its open (or its first read) until another process opens the
// other end. In place of the save, the wind outline and the camera path, each counts as
// missing: the start-up, a race (which ends at once on an outline that gives nothing),
// the race end's save and Esc's all run through, and the pipes are still there.
//
// The camera streams are file-scope objects, opened before the entry point in the
// folder the process starts in; so the test starts its own executable again in a folder
// of pipes, and that process runs the game there.
const char* const pipeRunMark = "KORV_TEST_RUN_AMONG_PIPES";
const char* const pipes[] = {"save.car", "windx.txt", "windy.txt", "camerax.txt"};

void runTheGameAmongThePipes() {
    const HangGuard guard(60);
    ASSERT_NE(openTestWindow(), nullptr);
    ASSERT_TRUE(initGame());
    EXPECT_EQ(money, 3000);
    EXPECT_EQ(trackLevel, 1);
    gameState = GameState::Race;
    frameTime = 0.25f;
    for (int frame = 0; frame < 100 && gameState == GameState::Race; ++frame) runRaceFrame();
    EXPECT_EQ(gameState, GameState::MainMenu) << "the race on an empty outline ended";
    EXPECT_EQ(money, 8000);
    saveCar();   // Esc
}

TEST(HostilePaths, PipesInPlaceOfTheSaveAnOutlineAndTheCameraPath) {
    if (std::getenv(pipeRunMark)) {
        runTheGameAmongThePipes();
        return;
    }
    freshWorkDir("hostile-pipes");
    copyDataFilesHere();
    for (const char* name : pipes) {
        fs::remove(name);
        ASSERT_EQ(mkfifo(name, 0644), 0) << name;
    }
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    const std::string filter = std::string("--gtest_filter=") +
                               ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() +
                               "." + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv(pipeRunMark, "1", 1);
        execl(self.c_str(), self.c_str(), filter.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // The run carries its own hang guard: a blocked open ends it by SIGALRM.
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the run among the pipes hung or crashed";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the run among the pipes failed";
    for (const char* name : pipes) EXPECT_TRUE(fs::is_fifo(name)) << name;
    for (const fs::directory_entry& entry : fs::directory_iterator("."))
        EXPECT_NE(entry.path().filename().string().rfind("save.car.new", 0), 0u)
            << "a save's new file beside a pipe: " << entry.path();
}

}  // namespace
