# Cross build for 32-bit Windows, the program's own platform, with Debian's
# mingw-w64 (g++-mingw-w64-i686, binutils-mingw-w64-i686):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.toolchain.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(PIDVIEW_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
