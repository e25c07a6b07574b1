# Read by cpack before it makes the package: the time written for every file in it is
# the time of the commit the sources come from, so that two builds of one commit give
# the same package. Outside git it is the time of the last changelog entry; a
# SOURCE_DATE_EPOCH set by the packager is kept.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C "${CPACK_ZIRPEL_SOURCE_DIR}" log -1 --format=%ct
                  RESULT_VARIABLE result OUTPUT_VARIABLE epoch ERROR_QUIET
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT result EQUAL 0 OR NOT epoch MATCHES "^[0-9]+$")
    execute_process(COMMAND dpkg-parsechangelog
                            -l "${CPACK_ZIRPEL_SOURCE_DIR}/packaging/changelog" -STimestamp
                    RESULT_VARIABLE result OUTPUT_VARIABLE epoch ERROR_QUIET
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
  endif()
  if(result EQUAL 0 AND epoch MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} ${epoch})
  endif()
endif()
