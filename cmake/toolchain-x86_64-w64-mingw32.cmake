# Cross build for 64-bit Windows with Debian's mingw-w64: the same sources as
# the PE32, built to be tested under Wine's 64-bit loader on hosts that run no
# 32-bit code, and to keep the sources 64-bit clean.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(DISKSPAN_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
