// save_file_test.cpp - the bytes of "save.car", its two readers, and saves that fail.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "save_file.h"
#include "test_paths.h"
#include "world.h"

namespace fs = std::filesystem;

namespace {

std::string fileBytes(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const char* name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
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
    EXPECT_EQ(fileBytes("save.car"), "1\r\n0\r\n1\r\n2\r\n1.4\r\n1.4\r\n3000\r\n1");
    EXPECT_FALSE(fs::exists("save.car.new"));
}

TEST_F(SaveFile, FloatsKeepSixSignificantDigitsAndIntsArePlainDecimal) {
    playerCar.color = Vector3(1, 250.0f / 255.0f, 0);
    playerCar.accel = 5.4f;
    playerCar.topSpeed = 3.4f;
    playerCar.boostPower = 2.4f;
    money = 12500;
    trackLevel = 4;
    saveCar();
    EXPECT_EQ(fileBytes("save.car"), "1\r\n0.980392\r\n0\r\n5.4\r\n3.4\r\n2.4\r\n12500\r\n4");

    money = -250;   // a debt is written with its sign
    saveCar();
    EXPECT_EQ(fileBytes("save.car"), "1\r\n0.980392\r\n0\r\n5.4\r\n3.4\r\n2.4\r\n-250\r\n4");
}

TEST_F(SaveFile, WhatIsSavedReadsBack) {
    playerCar.color = Vector3(0.2f, 0.7f, 0.4f);
    playerCar.accel = 3.4f;
    money = 4500;
    trackLevel = 3;
    saveCar();
    playerCar.color = Vector3(1, 1, 1);
    playerCar.accel = 2;
    money = 0;
    trackLevel = 1;
    readSaveFile(8);
    EXPECT_FLOAT_EQ(playerCar.color.x, 0.2f);
    EXPECT_FLOAT_EQ(playerCar.color.y, 0.7f);
    EXPECT_FLOAT_EQ(playerCar.color.z, 0.4f);
    EXPECT_FLOAT_EQ(playerCar.accel, 3.4f);
    EXPECT_EQ(money, 4500);
    EXPECT_EQ(trackLevel, 3);
}

struct ReadCase {
    const char* name;
    const char* bytes;          // null: no file
    int valueCount;
    float red, green, blue, accel, topSpeed, boostPower;
    int money, trackLevel;
};

// Before each read: colour (1, 0, 1), 2, 1.4, 1.4, money 3000, track 1.
const ReadCase readCases[] = {
    {"eight values, CR LF", "0.5\r\n0.25\r\n0.75\r\n3\r\n2\r\n1.8\r\n7000\r\n2", 8,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 7000, 2},
    {"LF only, final line end", "0.5\n0.25\n0.75\n3\n2\n1.8\n7000\n2\n", 8,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 7000, 2},
    {"blanks and tabs", " 0.5 0.25\t0.75 3 2 1.8 7000\t2", 8,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 7000, 2},
    {"six values", "0.5\r\n0.25\r\n0.75\r\n3\r\n2\r\n1.8\r\n", 8,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 3000, 1},
    {"letter in a float", "0.5\r\nred\r\n0.75\r\n3\r\n2\r\n1.8\r\n7000\r\n2", 8,
     0.5f, 0, 1, 2, 1.4f, 1.4f, 3000, 1},
    {"letter in an int", "0.5\r\n0.25\r\n0.75\r\n3\r\n2\r\n1.8\r\nlots\r\n2", 8,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 0, 1},
    {"letter in the track level", "0.5 0.25 0.75 3 2 1.8 7000 x", 8,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 7000, 0},
    {"key Q reads seven", "0.5 0.25 0.75 3 2 1.8 7000 2", 7,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 7000, 1},
    {"empty file", "", 8, 1, 0, 1, 2, 1.4f, 1.4f, 3000, 1},
    {"missing file", nullptr, 8, 1, 0, 1, 2, 1.4f, 1.4f, 3000, 1},
};

TEST_F(SaveFile, ReadersTakeWhatTheFileHoldsAndKeepTheRest) {
    for (const ReadCase& c : readCases) {
        SCOPED_TRACE(c.name);
        fs::remove("save.car");
        if (c.bytes) writeBytes("save.car", c.bytes);
        playerCar.color = Vector3(1, 0, 1);
        playerCar.accel = 2.0f;
        playerCar.topSpeed = 1.4f;
        playerCar.boostPower = 1.4f;
        money = 3000;
        trackLevel = 1;
        readSaveFile(c.valueCount);
        EXPECT_FLOAT_EQ(playerCar.color.x, c.red);
        EXPECT_FLOAT_EQ(playerCar.color.y, c.green);
        EXPECT_FLOAT_EQ(playerCar.color.z, c.blue);
        EXPECT_FLOAT_EQ(playerCar.accel, c.accel);
        EXPECT_FLOAT_EQ(playerCar.topSpeed, c.topSpeed);
        EXPECT_FLOAT_EQ(playerCar.boostPower, c.boostPower);
        EXPECT_EQ(money, c.money);
        EXPECT_EQ(trackLevel, c.trackLevel);
    }
    fs::remove("save.car");
    readSaveFile(8);
    EXPECT_FALSE(fs::exists("save.car")) << "reading must not create the file";
}

// ---- saves that cannot be completed ---------------------------------------------------

const char* const oldSave = "0.5\r\n0.5\r\n0.5\r\n3\r\n2\r\n1.8\r\n9000\r\n3";

TEST_F(SaveFile, AWriteThatFailsPartWayKeepsTheOldSave) {
    // As a full disk does: the file may not grow beyond a few bytes.
    writeBytes("save.car", oldSave);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tiny = saved;
    tiny.rlim_cur = 10;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    writeBytes("probe", std::string(64, 'x'));
    saveCar();
    setrlimit(RLIMIT_FSIZE, &saved);

    ASSERT_LT(fs::file_size("probe"), 64u) << "the limit must stop a write";

    EXPECT_EQ(fileBytes("save.car"), oldSave);
    EXPECT_FALSE(fs::exists("save.car.new"));
}

TEST_F(SaveFile, APendingFileThatCannotBeMadeKeepsTheOldSave) {
    writeBytes("save.car", oldSave);
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
    readSaveFile(8);
    EXPECT_EQ(money, 3000);
}

}  // namespace
