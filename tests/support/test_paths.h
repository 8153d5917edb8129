// test_paths.h - where the tests find the generated data and the shared test files.
#ifndef KORVALINTH_TESTS_TEST_PATHS_H
#define KORVALINTH_TESTS_TEST_PATHS_H

#include <string>

std::string sourceDir();          // the repository
std::string dataDir();            // the data files made by the build
std::string binaryDir();          // the build folder
std::string sharedTestDataDir();  // ../shared/testdata beside the repository
// Whether the shared loader test files are there: a clone of the repository alone has
// none, and the tests that read them skip.
bool sharedTestDataPresent();
#define SKIP_WITHOUT_SHARED_TEST_DATA()                                                        \
    if (!sharedTestDataPresent())                                                             \
    GTEST_SKIP() << "the shared loader test files are not beside the repository ("          \
                 << sharedTestDataDir() << ")"
// A new empty folder of this process under the system's temporary folder, made the current directory when
// enter is true (the game reads and writes its files in the working directory). It is
// removed, with all it holds, when the process ends; what a process that was killed or
// crashed left is removed by the next test that makes one.
std::string freshWorkDir(const std::string& name, bool enter = true);
// Copies every generated data file into the current directory.
void copyDataFilesHere();
// freshWorkDir(name), entered, with the data files copied in: where the game starts up.
std::string freshWorkDirWithData(const std::string& name);

#endif
