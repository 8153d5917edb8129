// text_streams_test.cpp - the readers' rules: what a failed extraction leaves behind.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <locale>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "odd_paths.h"
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

TEST(TextStreams, OpeningCreatesAMissingFileOnlyWhenAskedAndKeepsAnExistingOne) {
    freshWorkDir("text-streams-create");
    std::ifstream made = openTextInput("windx.txt", true);
    EXPECT_TRUE(made.is_open());
    ASSERT_TRUE(std::filesystem::exists("windx.txt"));
    EXPECT_EQ(std::filesystem::file_size("windx.txt"), 0u);

    std::ifstream notMade = openTextInput("save.car", false);
    EXPECT_FALSE(notMade.is_open());
    EXPECT_FALSE(std::filesystem::exists("save.car"));

    { std::ofstream("rockx.txt") << "10 20 0"; }
    std::ifstream in = openTextInput("rockx.txt", true);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "10 20 0");
}

// A pipe would hold the open (or the reads) until something wrote to it; a folder or a
// device is no text file. Each counts as missing: not opened, not replaced, nothing read.
TEST(TextStreams, WhatIsNoRegularFileIsNeitherOpenedNorCreated) {
    freshWorkDir("text-streams-odd");
    const OddPaths odd = makeOddPaths(".txt");
    ASSERT_TRUE(odd.made);
    // A link that leads nowhere yet: a plain open for writing would make its target.
    std::filesystem::create_directory("elsewhere");
    std::filesystem::create_symlink("elsewhere/made.txt", "dangling.txt");
    std::vector<std::string> names(odd.names.begin(), odd.names.end());
    names.push_back("dangling.txt");
    const HangGuard guard;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const auto kind = std::filesystem::symlink_status(name).type();
        std::ifstream in = openTextInput(name.c_str(), true);
        EXPECT_FALSE(in.is_open());
        float value = 7;
        readFloat(in, value);
        EXPECT_EQ(value, 7.0f);
        EXPECT_EQ(std::filesystem::symlink_status(name).type(), kind);
    }
    EXPECT_FALSE(std::filesystem::exists("elsewhere/made.txt"));
}

// An editor's byte-order mark before the first number; only there is it passed over.
TEST(TextStreams, AByteOrderMarkBeforeTheFirstNumberIsPassedOver) {
    freshWorkDir("text-streams-mark");
    const ReadCase cases[] = {
        {"\xEF\xBB\xBF" "10 20", 10, 20},
        {"\xEF\xBB\xBF" "\r\n-3\r\n4", -3, 4},
        {"\xEF\xBB\xBF", -1, -2},
        {"7", 7, -2},                       // shorter than a mark
        {"\xEF\xBB" "5 6", -1, -2},           // part of a mark is no number
        {"1 \xEF\xBB\xBF" "2", 1, -2},          // nor is a mark after the first number
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
        { std::ofstream("firex.txt", std::ios::binary) << c.text; }
        std::ifstream in = openTextInput("firex.txt", true);
        float first = -1, second = -2;
        readFloat(in, first);
        readFloat(in, second);
        EXPECT_EQ(first, c.first);
        EXPECT_EQ(second, c.second);
    }
}

// The stream library takes no "inf" or "nan"; a library that did (or a locale's own
// number reader, as here) must not bring one into the game.
struct NonFiniteNumbers : std::num_get<char> {
    iter_type do_get(iter_type in, iter_type end, std::ios_base& str, std::ios_base::iostate& err,
                     float& value) const override {
        std::string word;
        while (in != end && !std::isspace(static_cast<unsigned char>(*in))) word += *in++;
        value = std::strtof(word.c_str(), nullptr);
        if (in == end) err |= std::ios_base::eofbit;
        (void)str;
        return in;
    }
};

TEST(TextStreams, AFloatThatIsNotFiniteCannotBeRead) {
    for (const char* text : {"inf 3", "-inf 3", "nan 3", "1e39 3"}) {
        std::istringstream in(text);
        in.imbue(std::locale(in.getloc(), new NonFiniteNumbers));
        float first = -1, second = -2;
        readFloat(in, first);
        readFloat(in, second);
        EXPECT_EQ(first, -1.0f) << text;
        EXPECT_EQ(second, -2.0f) << text << ": the reading stops there";
    }
    std::istringstream in("2.5 3");
    in.imbue(std::locale(in.getloc(), new NonFiniteNumbers));
    float finite = 0;
    readFloat(in, finite);
    EXPECT_EQ(finite, 2.5f) << "the locale's reader is used";
}

TEST(TextStreams, AnIntBeyondTheRangeIsNotTaken) {
    for (const char* text : {"99999999999 5", "-99999999999 5", "2147483648 5"}) {
        std::istringstream in(text);
        int first = -1, second = -2;
        readInt(in, first);
        readInt(in, second);
        EXPECT_EQ(first, -1) << text;
        EXPECT_EQ(second, -2) << text;
    }
    std::istringstream in("2147483647 -2147483648");
    int largest = 0, smallest = 0;
    readInt(in, largest);
    readInt(in, smallest);
    EXPECT_EQ(largest, 2147483647);
    EXPECT_EQ(smallest, -2147483647 - 1);
}

// Hands out its text, then fails as a disk does: the file stream's buffer throws on a
// read error and the stream turns that into its bad state.
class FailingBuffer : public std::streambuf {
public:
    explicit FailingBuffer(const std::string& text) : text_(text) {
        setg(&text_[0], &text_[0], &text_[0] + text_.size());
    }

protected:
    int_type underflow() override { throw std::ios_base::failure("read error"); }

private:
    std::string text_;
};

TEST(TextStreams, AReadErrorEndsTheDataWhereItHappens) {
    // "3" is cut off by the error: it is not taken, as if the file ended before it.
    for (const char* text : {"1.5 12 3", "1.5 12 "}) {
        FailingBuffer buffer(text);
        std::istream in(&buffer);
        float f = -1, g = -2;
        int i = -1, j = -2;
        readFloat(in, f);
        readInt(in, i);
        readInt(in, j);
        readFloat(in, g);
        EXPECT_EQ(f, 1.5f) << text;
        EXPECT_EQ(i, 12) << text;
        EXPECT_EQ(j, -2) << text;
        EXPECT_EQ(g, -2.0f) << text;
        EXPECT_TRUE(in.bad()) << text;
    }
}

}  // namespace
