// save_file_test.cpp - the bytes of "save.car", its two readers, and saves that fail or
// may not be made.
#include <gtest/gtest.h>

#include <grp.h>
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

// Regular files a save has left beside the save in the folder.
int pendingFilesIn(const std::string& folder) {
    int count = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().find(".new.") != std::string::npos &&
            fs::is_regular_file(entry.symlink_status()))
            ++count;
    return count;
}

// The values of a first run, as the start-up sets them before it reads the file.
void startValues() {
    playerCar.color = Vector3(1, 0, 1);
    playerCar.accel = 2.0f;
    playerCar.topSpeed = 1.4f;
    playerCar.boostPower = 1.4f;
    playerCar.turnRate = 1.0f;
    money = 3000;
    trackLevel = 1;
}

// Drops this process to the user's own uid, group and no other groups.
bool becomeUser(const passwd* user) {
    return setgroups(0, nullptr) == 0 && setgid(user->pw_gid) == 0 && setuid(user->pw_uid) == 0;
}

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
    EXPECT_EQ(pendingFilesIn("."), 0);
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

// Before each read: the start values.
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
        startValues();
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

TEST_F(SaveFile, ASaveThatCannotTakeItsPlaceLeavesNothingBehind) {
    // A folder named save.car cannot be replaced by the file.
    fs::create_directories("save.car/in-the-way");
    saveCar();
    EXPECT_TRUE(fs::is_directory("save.car/in-the-way"));
    EXPECT_EQ(pendingFilesIn("."), 0);
}

TEST_F(SaveFile, ASaveIntoAFolderThatIsGoneDoesNothing) {
    std::string dir = freshWorkDir("save-file-gone");
    fs::remove(dir);   // the working directory itself no longer exists
    money = 4321;
    saveCar();
    EXPECT_FALSE(fs::exists(dir));
    money = 1234;
    readSaveFile(9);
    EXPECT_EQ(money, 1234) << "nothing was saved, so nothing may be read";
}

// A plain writer fails to open a save the player may not write, and leaves it. So does
// the save: the old bytes stay, nothing is left beside them, and nothing is reported.
TEST_F(SaveFile, AReadOnlySaveStaysByteForByte) {
    writeFileBytes("save.car", oldSave);
    ASSERT_EQ(chmod("save.car", 0444), 0);
    saveCar();
    EXPECT_EQ(fileBytes("save.car"), oldSave);
    EXPECT_EQ(fs::status("save.car").permissions(), fs::perms(0444));
    EXPECT_EQ(pendingFilesIn("."), 0);
}

// Another user's save (0600) in a folder the player may write: the player can neither
// read it nor open it for writing. Run as root, the test plays that player as 'nobody'
// in a child process, since root may open anything.
TEST_F(SaveFile, AnotherUsersSaveStaysByteForByte) {
    const std::string dir = fs::current_path().string();
    writeFileBytes("save.car", oldSave);
    ASSERT_EQ(chmod("save.car", 0600), 0);
    ASSERT_EQ(chmod(dir.c_str(), 0777), 0);
    if (getuid() != 0)
        GTEST_SKIP() << "only root can make a file of another user for this account to meet";
    const passwd* nobody = getpwnam("nobody");
    if (!nobody) GTEST_SKIP() << "no user 'nobody' to play the player as";
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!becomeUser(nobody)) _exit(2);
        // What the start-up and the save of a first run would do for this player.
        money = 3000;
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
    EXPECT_EQ(pendingFilesIn("."), 0);
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
    EXPECT_EQ(pendingFilesIn("."), 0);
}

// ---- where the save goes, and what cannot get in its way ------------------------------

// The values of a first run, with money 4242, as they are saved.
const char* const newSave = "1\r\n0\r\n1\r\n2\r\n1.4\r\n1.4\r\n4242\r\n1\r\n1";

void saveNew() {
    startValues();
    money = 4242;
    saveCar();
}

// The name a save of this process tries first for its new file.
std::string firstPendingName(const std::string& save) {
    return save + ".new." + std::to_string(getpid()) + ".0";
}

// Runs body in a child process; its exit status, or -1 when a signal ended it.
int inChild(int (*body)()) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) _exit(body());
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

const char* const victim = "victim's own words";

