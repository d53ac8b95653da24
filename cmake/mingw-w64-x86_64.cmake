# Cross-compiles Pellix for 64-bit Windows with Debian's MinGW-w64 toolchain
# (g++-mingw-w64-x86-64-posix: the POSIX thread model, which std::thread and
# std::mutex need). Test programs run under Wine through the emulator setting.
#
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# MinGW-w64's long double is the x87 80-bit extended format, as the engine needs.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PELLIX_MINGW_TRIPLET x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${PELLIX_MINGW_TRIPLET}-gcc-posix ${PELLIX_MINGW_TRIPLET}-gcc
             REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${PELLIX_MINGW_TRIPLET}-g++-posix ${PELLIX_MINGW_TRIPLET}-g++
             REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${PELLIX_MINGW_TRIPLET}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${PELLIX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's runtime (libstdc++, libgcc, winpthread) is linked in, so the
# programs start under Wine or on Windows without DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# How CTest starts a Windows program on this machine.
find_program(PELLIX_WINE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(PELLIX_WINE NAMES wine64 wine)
if(PELLIX_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PELLIX_WINE})
endif()
