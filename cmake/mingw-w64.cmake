# SPDX-License-Identifier: MIT
# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix):
#   cmake -S tests/windows -B build-mingw --toolchain cmake/mingw-w64.cmake
# The posix thread model gives std::thread and std::mutex, which GoogleTest needs. Programs are
# linked statically (libstdc++, libgcc, winpthread), so a fresh Wine prefix runs them without any
# DLL beside them; ctest runs them through Wine where wine64 is installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Debian's wine64 installs its loader outside PATH.
find_program(VORREL_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(VORREL_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VORREL_WINE})
endif()
