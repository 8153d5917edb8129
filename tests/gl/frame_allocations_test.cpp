// frame_allocations_test.cpp - the game allocates nothing on the heap while it runs its
// frames: a few hundred main-loop turns of each menu page and of a race on each track,
// counted allocation by allocation, must make none.
//
// How allocations are caught: this executable replaces the global operator new and
// delete and defines malloc, calloc and realloc itself (forwarding to glibc's own
// allocator, so every block is still glibc's and its free() stays as it is). The whole
// process allocates through them: the game, the C++ runtime, SDL, Mesa and its LLVM.
//
// Which allocations are the game's: only those made on the game's thread while a loop
// turn runs, and of those only the ones whose caller is the game's own code. The caller
// is found by walking the stack from the allocation: frames in this probe and in the C
// and C++ runtime libraries (libc, libm, libstdc++, libgcc_s) are passed over, since they
// allocate on behalf of whoever called them (a std::string grows in libstdc++ for the
// code that appended to it). The first frame beyond them decides: inside this
// executable's text, which holds the engine, the game and the platform layer (linked
// statically), it is the game's and counts; inside any other shared object (the GL
// driver, GLU, SDL, FreeType) it is that library's own work and does not. The driver's
// worker threads never count: the game runs on one thread. Deciding by the caller's
// address, rather than by flags set around parts of the game's code, holds however the
// game interleaves its own work with GL calls.
//
// The sanitizer builds bring their own allocator, which these replacements would bypass;
// there the counting tests skip.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <link.h>
#include <pthread.h>
#include <unwind.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "game_fixture.h"
#include "game_state.h"
#include "main_loop.h"
#include "race_driver.h"
#include "start_up.h"
#include "window_procedure.h"
#include "world.h"

#if defined(__SANITIZE_ADDRESS__)
#define KORV_COUNTING_ALLOCATOR 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORV_COUNTING_ALLOCATOR 0
#endif
#endif
#ifndef KORV_COUNTING_ALLOCATOR
#define KORV_COUNTING_ALLOCATOR 1
#endif

#if KORV_COUNTING_ALLOCATOR

// Everything the allocation path runs lives in one section, so that the stack walk can
// pass over the probe's own frames by address, however the compiler inlined them.
#define PROBE __attribute__((section("korv_alloc_probe"), noinline))

extern "C" {
extern char __start_korv_alloc_probe[];
extern char __stop_korv_alloc_probe[];
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
}

namespace {

struct AddressRange {
    uintptr_t begin, end;
};

const int maxRanges = 32;
AddressRange gameText[maxRanges];
int gameTextCount = 0;
AddressRange runtimeText[maxRanges];
int runtimeTextCount = 0;
uintptr_t executableBase = 0;

std::atomic<bool> counting{false};
pthread_t gameThread;
thread_local bool insideProbe = false;

std::atomic<long> gameAllocations{0};
const int maxCallers = 8;
uintptr_t callers[maxCallers];
std::atomic<int> callerCount{0};

bool isRuntimeLibrary(const char* path) {
    const char* name = std::strrchr(path, '/');
    name = name ? name + 1 : path;
    const char* runtimes[] = {"libc.so", "libm.so", "libstdc++.so", "libgcc_s.so"};
    for (const char* runtime : runtimes)
        if (std::strncmp(name, runtime, std::strlen(runtime)) == 0) return true;
    return false;
}

int noteObject(dl_phdr_info* info, size_t, void*) {
    // The executable is the object without a name (the vDSO has one).
    const bool executable = info->dlpi_name == nullptr || info->dlpi_name[0] == '\0';
    const bool runtime = !executable && isRuntimeLibrary(info->dlpi_name);
    if (executable && executableBase == 0) executableBase = info->dlpi_addr;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_LOAD || !(segment.p_flags & PF_X)) continue;
        AddressRange range = {info->dlpi_addr + segment.p_vaddr,
                              info->dlpi_addr + segment.p_vaddr + segment.p_memsz};
        if (executable && gameTextCount < maxRanges) gameText[gameTextCount++] = range;
        if (runtime && runtimeTextCount < maxRanges) runtimeText[runtimeTextCount++] = range;
    }
    return 0;
}

