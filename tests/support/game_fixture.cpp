// game_fixture.cpp - the game's window, folder and start-up for each GL test.
#include "game_fixture.h"

#include <string>

#include "gl_test_context.h"
#include "start_up.h"
#include "test_paths.h"

std::string trackTestName(const ::testing::TestParamInfo<int>& info) {
    static const char* const names[] = {"Wind", "Earth", "Water", "Fire"};
    if (info.param < 1 || info.param > 4) return "Track" + std::to_string(info.param);
    return names[info.param - 1];
}

void GameFixture::SetUp() {
    // Tests of one suite run side by side: the folder is the test's own (freshWorkDir
    // adds the process and flattens a parameterised name's slashes).
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    freshWorkDirWithData(std::string(test->test_suite_name()) + "-" + test->name());
    window = openTestWindow(windowWidth, windowHeight);
    ASSERT_NE(window, nullptr);
    if (startUpChoice == StartUp::Run) ASSERT_TRUE(initGame());
}
