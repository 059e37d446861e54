# Cross build for 64-bit Windows (XP x64 / Server 2003 and later) with
# MinGW-w64.
set(SUITE_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_SYSTEM_VERSION 5.2)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
