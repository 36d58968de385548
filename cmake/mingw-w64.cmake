# What both Windows cross builds share; the toolchain files set
# CMAKE_SYSTEM_PROCESSOR and DISKSPAN_MINGW_PREFIX, then include this.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model: its libstdc++ has std::mutex, which GoogleTest needs;
# winpthread is linked statically like the rest.
set(CMAKE_C_COMPILER ${DISKSPAN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DISKSPAN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${DISKSPAN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${DISKSPAN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Self-contained programs: no libstdc++/libgcc/winpthread DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
