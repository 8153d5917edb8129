// test_paths.cpp - folders for the tests.
#include "test_paths.h"

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
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

const char workFolderPrefix[] = "korvalinth-test-";

// While a process lives it holds a shared lock on each work folder it made; the lock goes
// with the process however it ends, where the destructor above does not run (an abort, a
// crash, a kill at a timeout).
void holdWhileRunning(const fs::path& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) flock(fd, LOCK_SH);   // kept open until the process ends
}

// Whether the process runs: one that has ended but is not yet waited for (a zombie) still
// answers kill(pid, 0), and one of another user answers EPERM.
bool running(long pid) {
    if (kill(pid_t(pid), 0) != 0) return errno != ESRCH;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const size_t paren = line.rfind(')');
    return paren == std::string::npos || paren + 2 >= line.size() || line[paren + 2] != 'Z';
}

// A folder whose maker has ended: the process id its name ends with is no running
// process, and no process holds its lock (a folder of a test from before the locks, or of
// a process in another pid namespace, is kept while either says it is in use).
bool leftByAnEndedProcess(const fs::path& folder) {
    const std::string name = folder.filename().string();
    const size_t dash = name.rfind('-');
    if (dash == std::string::npos || dash + 1 == name.size()) return false;
    for (size_t i = dash + 1; i < name.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    const long pid = std::stol(name.substr(dash + 1));
    if (pid == long(getpid()) || running(pid)) return false;
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    const bool unlocked = flock(fd, LOCK_EX | LOCK_NB) == 0;
    close(fd);
    return unlocked;
}

// Once a process: the work folders that ended processes left in the temporary folder.
void removeLeftFolders(const fs::path& temp) {
    static bool swept = false;
    if (swept) return;
    swept = true;
    std::error_code error;
    for (fs::directory_iterator it(temp, fs::directory_options::skip_permission_denied, error), end;
         !error && it != end; it.increment(error)) {
        const fs::path folder = it->path();
        if (folder.filename().string().rfind(workFolderPrefix, 0) != 0) continue;
        std::error_code ignored;
        if (it->is_symlink(ignored) || !it->is_directory(ignored)) continue;
        if (leftByAnEndedProcess(folder)) fs::remove_all(folder, ignored);
    }
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
    // The id ends the name: it is what tells a folder in use from one left behind.
    std::string leaf = workFolderPrefix + name + "-" + std::to_string(getpid());
    for (char& c : leaf)
        if (c == '/') c = '-';
    const fs::path temp = fs::temp_directory_path();
    removeLeftFolders(temp);
    fs::path dir = temp / leaf;
    madeFolders().add(dir);
    fs::remove_all(dir);
    fs::create_directories(dir);
    holdWhileRunning(dir);
    if (enter) fs::current_path(dir);
    return dir.string();
}

void copyDataFilesHere() {
    fs::copy(dataDir(), fs::current_path(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

std::string freshWorkDirWithData(const std::string& name) {
    const std::string dir = freshWorkDir(name);
    copyDataFilesHere();
    return dir;
}
