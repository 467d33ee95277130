# Cross toolchain for 64-bit Windows (mingw-w64, posix threads): the same sources built so that their
# Windows tests run under 64-bit Wine on machines whose kernel refuses 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
