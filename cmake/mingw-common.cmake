# Shared part of the mingw-w64 toolchain files: the compilers named by
# PIDVIEW_MINGW_PREFIX, the target's own headers and libraries.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${PIDVIEW_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${PIDVIEW_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${PIDVIEW_MINGW_PREFIX}-windres)
set(CMAKE_AR ${PIDVIEW_MINGW_PREFIX}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${PIDVIEW_MINGW_PREFIX}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${PIDVIEW_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The executables run on their own: no libgcc, libstdc++ or winpthread DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
