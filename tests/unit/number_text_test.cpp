// number_text_test.cpp - the text printNumber prints: the whole part of any float, in at
// most seven characters and a terminator.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "outline_text.h"

namespace {

struct NumberCase {
    float value;
    const char* text;
};

TEST(WholeNumberText, WholePartInSevenCharactersAtMost) {
    const float inf = std::numeric_limits<float>::infinity();
    const NumberCase cases[] = {
        {12.9f, "12"},
        {-3.7f, "-3"},
        {0.5f, "0"},
        {-0.5f, "0"},  // truncation toward zero leaves no sign
        {-0.0f, "0"},
        {0.0f, "0"},
        {9999999.0f, "9999999"},
        {-999999.0f, "-999999"},
        {1234567.9f, "1234567"},
        {-123456.9f, "-123456"},
        // Beyond seven characters the text holds at the largest that fits.
        {10000000.0f, "9999999"},
        {16777217.0f, "9999999"},
        {2147483648.0f, "9999999"},
        {1e30f, "9999999"},
        {inf, "9999999"},
        {-1000000.0f, "-999999"},
        {-2147483648.0f, "-999999"},
        {-1e30f, "-999999"},
        {-inf, "-999999"},
        {std::numeric_limits<float>::quiet_NaN(), "0"},
        {std::numeric_limits<float>::max(), "9999999"},
        {std::numeric_limits<float>::denorm_min(), "0"},
    };
    for (const NumberCase& c : cases) {
        // The function is given eight bytes; the rest of the array must stay untouched.
        char buffer[16];
        std::memset(buffer, 'x', sizeof buffer);
        wholeNumberText(c.value, buffer);
        EXPECT_STREQ(buffer, c.text) << "value " << c.value;
        for (size_t i = 8; i < sizeof buffer; ++i)
            EXPECT_EQ(buffer[i], 'x') << "value " << c.value << " wrote byte " << i;
    }
}

}  // namespace
