# Builds the Debian package into a scratch folder and runs lintian on it: no error and
# no warning may be reported. Run by CTest: cmake -DBUILD_DIR=... -DOUT=... -DLINTIAN=... -P

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} -G DEB -B "${OUT}"
                WORKING_DIRECTORY "${BUILD_DIR}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(GLOB debs "${OUT}/*.deb")
if(NOT result EQUAL 0 OR NOT debs)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()
execute_process(COMMAND ${LINTIAN} --fail-on error,warning ${debs}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lintian on ${debs}:\n${output}")
endif()
message(STATUS "lintian: ${debs} is clean")
