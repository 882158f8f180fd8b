# Cross-compiles 32-bit Windows binaries with MinGW-w64: the build the maker's 32-bit filters need.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