PROBE bool inRanges(const AddressRange* ranges, int count, uintptr_t address) {
    for (int i = 0; i < count; ++i)
        if (address >= ranges[i].begin && address < ranges[i].end) return true;
    return false;
}

enum Verdict { undecided, gameCode, otherLibrary };

struct Walk {
    Verdict verdict;
    uintptr_t caller;
};

PROBE _Unwind_Reason_Code judgeFrame(_Unwind_Context* context, void* argument) {
    Walk* walk = static_cast<Walk*>(argument);
    uintptr_t ip = _Unwind_GetIP(context);
    if (ip == 0) return _URC_END_OF_STACK;
    uintptr_t at = ip - 1;   // inside the call instruction, not after it
    if (at >= uintptr_t(__start_korv_alloc_probe) && at < uintptr_t(__stop_korv_alloc_probe))
        return _URC_NO_REASON;
    if (inRanges(runtimeText, runtimeTextCount, at)) return _URC_NO_REASON;
    walk->verdict = inRanges(gameText, gameTextCount, at) ? gameCode : otherLibrary;
    walk->caller = at;
    return _URC_END_OF_STACK;
}

PROBE void noteAllocation() {
    if (!counting.load(std::memory_order_relaxed)) return;
    if (!pthread_equal(pthread_self(), gameThread)) return;
    if (insideProbe) return;   // the stack walk itself may allocate
    insideProbe = true;
    Walk walk = {undecided, 0};
    _Unwind_Backtrace(judgeFrame, &walk);
    if (walk.verdict == gameCode) {
        gameAllocations.fetch_add(1);
        int slot = callerCount.fetch_add(1);
        if (slot < maxCallers) callers[slot] = walk.caller;
    }
    insideProbe = false;
}

}  // namespace

extern "C" {
PROBE void* malloc(size_t size) noexcept {
    noteAllocation();
    return __libc_malloc(size);
}
PROBE void* calloc(size_t count, size_t size) noexcept {
    noteAllocation();
    return __libc_calloc(count, size);
}
PROBE void* realloc(void* block, size_t size) noexcept {
    noteAllocation();
    return __libc_realloc(block, size);
}
}

namespace {
PROBE void* allocate(size_t size) {
    noteAllocation();
    return __libc_malloc(size ? size : 1);
}
PROBE void* allocateAligned(size_t size, std::align_val_t alignment) {
    noteAllocation();
    return __libc_memalign(size_t(alignment), size ? size : 1);
}

// Out of line, so that the compiler does not pair glibc's free with operator new.
PROBE void release(void* block) { std::free(block); }
}  // namespace

