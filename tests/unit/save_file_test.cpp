// save_file_test.cpp - the bytes of "save.car" and its two readers. What keeps a save
// whole where it is written is save_safety_test.cpp's.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "file_bytes.h"
#include "save_file.h"
#include "save_fixture.h"
#include "test_paths.h"
#include "world.h"

namespace fs = std::filesystem;

namespace {

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
    {"a byte-order mark before the first value", "\xEF\xBB\xBF" "0.5 0.25 0.75 3 2 1.8 7000 2 3", 9,
     0.5f, 0.25f, 0.75f, 3, 2, 1.8f, 7000, 2, 3},
    {"largest money, huge figures", "1e30 -5 0.75 -5 1e30 1e30 2147483647 3 -1e30", 9,
     1e30f, -5, 0.75f, -5, 1e30f, 1e30f, 2147483647, 3, -1e30f},
};

TEST_F(SaveFile, ReadersTakeWhatTheFileHoldsAndKeepTheRest) {
    for (const ReadCase& c : readCases) {
        SCOPED_TRACE(c.name);
        fs::remove("save.car");
        if (c.bytes) writeFileBytes("save.car", c.bytes);
        setFirstRunValues();
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
    setFirstRunValues();
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
