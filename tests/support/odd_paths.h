// odd_paths.h - paths that are no regular file, for the tests of the file readers: a
// named pipe, a folder and a device under a data file's name.
#ifndef KORVALINTH_TESTS_ODD_PATHS_H
#define KORVALINTH_TESTS_ODD_PATHS_H

#include <array>
#include <string>

struct OddPaths {
    bool made = false;                // false when the pipe could not be made
    std::array<std::string, 3> names; // the pipe, the folder, the device
};

// In the current directory: "pipe" + extension a named pipe (an open for reading waits
// for a writer), "folder" + extension a folder and "device" + extension a link to
// /dev/zero (bytes without end).
OddPaths makeOddPaths(const std::string& extension);

// While it lives, an open or a read that blocks on a pipe ends the test (or the test's
// child process) by SIGALRM after the given time instead of hanging it until the
// suite's timeout.
class HangGuard {
public:
    explicit HangGuard(unsigned seconds = 20);
    ~HangGuard();
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;
};

#endif
