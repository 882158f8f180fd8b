# The compile and link options of every target of the project, carried by one interface target
# that each target links: Unicode Win32 for Windows 7 and later, warnings on, and on MinGW-w64
# self-contained files (only system DLLs are imported) with wide entry points.
add_library(vantor_build_options INTERFACE)
target_compile_definitions(vantor_build_options INTERFACE
  UNICODE _UNICODE NOMINMAX STRICT _WIN32_WINNT=0x0601 WINVER=0x0601)
if(MSVC)
  target_compile_options(vantor_build_options INTERFACE /W4 /utf-8)
else()
  # Optimised for size: the program spends its time in the system, not in its own code. This is
  # the one place that chooses it, in place of the -O3 that the Release build type brings.
  set(CMAKE_C_FLAGS_RELEASE "-Os -DNDEBUG")
  set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
  target_compile_options(vantor_build_options INTERFACE
    -Wall -Wextra
    $<$<CONFIG:Release>:-ffunction-sections -fdata-sections>
    # No build folder reaches a file (through __FILE__ in the headers' exceptions, say): two
    # clones in folders of different names build the same bytes. The build folder comes last, so
    # that it wins where it lies inside the source tree.
    $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=build>)
  target_link_options(vantor_build_options INTERFACE
    -static
    # No link time in the PE header: the same sources make the same files.
    -Wl,--no-insert-timestamp
    $<$<CONFIG:Release>:-Wl,--gc-sections -s>
    # Sections start on page boundaries in the file as well as in memory, so that Wine can map
    # the image from the file, as Windows does, instead of copying all of it into private memory
    # (a quarter of a megabyte less working set for the program, some 28 KB of padding on disk).
    $<$<CONFIG:Release>:-Wl,--file-alignment,4096>
    # Programs start at wmain or wWinMain.
    $<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:-municode>)
endif()
