// save_safety_test.cpp - a save holds where the player keeps it: it goes where the
// player's file is and nowhere else, it is made or refused as a plain writer would be,
// and no failure, refusal or kill at any moment leaves less than the old save or the new
// one.
#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "file_system.h"
#include "odd_paths.h"
#include "save_file.h"
#include "save_fixture.h"
#include "save_replace.h"
#include "test_paths.h"
#include "world.h"

namespace fs = std::filesystem;

namespace {

const char* const oldSave = "0.5\r\n0.5\r\n0.5\r\n3\r\n2\r\n1.8\r\n9000\r\n3\r\n1.7";
// The values of a first run, with money 4242, as they are saved: shorter than oldSave.
const char* const newSave = "1\r\n0\r\n1\r\n2\r\n1.4\r\n1.4\r\n4242\r\n1\r\n1";
// An old save shorter than newSave.
const char* const shortOldSave = "1 0 1 2 1.4 1.4 5 1 1";

void saveNew() {
    setFirstRunValues();
    money = 4242;
    saveCar();
}

std::string firstPendingName(const std::string& save) { return pendingSaveName(save, getpid(), 0); }

// The values a reader takes from the bytes: the first nine words.
std::vector<std::string> savedValues(const std::string& bytes) {
    std::istringstream in(bytes);
    std::vector<std::string> values;
    std::string value;
    while (values.size() < 9 && in >> value) values.push_back(value);
    return values;
}

// Sets the file's time back, as for a file left there that long ago.
void age(const std::string& path, std::chrono::minutes by) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - by);
}

// Plants regular files at the first count pending names of this process.
void plantPendingFiles(int count) {
    for (int n = 0; n < count; ++n) writeFileBytes(pendingSaveName("save.car", getpid(), n), "planted");
}

// Drops this process to the user's own uid and group, with group (when not 0) as its one
// other group.
bool becomeUser(const passwd* user, gid_t group = 0) {
    const int groupCount = group != 0 ? 1 : 0;
    return setgroups(groupCount, &group) == 0 && setgid(user->pw_gid) == 0 && setuid(user->pw_uid) == 0;
}

// Runs body in a child process; its exit status, or -1 when a signal ended it.
int inChild(int (*body)()) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) _exit(body());
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// ---- saves that cannot be made --------------------------------------------------------

TEST_F(SaveFile, ASaveThatCannotTakeItsPlaceLeavesNothingBehind) {
    // A folder named save.car cannot be replaced by the file.
    fs::create_directories("save.car/in-the-way");
    saveCar();
    EXPECT_TRUE(fs::is_directory("save.car/in-the-way"));
    EXPECT_EQ(pendingFilesIn("."), 0);
}

TEST_F(SaveFile, ASaveIntoAFolderThatIsGoneDoesNothing) {
    std::string dir = freshWorkDir("save-file-gone");
    fs::remove(dir);   // the working directory itself no longer exists
    money = 4321;
    saveCar();
    EXPECT_FALSE(fs::exists(dir));
    money = 1234;
    readSaveFile(9);
    EXPECT_EQ(money, 1234) << "nothing was saved, so nothing may be read";
}

// A plain writer fails to open a save the player may not write, and leaves it. So does
// the save: the old bytes stay, nothing is left beside them, and nothing is reported.
TEST_F(SaveFile, AReadOnlySaveStaysByteForByte) {
    writeFileBytes("save.car", oldSave);
    ASSERT_EQ(chmod("save.car", 0444), 0);
    saveCar();
    EXPECT_EQ(fileBytes("save.car"), oldSave);
    EXPECT_EQ(fs::status("save.car").permissions(), fs::perms(0444));
    EXPECT_EQ(pendingFilesIn("."), 0);
}

// Another user's save (0600) in a folder the player may write: the player can neither
// read it nor open it for writing. Run as root, the test plays that player as 'nobody'
// in a child process, since root may open anything.
TEST_F(SaveFile, AnotherUsersSaveStaysByteForByte) {
    const std::string dir = fs::current_path().string();
    writeFileBytes("save.car", oldSave);
    ASSERT_EQ(chmod("save.car", 0600), 0);
    ASSERT_EQ(chmod(dir.c_str(), 0777), 0);
    if (getuid() != 0)
        GTEST_SKIP() << "only root can make a file of another user for this account to meet";
    const passwd* nobody = getpwnam("nobody");
    if (!nobody) GTEST_SKIP() << "no user 'nobody' to play the player as";
    const int status = inChild([] {
        if (!becomeUser(getpwnam("nobody"))) return 2;
        // What the start-up and the save of a first run would do for this player.
        money = 3000;
        readSaveFile(9);
        if (money != 3000) return 3;
        saveCar();
        return 0;
    });
    ASSERT_EQ(status, 0);
    EXPECT_EQ(fileBytes("save.car"), oldSave);
    EXPECT_EQ(pendingFilesIn("."), 0);
}

