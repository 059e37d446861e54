# What the two MinGW-w64 toolchain files share; each sets SUITE_MINGW_TRIPLET
# and the processor and subsystem version before it includes this file.
# The win32 thread model matters: the posix one pulls in winpthread, which
# imports GetTickCount64 and so will not load on Windows XP.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${SUITE_MINGW_TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${SUITE_MINGW_TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER ${SUITE_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SUITE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
