# Cross build for 32-bit Windows with Debian's mingw-w64: the product, a PE32.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(DISKSPAN_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