TEST_F(SaveFile, APipeInPlaceOfTheSaveIsNeitherReadNorWritten) {
    ASSERT_EQ(mkfifo("save.car", 0644), 0);
    const HangGuard guard;   // an open that waits for the pipe's other end ends the test
    money = 1234;
    readSaveFile(9);
    EXPECT_EQ(money, 1234);
    saveCar();
    EXPECT_TRUE(fs::is_fifo("save.car"));
    EXPECT_EQ(pendingFilesIn("."), 0);
}

// ---- where the save goes, and what cannot get in its way ------------------------------

const char* const victim = "victim's own words";

struct SaveCase {
    const char* name;
    void (*run)();   // in a fresh folder, with oldSave in save.car
};

const SaveCase saveCases[] = {
    {"planted links at pending names are not written through",
     [] {
         writeFileBytes("victim.txt", victim);
         ASSERT_EQ(symlink("victim.txt", firstPendingName("save.car").c_str()), 0);
         ASSERT_EQ(symlink("victim.txt", pendingSaveName("save.car", getpid(), 1).c_str()), 0);
         saveNew();
         EXPECT_EQ(fileBytes("victim.txt"), victim);
         EXPECT_EQ(fileBytes("save.car"), newSave);
         EXPECT_FALSE(fs::is_symlink("save.car"));
     }},
    {"a dangling link at a pending name creates nothing",
     [] {
         fs::create_directory("elsewhere");
         ASSERT_EQ(symlink("elsewhere/made.txt", firstPendingName("save.car").c_str()), 0);
         saveNew();
         EXPECT_FALSE(fs::exists("elsewhere/made.txt"));
         EXPECT_EQ(fileBytes("save.car"), newSave);
     }},
    {"a pipe and a folder at pending names do not block the save",
     [] {
         ASSERT_EQ(mkfifo(firstPendingName("save.car").c_str(), 0644), 0);
         fs::create_directories(pendingSaveName("save.car", getpid(), 1) + "/in-the-way");
         const HangGuard guard;   // an open of the pipe for writing would wait for a reader
         saveNew();
         EXPECT_EQ(fileBytes("save.car"), newSave);
         EXPECT_TRUE(fs::is_fifo(firstPendingName("save.car")));
         EXPECT_TRUE(fs::is_directory(pendingSaveName("save.car", getpid(), 1) + "/in-the-way"));
     }},
    {"a planted file at a pending name is neither written over nor taken as the save",
     [] {
         writeFileBytes(firstPendingName("save.car"), victim);
         saveNew();
         EXPECT_EQ(fileBytes(firstPendingName("save.car")), victim);
         EXPECT_EQ(fileBytes("save.car"), newSave);
         fs::remove(firstPendingName("save.car"));
     }},
    {"an old pending file of a game that died is removed; a young one and a running game's are kept",
     [] {
         const pid_t dead = fork();
         if (dead == 0) _exit(0);
         ASSERT_EQ(waitpid(dead, nullptr, 0), dead);
         // A young one may be the save in progress of a game on another machine that
         // shares the folder, or in another process namespace: its process is not
         // running here, yet it is not stale.
         const std::string stale = pendingSaveName("save.car", dead, 0);
         const std::string young = pendingSaveName("save.car", dead, 1);
         const std::string running = pendingSaveName("save.car", getppid(), 3);
         for (const std::string& name : {stale, young, running}) writeFileBytes(name, "0.5\r\n0.5");
         age(stale, std::chrono::minutes(2));
         age(running, std::chrono::minutes(2));
         saveNew();
         EXPECT_FALSE(fs::exists(stale));
         EXPECT_TRUE(fs::exists(young));
         EXPECT_TRUE(fs::exists(running));
         fs::remove(young);
         fs::remove(running);
         EXPECT_EQ(fileBytes("save.car"), newSave);
     }},
    {"an old pending file of this game's own process number, which this game did not make, is removed",
     [] {
         // As in a container, where every game is process 1: a game before this one
         // with the same number was killed during its save.
         const std::string old = pendingSaveName("save.car", getpid(), 5);
         const std::string young = pendingSaveName("save.car", getpid(), 6);
         writeFileBytes(old, "0.5\r\n0.5");
         writeFileBytes(young, "0.5\r\n0.5");
         age(old, std::chrono::minutes(2));
         saveNew();
         EXPECT_FALSE(fs::exists(old));
         EXPECT_TRUE(fs::exists(young));
         fs::remove(young);
         EXPECT_EQ(fileBytes("save.car"), newSave);
     }},
    {"no process number, however long, in a pending name ends the save",
     [] {
         // Beyond 32 bits (a Windows process id), and beyond 64.
         const std::string beyond32 = "save.car.new.9999999999.0";
         const std::string beyond64 = "save.car.new.99999999999999999999999999.0";
         writeFileBytes(beyond32, "0.5\r\n0.5");
         writeFileBytes(beyond64, "0.5\r\n0.5");
         age(beyond64, std::chrono::minutes(2));
         saveNew();
         EXPECT_EQ(fileBytes("save.car"), newSave);
         EXPECT_TRUE(fs::exists(beyond32)) << "young: kept";
         EXPECT_FALSE(fs::exists(beyond64)) << "old, and no process of that number runs";
         fs::remove(beyond32);
     }},
    {"a hundred young files at this game's pending names do not stop the save",
     [] {
         plantPendingFiles(100);
         saveNew();
         EXPECT_EQ(fileBytes("save.car"), newSave);
         EXPECT_EQ(pendingFilesIn("."), 100);
         for (int n = 0; n < 100; ++n) EXPECT_EQ(fileBytes(pendingSaveName("save.car", getpid(), n)), "planted");
         for (int n = 0; n < 100; ++n) fs::remove(pendingSaveName("save.car", getpid(), n));
     }},
    {"a rename that fails once the new file is whole leaves the save written in place",
     [] {
         // The new file taken away just before its rename: the rename fails.
         saveStepSeam = [](SaveStep step) {
             if (step == SaveStep::Written) fs::rename(firstPendingName("save.car"), "taken");
         };
         saveNew();
         saveStepSeam = nullptr;
         EXPECT_EQ(fileBytes("save.car"), newSave);
         EXPECT_EQ(fileBytes("taken"), newSave);
     }},
    {"a linked save updates the file it leads to and stays a link",
     [] {
         fs::create_directory("elsewhere");
         fs::rename("save.car", "elsewhere/real.car");
         ASSERT_EQ(symlink("elsewhere/real.car", "save.car"), 0);
         saveNew();
         EXPECT_TRUE(fs::is_symlink("save.car"));
         EXPECT_EQ(fs::read_symlink("save.car"), "elsewhere/real.car");
         EXPECT_EQ(fileBytes("elsewhere/real.car"), newSave);
         EXPECT_EQ(pendingFilesIn("elsewhere"), 0);
     }},
    {"a save made under umask 0222 can be saved again",
     [] {
         fs::remove("save.car");
         const mode_t mask = umask(0222);
         setFirstRunValues();
         saveCar();
         saveNew();
         umask(mask);
         EXPECT_EQ(fileBytes("save.car"), newSave);
         EXPECT_NE(fs::status("save.car").permissions() & fs::perms::owner_write, fs::perms::none);
     }},
    {"a save made under umask 0777 can be read and saved again",
     [] {
         fs::remove("save.car");
         const mode_t mask = umask(0777);
         setFirstRunValues();
         saveCar();
         saveNew();
         umask(mask);
         const fs::perms owner = fs::perms::owner_read | fs::perms::owner_write;
         EXPECT_EQ(fs::status("save.car").permissions() & owner, owner);
         setFirstRunValues();
         readSaveFile(9);
         EXPECT_EQ(money, 4242);
     }},
    {"a write beyond the file-size limit keeps the old save and the game",
     [] {
         // As a full disk does: the limit lets no save through, and a limit the game
         // did not expect would end it at the write.
         const int status = inChild([] {
             failWritesBeyondTheSizeLimit();   // as the start-up does
             rlimit tiny = {10, 10};
             if (setrlimit(RLIMIT_FSIZE, &tiny) != 0) return 2;
             saveNew();
             return 0;
         });
         EXPECT_EQ(status, 0) << "-1: ended by a signal";
         EXPECT_EQ(fileBytes("save.car"), oldSave);
     }},
    {"a save the player may write in a folder the player may not is saved",
     [] {
         ASSERT_EQ(chmod("save.car", 0666), 0);
         if (getuid() != 0) {
             ASSERT_EQ(chmod(".", 0555), 0);
             saveNew();
             chmod(".", 0755);
         } else {
             // Root may write any folder: the player is 'nobody' in a child.
             ASSERT_EQ(chmod(".", 0755), 0);
             if (!getpwnam("nobody")) GTEST_SKIP() << "no user 'nobody' to play the player as";
             const int status = inChild([] {
                 if (!becomeUser(getpwnam("nobody"))) return 2;
                 if (access(".", W_OK) == 0) return 3;
                 saveNew();
                 return 0;
             });
             ASSERT_EQ(status, 0);
         }
         EXPECT_EQ(fileBytes("save.car"), newSave);
     }},
};