struct SaveCase {
    const char* name;
    void (*run)();   // in a fresh folder, with oldSave in save.car
};

const SaveCase saveCases[] = {
    {"a planted link at a pending name is not written through",
     [] {
         writeFileBytes("victim.txt", victim);
         ASSERT_EQ(symlink("victim.txt", "save.car.new"), 0);
         ASSERT_EQ(symlink("victim.txt", firstPendingName("save.car").c_str()), 0);
         saveNew();
         EXPECT_EQ(fileBytes("victim.txt"), victim);
         EXPECT_EQ(fileBytes("save.car"), newSave);
         EXPECT_FALSE(fs::is_symlink("save.car"));
     }},
    {"a dangling link at a pending name creates nothing",
     [] {
         fs::create_directory("elsewhere");
         ASSERT_EQ(symlink("elsewhere/made.txt", firstPendingName("save.car").c_str()), 0);
         saveNew();
         EXPECT_FALSE(fs::exists("elsewhere/made.txt"));
         EXPECT_EQ(fileBytes("save.car"), newSave);
     }},
    {"a folder and a pipe at pending names do not block the save",
     [] {
         fs::create_directories(firstPendingName("save.car") + "/in-the-way");
         ASSERT_EQ(mkfifo((firstPendingName("save.car") + "1").c_str(), 0644), 0);
         ASSERT_EQ(mkfifo("save.car.new", 0644), 0);
         saveNew();
         EXPECT_EQ(fileBytes("save.car"), newSave);
         EXPECT_TRUE(fs::is_directory(firstPendingName("save.car") + "/in-the-way"));
     }},
    {"the pending file of a game that died is removed, a running game's kept",
     [] {
         const pid_t dead = fork();
         if (dead == 0) _exit(0);
         ASSERT_EQ(waitpid(dead, nullptr, 0), dead);
         const std::string stale = "save.car.new." + std::to_string(dead) + ".0";
         const std::string running = "save.car.new." + std::to_string(getppid()) + ".3";
         writeFileBytes(stale, "0.5\r\n0.5");
         writeFileBytes(running, "0.5\r\n0.5");
         saveNew();
         EXPECT_FALSE(fs::exists(stale));
         EXPECT_TRUE(fs::exists(running));
         fs::remove(running);
         EXPECT_EQ(fileBytes("save.car"), newSave);
     }},
    {"a linked save updates the file it leads to and stays a link",
     [] {
         fs::create_directory("elsewhere");
         fs::rename("save.car", "elsewhere/real.car");
         ASSERT_EQ(symlink("elsewhere/real.car", "save.car"), 0);
         saveNew();
         EXPECT_TRUE(fs::is_symlink("save.car"));
         EXPECT_EQ(fs::read_symlink("save.car"), "elsewhere/real.car");
         EXPECT_EQ(fileBytes("elsewhere/real.car"), newSave);
         EXPECT_EQ(pendingFilesIn("elsewhere"), 0);
     }},
    {"a save made under umask 0222 can be saved again",
     [] {
         fs::remove("save.car");
         const mode_t mask = umask(0222);
         startValues();
         saveCar();
         saveNew();
         umask(mask);
         EXPECT_EQ(fileBytes("save.car"), newSave);
         EXPECT_NE(fs::status("save.car").permissions() & fs::perms::owner_write, fs::perms::none);
     }},
    {"a byte-order mark before the first value is passed over",
     [] {
         writeFileBytes("save.car", std::string("\xEF\xBB\xBF") + oldSave);
         startValues();
         readSaveFile(9);
         EXPECT_FLOAT_EQ(playerCar.color.x, 0.5f);
         EXPECT_EQ(money, 9000);
         EXPECT_FLOAT_EQ(playerCar.turnRate, 1.7f);
     }},
    {"a write beyond the file-size limit keeps the old save and the game",
     [] {
         // As a full disk does: the limit lets no save through, and a limit the game
         // did not expect would end it at the write.
         const int status = inChild([] {
             startValues();
             readSaveFile(9);
             rlimit tiny = {10, 10};
             if (setrlimit(RLIMIT_FSIZE, &tiny) != 0) return 2;
             saveNew();
             return 0;
         });
         EXPECT_EQ(status, 0) << "-1: ended by a signal";
         EXPECT_EQ(fileBytes("save.car"), oldSave);
     }},
    {"a save the player may write in a folder the player may not is saved",
     [] {
         ASSERT_EQ(chmod("save.car", 0666), 0);
         if (getuid() != 0) {
             ASSERT_EQ(chmod(".", 0555), 0);
             saveNew();
             chmod(".", 0755);
         } else {
             // Root may write any folder: the player is 'nobody' in a child.
             ASSERT_EQ(chmod(".", 0755), 0);
             if (!getpwnam("nobody")) GTEST_SKIP() << "no user 'nobody' to play the player as";
             const int status = inChild([] {
                 if (!becomeUser(getpwnam("nobody"))) return 2;
                 if (access(".", W_OK) == 0) return 3;
                 saveNew();
                 return 0;
             });
             ASSERT_EQ(status, 0);
         }
         EXPECT_EQ(fileBytes("save.car"), newSave);
     }},
};

