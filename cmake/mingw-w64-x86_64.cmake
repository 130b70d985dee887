# SPDX-License-Identifier: MIT
# Cross-builds for 64-bit Windows with Debian's mingw-w64, for example:
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DTARNIX_BUILD_BENCH=OFF
# Test programs then run under Wine through cmake/wine-run (ctest and test discovery).

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARNIX_MINGW_PREFIX x86_64-w64-mingw32)
# The posix-thread variant: the win32-thread one has no std::mutex, which GoogleTest needs.
set(CMAKE_C_COMPILER ${TARNIX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARNIX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TARNIX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TARNIX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Link the compiler's runtime in, so the executables need only the system's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)