TEST_F(SaveFile, EachSaveGoesWhereThePlayersFileIsAndNowhereElse) {
    for (const SaveCase& c : saveCases) {
        SCOPED_TRACE(c.name);
        freshWorkDir(std::string("save-case-") + std::to_string(&c - saveCases));
        writeFileBytes("save.car", oldSave);
        c.run();
        EXPECT_EQ(pendingFilesIn("."), 0);
    }
}

// Two saves in one folder, the second made at each step of the first (its new file
// made, written): each save is whole when it ends, and the last one wins. The first
// save's new file is its own game's even when it looks old: the second leaves it.
const char* const innerSave = "1\r\n0\r\n1\r\n2\r\n1.4\r\n1.4\r\n123456789\r\n1\r\n1";
SaveStep interleaveAt = SaveStep::Created;
std::string seenAfterInnerSave;
bool outerFileKept = false;

void saveInBetween(SaveStep step) {
    if (step != interleaveAt) return;
    saveStepSeam = nullptr;
    age(firstPendingName("save.car"), std::chrono::minutes(2));
    const int outerMoney = money;
    money = 123456789;
    saveCar();
    money = outerMoney;
    seenAfterInnerSave = fileBytes("save.car");
    outerFileKept = fs::exists(firstPendingName("save.car"));
}