TEST_F(SaveFile, EachSaveGoesWhereThePlayersFileIsAndNowhereElse) {
    for (const SaveCase& c : saveCases) {
        SCOPED_TRACE(c.name);
        freshWorkDir(std::string("save-case-") + std::to_string(&c - saveCases));
        writeFileBytes("save.car", oldSave);
        c.run();
        EXPECT_EQ(pendingFilesIn("."), 0);
    }
}

// Two saves in one folder, the second made at each step of the first (its new file
// made, written): each save is whole when it ends, and the last one wins.
const char* const innerSave = "1\r\n0\r\n1\r\n2\r\n1.4\r\n1.4\r\n123456789\r\n1\r\n1";
SaveStep interleaveAt = SaveStep::Created;
std::string seenAfterInnerSave;

void saveInBetween(SaveStep step) {
    if (step != interleaveAt) return;
    saveStepSeam = nullptr;
    const int outerMoney = money;
    money = 123456789;
    saveCar();
    money = outerMoney;
    seenAfterInnerSave = fileBytes("save.car");
}

TEST_F(SaveFile, TwoSavesInOneFolderNeverMixTheirBytes) {
    for (SaveStep step : {SaveStep::Created, SaveStep::Written}) {
        SCOPED_TRACE(step == SaveStep::Created ? "made" : "written");
        freshWorkDir(std::string("save-interleave-") + (step == SaveStep::Created ? "made" : "written"));
        writeFileBytes("save.car", oldSave);
        interleaveAt = step;
        seenAfterInnerSave.clear();
        saveStepSeam = saveInBetween;
        saveNew();
        saveStepSeam = nullptr;
        EXPECT_EQ(seenAfterInnerSave, innerSave);
        EXPECT_EQ(fileBytes("save.car"), newSave);
        EXPECT_EQ(pendingFilesIn("."), 0);
    }
}

// Each value needs all six significant digits; one written with fewer reads back as
// another figure.
TEST_F(SaveFile, EveryValueRoundTripsAtSixSignificantDigits) {
    const float figures[7] = {0.123457f, 0.987654f, 0.0392157f, 3.45678f, 5.12345f, 2.34567f, 1.98765f};
    playerCar.color = Vector3(figures[0], figures[1], figures[2]);
    playerCar.accel = figures[3];
    playerCar.topSpeed = figures[4];
    playerCar.boostPower = figures[5];
    playerCar.turnRate = figures[6];
    money = 1234567;
    trackLevel = 3;
    saveCar();
    startValues();
    readSaveFile(9);
    const float read[7] = {playerCar.color.x, playerCar.color.y, playerCar.color.z, playerCar.accel,
                           playerCar.topSpeed, playerCar.boostPower, playerCar.turnRate};
    for (int i = 0; i < 7; ++i) {
        char wanted[32], got[32];
        std::snprintf(wanted, sizeof wanted, "%.6g", static_cast<double>(figures[i]));
        std::snprintf(got, sizeof got, "%.6g", static_cast<double>(read[i]));
        EXPECT_STREQ(got, wanted) << "value " << (i < 6 ? i + 1 : 9);
    }
    EXPECT_EQ(money, 1234567);
    EXPECT_EQ(trackLevel, 3);
}

}  // namespace
