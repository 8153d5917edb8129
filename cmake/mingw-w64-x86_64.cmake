# Cross build of the Windows executables with Debian's mingw-w64 (x86_64-w64-mingw32).
#
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# The compilers with Win32 threads are taken when present: the game has one thread, and
# the POSIX-threads variant would make libstdc++ import libwinpthread-1.dll, a DLL that
# Windows does not have. With them and static libgcc and libstdc++, the executables
# import only Windows' own DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KORV_MINGW x86_64-w64-mingw32)
find_program(KORV_MINGW_CC NAMES ${KORV_MINGW}-gcc-win32 ${KORV_MINGW}-gcc REQUIRED)
find_program(KORV_MINGW_CXX NAMES ${KORV_MINGW}-g++-win32 ${KORV_MINGW}-g++ REQUIRED)
set(CMAKE_C_COMPILER ${KORV_MINGW_CC})
set(CMAKE_CXX_COMPILER ${KORV_MINGW_CXX})
set(CMAKE_RC_COMPILER ${KORV_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KORV_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
