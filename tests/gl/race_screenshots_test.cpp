// race_screenshots_test.cpp - makes a picture of a race on each of the four tracks, a
// few seconds after the start, as PNG files: race-1.png to race-4.png in the folder that
// KORV_SCREENSHOT_DIR names, or in screenshots/ beside the test work folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "frame_pixels.h"
#include "gl_test_context.h"
#include "race_driver.h"
#include "race_frame.h"
#include "world.h"

namespace {

class RaceScreenshots : public ::testing::TestWithParam<int> {};

}  // namespace

TEST_P(RaceScreenshots, ARaceAfterTheStart) {
    const int track = GetParam();
    const int width = 640, height = 480;
    std::filesystem::path dir = screenshotDir();   // before the work folder changes
    std::filesystem::create_directories(dir);
    ASSERT_NE(openTestWindow(width, height), nullptr);
    ASSERT_TRUE(startRunOnTrack("race-screenshot-" + std::to_string(track), track));

    RaceDriver driver;
    frameTime = 1.0f / 60;
    while (raceCountdown > -2.5f) {
        driver.drive();
        frameTime = 1.0f / 60;
        runRaceFrame();
    }
    FramePixels pixels(GL_FRONT);   // the last frame, as it was swapped
    int lit = pixels.count([](Rgb c) { return c.r + c.g + c.b > 30; });
    EXPECT_GT(lit, width * height / 10) << "the picture shows the race, not an empty frame";
    std::filesystem::path file = dir / ("race-" + std::to_string(track) + ".png");
    ASSERT_TRUE(pixels.writePng(file.string())) << file;
    std::printf("wrote %s\n", file.string().c_str());
}

INSTANTIATE_TEST_SUITE_P(Tracks, RaceScreenshots, ::testing::Values(1, 2, 3, 4),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Track" + std::to_string(info.param);
                         });
