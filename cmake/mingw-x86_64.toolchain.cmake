# Cross build for 64-bit Windows (g++-mingw-w64-x86-64). Only the Wine tests
# use it, on kernels that run no 32-bit programs; the product is 32-bit.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PIDVIEW_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
