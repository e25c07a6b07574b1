# Builds the Debian package into a scratch folder and checks it as a Debian maintainer
# would: lintian reports no error, no warning and no missing hardening; the AppStream
# metainfo and the desktop entry in it pass their validators without a remark; and the
# same sources copied into another folder and built there, without the tests, give the
# same package byte for byte.
# Run by CTest: cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DOUT=... -DAPP_ID=... -DGENERATOR=...
#   -DCXX=... -DLINTIAN=... -DAPPSTREAMCLI=... -DDESKTOP_FILE_VALIDATE=...
#   -DCMAKE_CPACK_COMMAND=... -P

cmake_minimum_required(VERSION 3.25)

# Runs a command; stops the check with its output when it fails.
function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
                  ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${what} failed:\n${output}")
  endif()
  set(output "${output}" PARENT_SCOPE)
endfunction()

# Makes the package of the build folder <build> into <into>; sets <deb> to its path.
function(make_package build into deb)
  file(REMOVE_RECURSE "${into}")
  execute_process(COMMAND ${CMAKE_CPACK_COMMAND} -G DEB -B "${into}" WORKING_DIRECTORY "${build}"
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  file(GLOB debs "${into}/*.deb")
  if(NOT result EQUAL 0 OR NOT debs)
    message(FATAL_ERROR "cpack in ${build} failed:\n${output}")
  endif()
  set(${deb} "${debs}" PARENT_SCOPE)
endfunction()

make_package("${BUILD_DIR}" "${OUT}/package" deb)

# -I shows the informational tags too, among them the hardening ones.
run(lintian ${LINTIAN} -I --fail-on error,warning "${deb}")
if(output MATCHES "hardening-[a-z-]+")
  message(FATAL_ERROR "lintian finds the binary not hardened (${CMAKE_MATCH_0}):\n${output}")
endif()

set(root "${OUT}/contents")
file(REMOVE_RECURSE "${root}")
run(dpkg-deb dpkg-deb -x "${deb}" "${root}")
# The metainfo and the desktop entry it names, as installed. The ID's top-level domain
# is the maker's .example, which no registry lists; that is the only remark allowed.
run(appstreamcli ${APPSTREAMCLI} validate-tree --no-net --strict
    --override=cid-maybe-not-rdns=pedantic "${root}")
if(NOT output MATCHES "${APP_ID}.metainfo.xml")
  message(FATAL_ERROR "appstreamcli found no ${APP_ID}.metainfo.xml:\n${output}")
endif()
run(desktop-file-validate ${DESKTOP_FILE_VALIDATE}
    "${root}/usr/share/applications/${APP_ID}.desktop")
if(NOT output STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate remarks:\n${output}")
endif()

# The second build: the sources git knows (committed or not, new files too) copied into
# a folder of their own, where paths and file times differ from the first build's, and
# built there without the tests, so it needs no Qt Test. Both folders stay between runs:
# only files that changed are copied and compiled again.
set(source "${OUT}/second-source")
set(second "${OUT}/second-build")
execute_process(COMMAND git -C "${SOURCE_DIR}" ls-files --cached --others --exclude-standard
                RESULT_VARIABLE result OUTPUT_VARIABLE files ERROR_VARIABLE files)
if(result EQUAL 0)
  string(REPLACE "\n" ";" files "${files}")
else()
  # Not a git checkout: the second build compiles the same folder.
  set(source "${SOURCE_DIR}")
  set(files)
endif()
foreach(file IN LISTS files)
  if(EXISTS "${SOURCE_DIR}/${file}" AND NOT IS_DIRECTORY "${SOURCE_DIR}/${file}")
    get_filename_component(folder "${source}/${file}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    file(COPY_FILE "${SOURCE_DIR}/${file}" "${source}/${file}" ONLY_IF_DIFFERENT)
  endif()
endforeach()
cmake_host_system_information(RESULT cores QUERY NUMBER_OF_LOGICAL_CORES)
run("configuring ${second}" ${CMAKE_COMMAND} -S "${source}" -B "${second}" -G "${GENERATOR}"
    -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF)
run("building ${second}" ${CMAKE_COMMAND} --build "${second}" --parallel ${cores})
file(STRINGS "${second}/CMakeCache.txt" test_module REGEX "^Qt6Test_DIR:")
if(test_module)
  message(FATAL_ERROR "the build without tests looked for Qt Test: ${test_module}")
endif()
# The copy has no git history: its package gets the time the first one was given.
set(CPACK_ZIRPEL_SOURCE_DIR "${SOURCE_DIR}")
include("${SOURCE_DIR}/packaging/SourceDate.cmake")
make_package("${second}" "${OUT}/second-package" second_deb)
file(SHA256 "${deb}" first_sum)
file(SHA256 "${second_deb}" second_sum)
if(NOT first_sum STREQUAL second_sum)
  message(FATAL_ERROR "two builds of the same sources give different packages:\n"
                      "  ${deb}\n  ${second_deb}\n(dpkg-deb -R unpacks both for a comparison)")
endif()

message(STATUS "${deb}: lintian, appstreamcli and desktop-file-validate are content, "
               "and a second build in ${second} gives the same package")
