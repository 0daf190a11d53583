# Cross-build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64); the programs
# run here under Wine (wine, wine64):
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MORLANE_MINGW_TRIPLET x86_64-w64-mingw32)

# The posix-threads variant: GoogleTest needs std::mutex, which the libstdc++ of GCC 12's
# win32-threads variant lacks.
find_program(CMAKE_C_COMPILER NAMES ${MORLANE_MINGW_TRIPLET}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${MORLANE_MINGW_TRIPLET}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${MORLANE_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MORLANE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Link the C and C++ runtimes in: the programs need no MinGW DLLs beside them, under Wine or on
# a plant PC.
set(MORLANE_MINGW_STATIC "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${MORLANE_MINGW_STATIC}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${MORLANE_MINGW_STATIC}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${MORLANE_MINGW_STATIC}")

# ctest runs the tests under Wine in a prefix of this build tree, without a display. LC_ALL
# decides Wine's ANSI code page: C.UTF-8 gives 1252, as on the plant's PCs.
find_program(MORLANE_WINE NAMES wine)
if(MORLANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      env "WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix" WINEDEBUG=-all
      "WINEDLLOVERRIDES=mscoree,mshtml=\;winemenubuilder.exe=d" LC_ALL=C.UTF-8 ${MORLANE_WINE})
endif()
