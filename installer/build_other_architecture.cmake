# Builds what the installer takes from the other architecture's build folder.
#   cmake -DBUILD_DIR=<folder> -DCONFIG=<config> -DARCH=win32|win64 -P build_other_architecture.cmake
if(NOT EXISTS ${BUILD_DIR}/CMakeCache.txt)
  message(FATAL_ERROR "The installer needs the ${ARCH} build as well, but ${BUILD_DIR} is not configured: "
    "configure it (cmake --preset ${ARCH}), or point VANTOR_OTHER_ARCH_BUILD_DIR at a configured ${ARCH} build folder.")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --config ${CONFIG}
          --target vantor_source vantor_source_filter language_packs runs_32bit_probe
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Building the ${ARCH} program in ${BUILD_DIR} failed.")
endif()
