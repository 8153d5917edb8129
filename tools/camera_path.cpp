// camera_path.cpp - a flight through timed key positions, one pair per frame.
//
// The countdown of the first race lasts 10 seconds and the race frame takes one pair a
// frame while it runs, with the eye at height 1 (the walls' height, so the walls and their
// posts line the view like the sides of a road) and looking at the player's car on the
// grid at (40, 0, -25). The flight starts far down the wind track's first straight with
// the lane and the grid ahead, comes back over the start line, passes the cars on their
// outer side and swings round behind the player to (35, -25), the eye's place when the
// path ends. It lasts 9 seconds at 60 frames a second and keeps 6 units from every wall
// and post; the rest of the countdown shows the chase view (the car's first update turns
// its direction to (1, 0, 1), so the chase point is then (35, -30)). The pair (35, 0)
// ends it (the game puts the chase z saved at the first frame, -25, in place of that 0).
#include "camera_path.h"

#include <cmath>

namespace {

struct CameraKey {
    double seconds;
    GroundPoint eye;
};

const CameraKey flight[] = {
    {0.0, {330, -15}},   // far down the first straight, looking back at the grid
    {2.6, {175, -14}},
    {4.3, {102, -12}},   // over the start line
    {5.8, {64, -8}},     // past the cars on their outer side
    {7.2, {44, -10}},
    {8.2, {30, -19}},    // round behind the player
    {9.0, {35, -25}},
};
const GroundPoint endPair{35, 0};

// Catmull-Rom through the keys, with the end keys repeated.
GroundPoint along(double seconds) {
    const int count = sizeof flight / sizeof flight[0];
    int k = 0;
    while (k + 2 < count && seconds > flight[k + 1].seconds) ++k;
    const GroundPoint p0 = flight[k > 0 ? k - 1 : 0].eye, p1 = flight[k].eye, p2 = flight[k + 1].eye,
                      p3 = flight[k + 2 < count ? k + 2 : count - 1].eye;
    const double u = (seconds - flight[k].seconds) / (flight[k + 1].seconds - flight[k].seconds);
    auto blend = [u](double a, double b, double c, double d) {
        return 0.5 * (2 * b + (-a + c) * u + (2 * a - 5 * b + 4 * c - d) * u * u + (-a + 3 * b - 3 * c + d) * u * u * u);
    };
    return {blend(p0.x, p1.x, p2.x, p3.x), blend(p0.z, p1.z, p2.z, p3.z)};
}

}  // namespace

std::vector<GroundPoint> buildCameraPath() {
    std::vector<GroundPoint> path;
    const double last = flight[sizeof flight / sizeof flight[0] - 1].seconds;
    const int frames = static_cast<int>(std::lround(last * cameraFramesPerSecond));
    for (int f = 0; f < frames; ++f) {
        GroundPoint eye = along(static_cast<double>(f) / cameraFramesPerSecond);
        // A z of 0 ends the path, so the flight's crossings of z = 0 (the outer wall's
        // line) must not land on it once written with two decimals.
        if (std::fabs(eye.z) < 0.01) eye.z = eye.z < 0 ? -0.01 : 0.01;
        path.push_back(eye);
    }
    path.push_back(endPair);
    return path;
}
