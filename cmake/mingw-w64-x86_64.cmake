# Cross-compiles 64-bit Windows binaries with MinGW-w64: the only host for 64-bit filters.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
