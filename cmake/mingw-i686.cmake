# Cross build for 32-bit Windows (XP and later) with MinGW-w64.
set(SUITE_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_SYSTEM_VERSION 5.1)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
