// test_paths.cpp - folders for the tests.
#include "test_paths.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The work folders this process made, removed when it ends: a test leaves nothing in the
// temporary folder, whether it passed or failed (a failure keeps its pictures under the
// build folder instead, see keptPicture).
class MadeFolders {
public:
    ~MadeFolders() {
        std::error_code ignored;
        if (!folders_.empty()) fs::current_path(fs::temp_directory_path(ignored), ignored);
        for (const fs::path& folder : folders_) fs::remove_all(folder, ignored);
    }
    void add(const fs::path& folder) {
        for (const fs::path& known : folders_)
            if (known == folder) return;
        folders_.push_back(folder);
    }

private:
    std::vector<fs::path> folders_;
};

MadeFolders& madeFolders() {
    static MadeFolders folders;
    return folders;
}

}  // namespace

std::string sourceDir() { return KORV_SOURCE_DIR; }
std::string dataDir() { return KORV_DATA_DIR; }
std::string binaryDir() { return KORV_BINARY_DIR; }
std::string sharedTestDataDir() { return std::string(KORV_SHARED_DIR) + "/testdata"; }

bool sharedTestDataPresent() {
    return fs::exists(sharedTestDataDir() + "/bmp/manifest.tsv") &&
           fs::exists(sharedTestDataDir() + "/md2/manifest.tsv");
}

std::string freshWorkDir(const std::string& name, bool enter) {
    // Every test runs in a process of its own, and ctest runs them side by side: the
    // process id keeps tests of one suite (which share a name) out of each other's way.
    // A parameterised test's name holds a slash; the folder stays one level deep.
    std::string leaf = "korvalinth-test-" + name + "-" + std::to_string(getpid());
    for (char& c : leaf)
        if (c == '/') c = '-';
    fs::path dir = fs::temp_directory_path() / leaf;
    madeFolders().add(dir);
    fs::remove_all(dir);
    fs::create_directories(dir);
    if (enter) fs::current_path(dir);
    return dir.string();
}

void copyDataFilesHere() {
    fs::copy(dataDir(), fs::current_path(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}
