// text_streams_test.cpp - the readers' rules: what a failed extraction leaves behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "test_paths.h"
#include "text_streams.h"

namespace {

struct ReadCase {
    const char* text;
    float first, second;   // the targets start at -1 and -2
};

TEST(TextStreams, ReadFloatKeepsTheTargetWhenNoNumberIsThere) {
    const ReadCase cases[] = {
        {"2.5 -3e2", 2.5f, -300.0f},
        {"  \r\n\t7\r\n8\r\n", 7.0f, 8.0f},    // any white space, CR LF included
        {"4\n", 4.0f, -2.0f},                  // end of the data
        {"", -1.0f, -2.0f},
        {"abc 5", -1.0f, -2.0f},               // a letter stops the reading
        {"6 x 9", 6.0f, -2.0f},
        {"1e999 3", -1.0f, -2.0f},             // out of range is no number either
    };
    for (const ReadCase& c : cases) {
        std::istringstream in(c.text);
        float first = -1, second = -2;
        readFloat(in, first);
        readFloat(in, second);
        EXPECT_EQ(first, c.first) << '"' << c.text << '"';
        EXPECT_EQ(second, c.second) << '"' << c.text << '"';
    }
}

TEST(TextStreams, ReadIntStoresZeroOnlyWhereTextIsNoNumber) {
    const ReadCase cases[] = {
        {"42 -7", 42, -7},
        {"12500\r\n4", 12500, 4},
        {"3", 3, -2},                   // end of the data keeps the next field
        {"", -1, -2},
        {"   \r\n", -1, -2},
        {"x 5", 0, -2},                 // a letter: 0, and the reading stops
        {"8 abc", 8, 0},
    };
    for (const ReadCase& c : cases) {
        std::istringstream in(c.text);
        int first = -1, second = -2;
        readInt(in, first);
        readInt(in, second);
        EXPECT_EQ(first, static_cast<int>(c.first)) << '"' << c.text << '"';
        EXPECT_EQ(second, static_cast<int>(c.second)) << '"' << c.text << '"';
    }
}

TEST(TextStreams, AFailedStreamKeepsEveryLaterField) {
    // A letter in a float field stops the reading for the ints after it as well.
    std::istringstream in("1.5 q 2 3");
    float a = 0, b = -1;
    int c = -1, d = -1;
    readFloat(in, a);
    readFloat(in, b);
    readInt(in, c);
    readInt(in, d);
    EXPECT_EQ(a, 1.5f);
    EXPECT_EQ(b, -1.0f);
    EXPECT_EQ(c, -1);
    EXPECT_EQ(d, -1);

    std::ifstream missing("no-such-folder/no-such-file.txt");
    int e = 9;
    float f = 9;
    readInt(missing, e);
    readFloat(missing, f);
    EXPECT_EQ(e, 9);
    EXPECT_EQ(f, 9.0f);
}

TEST(TextStreams, CreateIfMissingMakesAnEmptyFileAndKeepsAnExistingOne) {
    freshWorkDir("text-streams-create");
    const char* name = "windx.txt";
    EXPECT_EQ(createIfMissing(name), name);
    ASSERT_TRUE(std::filesystem::exists(name));
    EXPECT_EQ(std::filesystem::file_size(name), 0u);

    { std::ofstream("rockx.txt") << "10 20 0"; }
    std::ifstream in(createIfMissing("rockx.txt"));
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "10 20 0");
}

}  // namespace