TEST_F(SaveFile, TwoSavesInOneFolderNeverMixTheirBytes) {
    for (SaveStep step : {SaveStep::Created, SaveStep::Written}) {
        SCOPED_TRACE(step == SaveStep::Created ? "made" : "written");
        freshWorkDir(std::string("save-interleave-") + (step == SaveStep::Created ? "made" : "written"));
        writeFileBytes("save.car", oldSave);
        interleaveAt = step;
        seenAfterInnerSave.clear();
        outerFileKept = false;
        saveStepSeam = saveInBetween;
        saveNew();
        saveStepSeam = nullptr;
        EXPECT_EQ(seenAfterInnerSave, innerSave);
        EXPECT_TRUE(outerFileKept);
        EXPECT_EQ(fileBytes("save.car"), newSave);
        EXPECT_EQ(pendingFilesIn("."), 0);
    }
}

// ---- failures and kills at every step ---------------------------------------------------

enum class Way { Rename, InPlace };
enum class Outcome { Old, New };

struct StepCase {
    const char* name;
    Way way;              // in place: every pending name of the game's process taken
    const char* old;      // the save before
    bool kill;            // the game killed at step
    SaveStep step;
    long sizeLimit;       // the process's file-size limit, or -1
    Outcome reads;        // what the save reads as afterwards
};

const StepCase stepCases[] = {
    {"killed once the new file is made", Way::Rename, oldSave, true, SaveStep::Created, -1, Outcome::Old},
    {"killed before the rename", Way::Rename, oldSave, true, SaveStep::Written, -1, Outcome::Old},
    {"in place, not killed, a longer old save", Way::InPlace, oldSave, false, SaveStep::Created, -1, Outcome::New},
    {"in place, not killed, a shorter old save", Way::InPlace, shortOldSave, false, SaveStep::Created, -1, Outcome::New},
    {"in place, killed before the write", Way::InPlace, oldSave, true, SaveStep::Opened, -1, Outcome::Old},
    {"in place, killed before the cut", Way::InPlace, oldSave, true, SaveStep::Overwritten, -1, Outcome::New},
    {"in place, killed after the write, a shorter old save", Way::InPlace, shortOldSave, true,
     SaveStep::Overwritten, -1, Outcome::New},
    {"in place, no byte may be written", Way::InPlace, oldSave, false, SaveStep::Created, 0, Outcome::Old},
    {"in place, the write cut short inside the old bytes", Way::InPlace, oldSave, false, SaveStep::Created, 10,
     Outcome::Old},
    {"in place, the write cut short past the old bytes", Way::InPlace, shortOldSave, false, SaveStep::Created,
     30, Outcome::Old},
};

const StepCase* currentStep = nullptr;