PROBE void* operator new(size_t size) {
    void* block = allocate(size);
    if (!block) throw std::bad_alloc();
    return block;
}
PROBE void* operator new[](size_t size) {
    void* block = allocate(size);
    if (!block) throw std::bad_alloc();
    return block;
}
PROBE void* operator new(size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
PROBE void* operator new[](size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
PROBE void* operator new(size_t size, std::align_val_t alignment) {
    void* block = allocateAligned(size, alignment);
    if (!block) throw std::bad_alloc();
    return block;
}
PROBE void* operator new[](size_t size, std::align_val_t alignment) {
    void* block = allocateAligned(size, alignment);
    if (!block) throw std::bad_alloc();
    return block;
}
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, size_t) noexcept { release(block); }
void operator delete[](void* block, size_t) noexcept { release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { release(block); }
void operator delete(void* block, std::align_val_t) noexcept { release(block); }
void operator delete[](void* block, std::align_val_t) noexcept { release(block); }
void operator delete(void* block, size_t, std::align_val_t) noexcept { release(block); }
void operator delete[](void* block, size_t, std::align_val_t) noexcept { release(block); }

#endif  // KORV_COUNTING_ALLOCATOR

namespace {

const int keyA = 0x41;
const int keyD = 0x44;

#if KORV_COUNTING_ALLOCATOR
// Where the compiler must assume a block is used, so that it makes the allocation.
void* volatile keptBlock;

void prepareProbe() {
    static bool prepared = false;
    if (prepared) return;
    dl_iterate_phdr(noteObject, nullptr);
    gameThread = pthread_self();
    // The first stack walk of a process sets up the unwinder; let that happen here.
    Walk walk = {undecided, 0};
    _Unwind_Backtrace(judgeFrame, &walk);
    prepared = true;
}

void startCounting() {
    gameAllocations = 0;
    callerCount = 0;
    counting = true;
}

long stopCounting() {
    counting = false;
    return gameAllocations.load();
}

// Where the counted allocations came from, as function and line, for the failure text.
std::string describeCallers() {
    std::string text;
    int count = std::min(callerCount.load(), maxCallers);
    for (int i = 0; i < count; ++i) {
        char command[256];
        std::snprintf(command, sizeof command, "addr2line -f -i -C -p -e /proc/%d/exe 0x%lx",
                      int(getpid()), static_cast<unsigned long>(callers[i] - executableBase));
        text += "  called from ";
        FILE* pipe = popen(command, "r");
        char line[512];
        bool described = false;
        while (pipe && std::fgets(line, sizeof line, pipe)) {
            text += described ? "    " : "";
            text += line;
            described = true;
        }
        if (!described) text += "?\n";
        if (pipe) pclose(pipe);
    }
    return text;
}
#endif

struct FrameScene {
    const char* name;
    int gameState;   // the screen, or GameState::Race
    int track;       // for a race
};

void PrintTo(const FrameScene& scene, std::ostream* out) { *out << scene.name; }

// Follows the track outline through the race keys, as a player holds them.
class KeyDriver {
public:
    void setKeys() {
        keyDown[keyA] = keyDown[keyD] = keyDown[VK_LEFT] = keyDown[VK_RIGHT] = false;
        const HoverCar& car = playerCar;
        if (car.destroyed || trackPointCount < 2) return;
        for (int advances = 0; advances <= trackPointCount; ++advances) {
            if (horizontalDistance(trackPoints[waypoint], car.position) >= 25) break;
            waypoint = waypoint < trackPointCount ? waypoint + 1 : 2;
        }
        const double pi = 3.14159265358979323846;
        double error = std::atan2(double(trackPoints[waypoint].x) - car.position.x,
                                  double(trackPoints[waypoint].z) - car.position.z) -
                       (double(car.heading) + pi / 4);
        while (error > pi) error -= 2 * pi;
        while (error < -pi) error += 2 * pi;
        if (error > 0.02) keyDown[VK_LEFT] = true;
        else if (error < -0.02) keyDown[VK_RIGHT] = true;
        const double speed = car.velocity.length();
        if (std::fabs(error) < 0.7 && speed < 0.8) keyDown[keyA] = true;
        else if (speed >= 0.8) keyDown[keyD] = true;
    }

private:
    int waypoint = 1;
};

// The window at the size of the configuration that the tests link; a race scene starts
// up from a save on its track.
class FrameAllocations : public GameFixture, public ::testing::WithParamInterface<FrameScene> {
protected:
    FrameAllocations()
        : GameFixture(configuredScreenWidth, configuredScreenHeight, StartUp::Leave) {}

    MSG message;

    void SetUp() override {
#if !KORV_COUNTING_ALLOCATOR
        GTEST_SKIP() << "the sanitizer's allocator cannot be counted through";
#else
        prepareProbe();
        GameFixture::SetUp();
        if (HasFatalFailure()) return;
        const FrameScene& scene = GetParam();
        if (scene.gameState == GameState::Race) {
            ASSERT_TRUE(startRunHere(scene.track));   // the first race of a run
        } else {
            ASSERT_TRUE(initGame());
            gameState = scene.gameState;
        }
        std::memset(&message, 0, sizeof message);
#endif
    }

    // Loop turns with these keys held (set before each turn, outside the count); counts
    // what the turns allocate.
    long countTurns(int turns, void (*keys)(int turn)) {
        long total = 0;
#if KORV_COUNTING_ALLOCATOR
        for (int t = 0; t < turns; ++t) {
            keys(t);
            int exitCode = 0;
            startCounting();
            bool running = mainLoopTurn(window, message, exitCode);
            total += stopCounting();
            if (total > 0 && callerCount > 0 && failingCallers.empty()) failingCallers = describeCallers();
            if (!running) break;
        }
#else
        (void)turns;
        (void)keys;
#endif
        return total;
    }

    std::string failingCallers;
};

void noKeys(int) { std::memset(keyDown, 0, sizeof keyDown); }

// Down pressed briefly now and then: the selection moves and the highlight runs.
void menuKeys(int turn) {
    noKeys(turn);
    keyDown[VK_DOWN] = turn % 40 < 3;
}

// Right held: the colour slider steps, the shop choices cycle through all five.
void setupKeys(int turn) {
    noKeys(turn);
    keyDown[VK_RIGHT] = true;
}

KeyDriver driver;
void raceKeys(int) { driver.setKeys(); }

TEST_P(FrameAllocations, RunsItsFramesWithoutAllocating) {
    const FrameScene& scene = GetParam();
    long allocations = 0;
    if (scene.gameState != GameState::Race) {
        allocations = countTurns(300, scene.gameState == GameState::MainMenu ? menuKeys : setupKeys);
        EXPECT_EQ(gameState, scene.gameState) << "the keys left the screen";
    } else {
        // The start countdown with its camera path, then the race itself: an opponent is
        // destroyed and explodes, and later the player ("Game Ova!").
        allocations += countTurns(60, raceKeys);
        raceCountdown = 0.2f;
        allocations += countTurns(120, raceKeys);
        otherCars[1].shield = -1;
        allocations += countTurns(100, raceKeys);
        playerCar.shield = -1;
        allocations += countTurns(120, raceKeys);
        EXPECT_TRUE(otherCars[1].destroyed && playerCar.destroyed);
        EXPECT_EQ(gameState, GameState::Race);
    }
    EXPECT_EQ(allocations, 0) << "heap allocations made by the game's code:\n" << failingCallers;
}

INSTANTIATE_TEST_SUITE_P(
    Screens, FrameAllocations,
    ::testing::Values(FrameScene{"MainMenu", GameState::MainMenu, 0},
                      FrameScene{"SetupColor", GameState::SetupColor, 0},
                      FrameScene{"SetupEngine", GameState::SetupEngine, 0},
                      FrameScene{"SetupBoost", GameState::SetupBoost, 0},
                      FrameScene{"SetupTires", GameState::SetupTires, 0},
                      FrameScene{"RaceWind", GameState::Race, 1},
                      FrameScene{"RaceEarth", GameState::Race, 2},
                      FrameScene{"RaceWater", GameState::Race, 3},
                      FrameScene{"RaceFire", GameState::Race, 4}),
    [](const ::testing::TestParamInfo<FrameScene>& info) { return std::string(info.param.name); });

// The probe itself: the game's code is counted, also where the C++ runtime allocates for
// it, and a library's own allocations are not.
TEST(AllocationProbe, CountsTheGamesCodeAndNotTheLibraries) {
#if !KORV_COUNTING_ALLOCATOR
    GTEST_SKIP() << "the sanitizer's allocator cannot be counted through";
#else
    prepareProbe();
    using SdlMalloc = void* (*)(size_t);
    using SdlFree = void (*)(void*);
    SdlMalloc sdlMalloc = reinterpret_cast<SdlMalloc>(dlsym(RTLD_DEFAULT, "SDL_malloc"));
    SdlFree sdlFree = reinterpret_cast<SdlFree>(dlsym(RTLD_DEFAULT, "SDL_free"));
    ASSERT_NE(sdlMalloc, nullptr);
    ASSERT_NE(sdlFree, nullptr);

    startCounting();
    int* number = new int(5);
    keptBlock = number;
    long afterNew = gameAllocations.load();
    void* block = std::malloc(64);
    keptBlock = block;
    long afterMalloc = gameAllocations.load();
    std::string text(200, 'x');   // grown inside libstdc++, for this code
    long afterString = gameAllocations.load();
    void* sdlBlock = sdlMalloc(64);   // SDL's own
    long afterSdl = gameAllocations.load();
    stopCounting();

    delete number;
    std::free(block);
    sdlFree(sdlBlock);
    EXPECT_EQ(afterNew, 1);
    EXPECT_EQ(afterMalloc, 2);
    EXPECT_EQ(afterString, 3);
    EXPECT_EQ(afterSdl, 3);
    EXPECT_EQ(text.size(), 200u);
#endif
}

}  // namespace
