# CMake toolchain for the 32-bit Windows product build with mingw-w64 (POSIX threads variant).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ORV_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER   ${ORV_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORV_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${ORV_TRIPLE}-windres)
set(ORV_WIDL           ${ORV_TRIPLE}-widl)
set(CMAKE_FIND_ROOT_PATH /usr/${ORV_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Every test executable runs through Wine; the test driver sets WINEPREFIX and keeps one wineserver warm.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