TEST_F(SaveFile, NoFailureOrKillLeavesLessThanTheOldSaveOrTheNew) {
    for (const StepCase& c : stepCases) {
        SCOPED_TRACE(c.name);
        freshWorkDir(std::string("save-step-") + std::to_string(&c - stepCases));
        writeFileBytes("save.car", c.old);
        currentStep = &c;
        // The game's process: its pending names are its own, and it may be killed.
        const int status = inChild([] {
            failWritesBeyondTheSizeLimit();   // as the start-up does
            if (currentStep->way == Way::InPlace) plantPendingFiles(100);
            if (currentStep->sizeLimit >= 0) {
                const rlimit limit = {rlim_t(currentStep->sizeLimit), rlim_t(currentStep->sizeLimit)};
                if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
            }
            if (currentStep->kill)
                saveStepSeam = [](SaveStep step) {
                    if (step == currentStep->step) _exit(9);
                };
            saveNew();
            return 0;
        });
        EXPECT_EQ(status, c.kill ? 9 : 0) << "the child did not reach its step, or was ended by a signal (-1)";
        const char* const wanted = c.reads == Outcome::Old ? c.old : newSave;
        EXPECT_EQ(savedValues(fileBytes("save.car")), savedValues(wanted)) << fileBytes("save.car");
        if (!c.kill) {
            EXPECT_EQ(fileBytes("save.car"), wanted);
        }
    }
}

// ---- saves where a new file cannot take the save's place as it was --------------------

// A single-file volume, as a container mounts one file: the rename over it is refused
// (EBUSY), and the save is written into the file itself.
TEST_F(SaveFile, ASaveThatIsAVolumeOfItsOwnIsWrittenInPlace) {
    writeFileBytes("volume.car", oldSave);
    writeFileBytes("save.car", "");
    const int status = inChild([] {
        // A mount of the test's own, seen by this child alone.
        if (unshare(CLONE_NEWNS) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return 77;
        if (mount("volume.car", "save.car", nullptr, MS_BIND, nullptr) != 0) return 77;
        saveNew();
        return fileBytes("save.car") == newSave ? 0 : 3;
    });
    if (status == 77) GTEST_SKIP() << "this account may not make a mount of its own";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(fileBytes("volume.car"), newSave);
    EXPECT_EQ(pendingFilesIn("."), 0);
}

struct OwnerCase {
    const char* name;
    mode_t folderMode;
    mode_t saveMode;
    bool playerInSavesGroup;
};

// The save belongs to 'daemon', group 'games'; the player is 'nobody'. A new file made by
// the player would be the player's, so the save is written into the file itself, which
// keeps its owner, group and mode, and the file's owner can go on saving.
const OwnerCase ownerCases[] = {
    {"a save shared by a group, saved by another member", 0777, 0664, true},
    {"another user's save the player may write, in a shared folder with the sticky bit", 01777, 0666, false},
};

const OwnerCase* currentOwnerCase = nullptr;

TEST_F(SaveFile, ASaveOfAnotherOwnerKeepsItsOwnerGroupAndMode) {
    if (getuid() != 0) GTEST_SKIP() << "only root can play two users";
    const passwd* owner = getpwnam("daemon");
    const passwd* player = getpwnam("nobody");
    const group* games = getgrnam("games");
    if (!owner || !player || !games) GTEST_SKIP() << "no users 'daemon' and 'nobody' and group 'games'";
    for (const OwnerCase& c : ownerCases) {
        SCOPED_TRACE(c.name);
        const std::string dir = freshWorkDir(std::string("save-owner-") + std::to_string(&c - ownerCases));
        writeFileBytes("save.car", oldSave);
        ASSERT_EQ(chown("save.car", owner->pw_uid, games->gr_gid), 0);
        ASSERT_EQ(chmod("save.car", c.saveMode), 0);
        ASSERT_EQ(chmod(dir.c_str(), c.folderMode), 0);
        currentOwnerCase = &c;
        const int status = inChild([] {
            if (!becomeUser(getpwnam("nobody"), currentOwnerCase->playerInSavesGroup ? getgrnam("games")->gr_gid : 0))
                return 2;
            saveNew();
            return 0;
        });
        ASSERT_EQ(status, 0);
        EXPECT_EQ(fileBytes("save.car"), newSave);
        struct stat info;
        ASSERT_EQ(stat("save.car", &info), 0);
        EXPECT_EQ(info.st_uid, owner->pw_uid);
        EXPECT_EQ(info.st_gid, games->gr_gid);
        EXPECT_EQ(info.st_mode & 07777, c.saveMode);
        EXPECT_EQ(pendingFilesIn("."), 0);
    }
}

}  // namespace
