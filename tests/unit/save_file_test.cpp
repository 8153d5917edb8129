// save_file_test.cpp - the bytes of "save.car", its two readers, and saves that fail or
// may not be made.
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "file_bytes.h"
#include "save_file.h"
#include "test_paths.h"
#include "world.h"

namespace fs = std::filesystem;

namespace {

class SaveFile : public ::testing::Test {
protected:
    void SetUp() override {
        freshWorkDir(std::string("save-file-") +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
        trackLevel = 1;   // what the start-up sets before it reads the file
    }
};

TEST_F(SaveFile, AFirstRunWritesTheStartValues) {
    saveCar();
    EXPECT_EQ(fileBytes("save.car"), "1\r\n0\r\n1\r\n2\r\n1.4\r\n1.4\r\n3000\r\n1\r\n1");
    EXPECT_FALSE(fs::exists("save.car.new"));
}

TEST_F(SaveFile, FloatsKeepSixSignificantDigitsAndIntsArePlainDecimal) {
    playerCar.color = Vector3(1, 250.0f / 255.0f, 0);
    playerCar.accel = 5.4f;
    playerCar.topSpeed = 3.4f;
    playerCar.boostPower = 2.4f;
    playerCar.turnRate = 1.234567f;   // rounded to six significant digits
    money = 12500;
    trackLevel = 4;
    saveCar();
    EXPECT_EQ(fileBytes("save.car"),
              "1\r\n0.980392\r\n0\r\n5.4\r\n3.4\r\n2.4\r\n12500\r\n4\r\n1.23457");

    money = -250;   // a debt is written with its sign
    playerCar.turnRate = 4.5f;
    saveCar();
    EXPECT_EQ(fileBytes("save.car"),
              "1\r\n0.980392\r\n0\r\n5.4\r\n3.4\r\n2.4\r\n-250\r\n4\r\n4.5");
}

TEST_F(SaveFile, WhatIsSavedReadsBack) {
    playerCar.color = Vector3(0.2f, 0.7f, 0.4f);
    playerCar.accel = 3.4f;
    playerCar.turnRate = 3.0f;
    money = 4500;
    trackLevel = 3;
    saveCar();
    playerCar.color = Vector3(1, 1, 1);
    playerCar.accel = 2;
    playerCar.turnRate = 1;
    money = 0;
    trackLevel = 1;
    readSaveFile(9);
    EXPECT_FLOAT_EQ(playerCar.color.x, 0.2f);
    EXPECT_FLOAT_EQ(playerCar.color.y, 0.7f);
    EXPECT_FLOAT_EQ(playerCar.color.z, 0.4f);
    EXPECT_FLOAT_EQ(playerCar.accel, 3.4f);
    EXPECT_FLOAT_EQ(playerCar.turnRate, 3.0f);
    EXPECT_EQ(money, 4500);
    EXPECT_EQ(trackLevel, 3);
}

struct ReadCase {
    const char* name;
    const char* bytes;          // null: no file
    int valueCount;             // 0: key Q's reader
    float red, green, blue, accel, topSpeed, boostPower;
    int money, trackLevel;
    float turnRate;
};

// Before each read: colour (1, 0, 1), 2, 1.4, 1.4, money 3000, track 1, turn rate 1.
const ReadCase readCases[] = {
    {"nine values, CR LF", "0.5\r\n0.25\r\n0.75\r\n3\r\n2\r\n1.8\r\n7000\r\n2\r\n1.7", 9,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 7000, 2, 1.7f},
    {"eight values: the turn rate stays", "0.5\r\n0.25\r\n0.75\r\n3\r\n2\r\n1.8\r\n7000\r\n2", 9,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 7000, 2, 1},
    {"LF only, final line end", "0.5\n0.25\n0.75\n3\n2\n1.8\n7000\n2\n3\n", 9,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 7000, 2, 3},
    {"blanks and tabs", " 0.5 0.25\t0.75 3 2 1.8 7000\t2 4.5", 9,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 7000, 2, 4.5f},
    {"six values", "0.5\r\n0.25\r\n0.75\r\n3\r\n2\r\n1.8\r\n", 9,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 3000, 1, 1},
    {"letter in a float", "0.5\r\nred\r\n0.75\r\n3\r\n2\r\n1.8\r\n7000\r\n2\r\n3", 9,
     0.5f, 0, 1, 2, 1.4f, 1.4f, 3000, 1, 1},
    {"letter in an int", "0.5\r\n0.25\r\n0.75\r\n3\r\n2\r\n1.8\r\nlots\r\n2\r\n3", 9,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 0, 1, 1},
    {"letter in the track level", "0.5 0.25 0.75 3 2 1.8 7000 x 3", 9,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 7000, 0, 1},
    {"a reader of eight", "0.5 0.25 0.75 3 2 1.8 7000 2 3", 8,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 7000, 2, 1},
    {"key Q: all but the track level", "0.5 0.25 0.75 3 2 1.8 7000 2 3", 0,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 7000, 1, 3},
    {"key Q, eight values", "0.5 0.25 0.75 3 2 1.8 7000 2", 0,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 7000, 1, 1},
    {"empty file", "", 9, 1, 0, 1, 2, 1.4f, 1.4f, 3000, 1, 1},
    {"missing file", nullptr, 9, 1, 0, 1, 2, 1.4f, 1.4f, 3000, 1, 1},
    // Hostile values: what cannot be a figure or an int is not taken, and the reading
    // stops there, as at a letter.
    {"infinity", "0.5 0.25 0.75 inf 2 1.8 7000 2 3", 9, 0.5f, 0.25f, 0.75f, 2, 1.4f, 1.4f, 3000, 1, 1},
    {"not a number", "nan 0.25 0.75 3 2 1.8 7000 2 3", 9, 1, 0, 1, 2, 1.4f, 1.4f, 3000, 1, 1},
    {"beyond a float", "0.5 0.25 0.75 3 1e39 1.8 7000 2 3", 9, 0.5f, 0.25f, 0.75f, 3, 1.4f, 1.4f, 3000, 1, 1},
    {"money beyond an int", "0.5 0.25 0.75 3 2 1.8 99999999999 2 3", 9,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 3000, 1, 1},
    {"largest money, huge figures", "1e30 -5 0.75 -5 1e30 1e30 2147483647 3 -1e30", 9,
     1e30f, -5, 0.75f, -5, 1e30f, 1e30f, 2147483647, 3, -1e30f},
};

TEST_F(SaveFile, ReadersTakeWhatTheFileHoldsAndKeepTheRest) {
    for (const ReadCase& c : readCases) {
        SCOPED_TRACE(c.name);
        fs::remove("save.car");
        if (c.bytes) writeFileBytes("save.car", c.bytes);
        playerCar.color = Vector3(1, 0, 1);
        playerCar.accel = 2.0f;
        playerCar.topSpeed = 1.4f;
        playerCar.boostPower = 1.4f;
        playerCar.turnRate = 1.0f;
        money = 3000;
        trackLevel = 1;
        if (c.valueCount == 0)
            reloadSaveFile();
        else
            readSaveFile(c.valueCount);
        EXPECT_FLOAT_EQ(playerCar.color.x, c.red);
        EXPECT_FLOAT_EQ(playerCar.color.y, c.green);
        EXPECT_FLOAT_EQ(playerCar.color.z, c.blue);
        EXPECT_FLOAT_EQ(playerCar.accel, c.accel);
        EXPECT_FLOAT_EQ(playerCar.topSpeed, c.topSpeed);
        EXPECT_FLOAT_EQ(playerCar.boostPower, c.boostPower);
        EXPECT_FLOAT_EQ(playerCar.turnRate, c.turnRate);
        EXPECT_EQ(money, c.money);
        EXPECT_EQ(trackLevel, c.trackLevel);
    }
    fs::remove("save.car");
    readSaveFile(9);
    EXPECT_FALSE(fs::exists("save.car")) << "reading must not create the file";
}

// ---- saves that cannot be completed ---------------------------------------------------

const char* const oldSave = "0.5\r\n0.5\r\n0.5\r\n3\r\n2\r\n1.8\r\n9000\r\n3\r\n1.7";

TEST_F(SaveFile, AWriteThatFailsPartWayKeepsTheOldSave) {
    // As a full disk does: the file may not grow beyond a few bytes.
    writeFileBytes("save.car", oldSave);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tiny = saved;
    tiny.rlim_cur = 10;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    writeFileBytes("probe", std::string(64, 'x'));
    saveCar();
    setrlimit(RLIMIT_FSIZE, &saved);

    ASSERT_LT(fs::file_size("probe"), 64u) << "the limit must stop a write";

    EXPECT_EQ(fileBytes("save.car"), oldSave);
    EXPECT_FALSE(fs::exists("save.car.new"));
}

TEST_F(SaveFile, APendingFileThatCannotBeMadeKeepsTheOldSave) {
    writeFileBytes("save.car", oldSave);
    fs::create_directories("save.car.new/in-the-way");
    saveCar();
    EXPECT_EQ(fileBytes("save.car"), oldSave);
    EXPECT_TRUE(fs::is_directory("save.car.new/in-the-way"));
}

TEST_F(SaveFile, ASaveThatCannotTakeItsPlaceLeavesNothingBehind) {
    // A folder named save.car cannot be replaced by the file.
    fs::create_directories("save.car/in-the-way");
    saveCar();
    EXPECT_TRUE(fs::is_directory("save.car/in-the-way"));
    EXPECT_FALSE(fs::exists("save.car.new"));
}

TEST_F(SaveFile, ASaveIntoAFolderThatIsGoneDoesNothing) {
    std::string dir = freshWorkDir("save-file-gone");
    fs::remove(dir);   // the working directory itself no longer exists
    saveCar();
    EXPECT_FALSE(fs::exists(dir));
    readSaveFile(9);
    EXPECT_EQ(money, 3000);
}

// A plain writer fails to open a save the player may not write, and leaves it. So does
// the save: the old bytes stay, nothing is left beside them, and nothing is reported.
TEST_F(SaveFile, AReadOnlySaveStaysByteForByte) {
    writeFileBytes("save.car", oldSave);
    ASSERT_EQ(chmod("save.car", 0444), 0);
    saveCar();
    EXPECT_EQ(fileBytes("save.car"), oldSave);
    EXPECT_EQ(fs::status("save.car").permissions(), fs::perms(0444));
    EXPECT_FALSE(fs::exists("save.car.new"));
}

// Another user's save (0600) in a folder the player may write: the player can neither
// read it nor open it for writing. Run as root, the test plays that player as 'nobody'
// in a child process, since root may open anything.
TEST_F(SaveFile, AnotherUsersSaveStaysByteForByte) {
    const std::string dir = fs::current_path().string();
    writeFileBytes("save.car", oldSave);
    ASSERT_EQ(chmod("save.car", 0600), 0);
    ASSERT_EQ(chmod(dir.c_str(), 0777), 0);
    uid_t player = getuid();
    if (player == 0) {
        const passwd* nobody = getpwnam("nobody");
        if (!nobody) GTEST_SKIP() << "no user 'nobody' to play the other user as";
        player = nobody->pw_uid;
    } else {
        GTEST_SKIP() << "needs root to give the save to another user";
    }
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(player) != 0) _exit(2);
        // What the start-up and the save of a first run would do for this player.
        readSaveFile(9);
        if (money != 3000) _exit(3);
        saveCar();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(fileBytes("save.car"), oldSave);
    EXPECT_FALSE(fs::exists("save.car.new"));
}

TEST_F(SaveFile, APipeInPlaceOfTheSaveIsNeitherReadNorWritten) {
    ASSERT_EQ(mkfifo("save.car", 0644), 0);
    alarm(20);   // an open that waits for the pipe's other end ends the test
    money = 1234;
    readSaveFile(9);
    EXPECT_EQ(money, 1234);
    saveCar();
    alarm(0);
    EXPECT_TRUE(fs::is_fifo("save.car"));
    EXPECT_FALSE(fs::exists("save.car.new"));
}

}  // namespace
