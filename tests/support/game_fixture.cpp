// game_fixture.cpp - the game's window, folder and start-up for each GL test.
#include "game_fixture.h"

#include <string>

#include "gl_test_context.h"
#include "start_up.h"
#include "test_paths.h"

void GameFixture::SetUp() {
    // Tests of one suite run side by side: the folder is the test's own (freshWorkDir
    // adds the process and flattens a parameterised name's slashes).
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    freshWorkDirWithData(std::string(test->test_suite_name()) + "-" + test->name());
    window = openTestWindow(width_, height_);
    ASSERT_NE(window, nullptr);
    if (startUp_ == StartUp::Run) ASSERT_TRUE(initGame());
}
