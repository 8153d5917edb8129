// save_fixture.cpp - first-run values and pending file names for the save tests.
#include "save_fixture.h"

#include <filesystem>

#include "test_paths.h"
#include "world.h"

namespace fs = std::filesystem;

void SaveFile::SetUp() {
    freshWorkDir(std::string("save-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    trackLevel = 1;
}

void setFirstRunValues() {
    playerCar.color = Vector3(1, 0, 1);
    playerCar.accel = 2.0f;
    playerCar.topSpeed = 1.4f;
    playerCar.boostPower = 1.4f;
    playerCar.turnRate = 1.0f;
    money = 3000;
    trackLevel = 1;
}

std::string pendingSaveName(const std::string& save, long long process, int n) {
    return save + ".new." + std::to_string(process) + "." + std::to_string(n);
}

int pendingFilesIn(const std::string& folder) {
    int count = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().find(".new.") != std::string::npos &&
            fs::is_regular_file(entry.symlink_status()))
            ++count;
    return count;
}
