# SPDX-License-Identifier: MIT
# Cross-compiling for 64-bit Arm Linux (Debian's arm64, as on a Raspberry Pi with a 64-bit system)
# on a Debian amd64 machine, with Debian's cross compilers and the arm64 libraries installed beside
# the machine's own (multiarch):
#   dpkg --add-architecture arm64
#   apt install crossbuild-essential-arm64 qt6-base-dev:arm64 qt6-svg-dev:arm64 libgtest-dev:arm64 \
#               pkgconf:arm64 qt6-base-dev-tools qemu-user-static
#   cmake -S . -B build-arm64 --toolchain cmake/aarch64-linux-gnu.cmake \
#         -DVORREL_HOST_SVGTOPNG=build/resources/svgtopng
# The arm64 libraries and their CMake files are in the system's folders for aarch64-linux-gnu, so
# there is no separate sysroot; Qt's moc, rcc and uic are the machine's own (qt6-base-dev-tools).
# ctest runs each test through qemu, which finds the arm64 loader and libraries under /. The Debian
# package is for arm64 (the top-level CMakeLists.txt asks dpkg-architecture about the triplet).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(triplet aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${triplet}-gcc)
set(CMAKE_CXX_COMPILER ${triplet}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${triplet})

# The machine's pkg-config would hand out the amd64 libraries' flags.
find_program(PKG_CONFIG_EXECUTABLE NAMES ${triplet}-pkg-config REQUIRED)

find_program(VORREL_QEMU_AARCH64 NAMES qemu-aarch64-static qemu-aarch64)
if(VORREL_QEMU_AARCH64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VORREL_QEMU_AARCH64} -L /)
endif()
