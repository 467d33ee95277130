# Cross toolchain for 32-bit Windows (mingw-w64, posix threads): the shipped setup.exe.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
