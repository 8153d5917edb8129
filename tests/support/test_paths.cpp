// test_paths.cpp - folders for the tests.
#include "test_paths.h"

#include <filesystem>

#include <unistd.h>

namespace fs = std::filesystem;

std::string sourceDir() { return KORV_SOURCE_DIR; }
std::string dataDir() { return KORV_DATA_DIR; }
std::string sharedTestDataDir() { return std::string(KORV_SHARED_DIR) + "/testdata"; }

bool sharedTestDataPresent() {
    return fs::exists(sharedTestDataDir() + "/bmp/manifest.tsv") &&
           fs::exists(sharedTestDataDir() + "/md2/manifest.tsv");
}

std::string freshWorkDir(const std::string& name, bool enter) {
    // Every test runs in a process of its own, and ctest runs them side by side: the
    // process id keeps tests of one suite (which share a name) out of each other's way.
    fs::path dir = fs::temp_directory_path() /
                   ("korvalinth-test-" + name + "-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    if (enter) fs::current_path(dir);
    return dir.string();
}

void copyDataFilesHere() {
    fs::copy(dataDir(), fs::current_path(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}
