# SPDX-License-Identifier: MIT
# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix). Qt for
# Windows is built with this file (scripts/lib/qt_windows.sh), and the project then with the
# toolchain file that Qt installs, which loads this one:
#   cmake -S . -B build-windows --toolchain <Qt for Windows>/lib/cmake/Qt6/qt.toolchain.cmake
# The posix thread model gives std::thread and std::mutex, which GoogleTest needs. The programs use
# the MinGW runtime DLLs as Qt's DLLs do, so that one C++ runtime serves both; ctest runs each
# test through Wine: this machine's, or the one VORREL_WINE names.
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

# Debian's wine64 installs its loader outside PATH.
find_program(VORREL_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(VORREL_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VORREL_WINE})
endif()
