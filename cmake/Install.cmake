# Installing Zirpel like a desktop program, and the Debian package built from it.
#
# The help viewer looks for Tamsel.hlp beside the executable and then in
# ../share/zirpel/ from it, so the program goes to bin/ and the help file to
# share/zirpel/ (on Windows both lie side by side).

# Folders the install makes on its way get 755, whatever the packager's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS zirpel RUNTIME DESTINATION bin)

if(WIN32)
  install(FILES help/Tamsel.hlp DESTINATION bin)
else()
  install(FILES help/Tamsel.hlp DESTINATION share/zirpel)
endif()

if(UNIX AND NOT APPLE)
  # The window icon as PNG files of the hicolor theme, made at build time from its
  # 32 x 32 picture, and above that size the same picture drawn as shapes (SVG).
  set(ZIRPEL_ICON_SIZES 16 22 24 32)
  set(ZIRPEL_ICON_DIR ${CMAKE_CURRENT_BINARY_DIR}/icons/hicolor)
  add_executable(zirpel-icon-tool packaging/MakeIcons.cpp)
  target_link_libraries(zirpel-icon-tool PRIVATE Qt6::Gui)
  set(ZIRPEL_ICON_FILES)
  foreach(size IN LISTS ZIRPEL_ICON_SIZES)
    list(APPEND ZIRPEL_ICON_FILES ${ZIRPEL_ICON_DIR}/${size}x${size}/apps/zirpel.png)
  endforeach()
  add_custom_command(
    OUTPUT ${ZIRPEL_ICON_FILES}
    COMMAND zirpel-icon-tool ${CMAKE_CURRENT_SOURCE_DIR}/widgets/images/zirpel.xpm
            ${ZIRPEL_ICON_DIR} ${ZIRPEL_ICON_SIZES}
    DEPENDS zirpel-icon-tool ${CMAKE_CURRENT_SOURCE_DIR}/widgets/images/zirpel.xpm
    COMMENT "Making the hicolor icons")
  add_custom_target(zirpel-icons ALL DEPENDS ${ZIRPEL_ICON_FILES})

  # File by file: a size dropped from the list must not ship from an old build folder.
  foreach(size IN LISTS ZIRPEL_ICON_SIZES)
    install(FILES ${ZIRPEL_ICON_DIR}/${size}x${size}/apps/zirpel.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps)
  endforeach()
  install(FILES packaging/zirpel.svg DESTINATION share/icons/hicolor/scalable/apps)
  install(FILES packaging/${ZIRPEL_APP_ID}.desktop DESTINATION share/applications)
  install(FILES packaging/${ZIRPEL_APP_ID}.metainfo.xml DESTINATION share/metainfo)

  # The licence, the changelog and the manual pages (German and English), as Debian's
  # policy places them; gzip -n keeps names and times out of the compressed files.
  set(ZIRPEL_DOC_DIR ${CMAKE_CURRENT_BINARY_DIR}/doc)
  set(ZIRPEL_DOC_FILES ${ZIRPEL_DOC_DIR}/changelog.gz ${ZIRPEL_DOC_DIR}/de/zirpel.1.gz
                       ${ZIRPEL_DOC_DIR}/en/zirpel.1.gz)
  add_custom_command(
    OUTPUT ${ZIRPEL_DOC_FILES}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZIRPEL_DOC_DIR}/de ${ZIRPEL_DOC_DIR}/en
    COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog > ${ZIRPEL_DOC_DIR}/changelog.gz
    COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/packaging/zirpel.1 > ${ZIRPEL_DOC_DIR}/de/zirpel.1.gz
    COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/packaging/zirpel.en.1 > ${ZIRPEL_DOC_DIR}/en/zirpel.1.gz
    DEPENDS packaging/changelog packaging/zirpel.1 packaging/zirpel.en.1
    COMMENT "Compressing the changelog and the manual pages")
  add_custom_target(zirpel-docs ALL DEPENDS ${ZIRPEL_DOC_FILES})
  install(FILES packaging/copyright ${ZIRPEL_DOC_DIR}/changelog.gz DESTINATION share/doc/zirpel)
  # lintian's remarks that do not hold for this package, each with the reason.
  install(FILES packaging/zirpel.lintian-overrides DESTINATION share/lintian/overrides
          RENAME zirpel)
  install(FILES ${ZIRPEL_DOC_DIR}/de/zirpel.1.gz DESTINATION share/man/de/man1)
  install(FILES ${ZIRPEL_DOC_DIR}/en/zirpel.1.gz DESTINATION share/man/man1)

  if(BUILD_TESTING AND NOT ZIRPEL_FUZZ)
    # Installs into a staging folder and checks what lands there.
    add_test(NAME InstallTree
             COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_CURRENT_BINARY_DIR}
                     -DSOURCE_DIR=${CMAKE_CURRENT_SOURCE_DIR}
                     -DSTAGE=${CMAKE_CURRENT_BINARY_DIR}/install-test-stage
                     -DAPP_ID=${ZIRPEL_APP_ID} "-DICON_SIZES=${ZIRPEL_ICON_SIZES}"
                     -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/CheckInstall.cmake)

    # The Debian package as lintian, appstreamcli and desktop-file-validate see it, and
    # made a second time from a copy of the sources in another folder: both must be
    # equal byte for byte. Packages come from the hardened Release build, so only that
    # one is checked.
    find_program(LINTIAN lintian)
    find_program(APPSTREAMCLI appstreamcli)
    find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
    if(LINTIAN AND APPSTREAMCLI AND DESKTOP_FILE_VALIDATE AND DPKG_BUILDFLAGS
       AND CMAKE_BUILD_TYPE STREQUAL "Release" AND NOT ZIRPEL_SANITIZE)
      add_test(NAME PackageLint
               COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_CURRENT_BINARY_DIR}
                       -DSOURCE_DIR=${CMAKE_CURRENT_SOURCE_DIR}
                       -DOUT=${CMAKE_CURRENT_BINARY_DIR}/package-lint
                       -DAPP_ID=${ZIRPEL_APP_ID} "-DGENERATOR=${CMAKE_GENERATOR}"
                       -DCXX=${CMAKE_CXX_COMPILER} -DLINTIAN=${LINTIAN}
                       -DAPPSTREAMCLI=${APPSTREAMCLI}
                       -DDESKTOP_FILE_VALIDATE=${DESKTOP_FILE_VALIDATE}
                       -DCMAKE_CPACK_COMMAND=${CMAKE_CPACK_COMMAND}
                       -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/CheckPackage.cmake)
      set_tests_properties(PackageLint PROPERTIES TIMEOUT 900)
    else()
      message(STATUS "PackageLint is not registered: it needs the Release build, lintian, "
                     "appstreamcli, desktop-file-validate and dpkg-buildflags")
    endif()
  endif()
endif()

# cpack -G DEB: a Debian package whose library dependencies are read from the binary.
set(CPACK_PACKAGE_NAME zirpel)
set(CPACK_PACKAGE_VENDOR "Quillmark Software")
set(CPACK_PACKAGE_CONTACT "Quillmark Software <info@quill.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Hex viewer and in-place hex editor")
set(CPACK_PACKAGE_DESCRIPTION
    "Zirpel shows any file as a table of hexadecimal bytes and characters, finds and
replaces byte sequences, and edits bytes in place. German user interface.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.quill.example")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so not found by shlibdeps: the platform plugins of Qt, and the
# fonts: "Courier New" in the table maps to the metric-compatible Liberation Mono, and
# the about box's logo falls back to Liberation Sans Narrow Bold where "Impact" is missing.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# The files in the package carry the commit's time, read when the package is made.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_SOURCE_DIR}/packaging/SourceDate.cmake)
set(CPACK_ZIRPEL_SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
if(NOT CPACK_GENERATOR)
  set(CPACK_GENERATOR DEB)
endif()
include(CPack)
