# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds the 64-bit Windows program with Debian's MinGW-w64 (the POSIX
# threads flavour, which std::thread and std::mutex need):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The executables link the compiler's runtime statically, so that they need
# no DLL that does not come with Windows. ctest runs the test executables
# under Wine (tests/wine/run.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORVANTA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ORVANTA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVANTA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVANTA_MINGW_PREFIX}-windres)

# Headers and libraries come from the MinGW-w64 tree only, programs from the
# build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${ORVANTA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread go into the executable.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Windows 10 and later, with the wide-character API.
add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00 UNICODE _UNICODE)

# The test executables run under Wine, in the build tree's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/../tests/wine/run.sh)
