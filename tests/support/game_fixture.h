// game_fixture.h - the start the tests of the running game share: the game window, a
// work folder of the test's own holding the data files, and the game's start-up.
#ifndef KORVALINTH_TESTS_GAME_FIXTURE_H
#define KORVALINTH_TESTS_GAME_FIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "platform.h"

// The fixture the game's GL tests derive from (a parameterised one adds
// ::testing::WithParamInterface<T>). SetUp enters a fresh work folder named after the
// running test with every data file in it, opens the game window at the given size, and
// runs the start-up unless the test leaves it for later: a test that first changes the
// files the start-up reads runs initGame itself. A derived SetUp calls this one first
// and stops on its fatal failure (HasFatalFailure).
class GameFixture : public ::testing::Test {
protected:
    enum class StartUp { Run, Leave };

    explicit GameFixture(int width = 640, int height = 480, StartUp startUp = StartUp::Run)
        : windowWidth(width), windowHeight(height), startUpChoice(startUp) {}

    void SetUp() override;

    HWND window = nullptr;

private:
    int windowWidth, windowHeight;
    StartUp startUpChoice;
};

// For tests run on each of the four tracks (parameter 1 to 4): the test's name is its
// track's as the main menu lists it, so that each track reports on its own.
std::string trackTestName(const ::testing::TestParamInfo<int>& info);

#endif
