// save_fixture.h - what the save tests share: the values of a first run and the names
// of the pending files a save writes before it takes the save's place.
#ifndef KORVALINTH_TESTS_SAVE_FIXTURE_H
#define KORVALINTH_TESTS_SAVE_FIXTURE_H

#include <gtest/gtest.h>

#include <string>

// Each save test in a fresh work folder named after it, with the track level the
// start-up sets before it reads the file.
class SaveFile : public ::testing::Test {
protected:
    void SetUp() override;
};

// The values of a first run, as the start-up sets them before it reads the file.
void setFirstRunValues();

// The name of pending file n of the given process for the save at path save:
// "<save>.new.<process>.<n>", the names a save tries from n = 0 on.
std::string pendingSaveName(const std::string& save, long long process, int n);

// How many regular files in the folder have a pending file's ".new." in their name.
int pendingFilesIn(const std::string& folder);

#endif
