# Installs the build tree into a staging folder (DESTDIR) and checks the installed
# files: program, help file where the help viewer finds it, desktop entry, AppStream
# metainfo, icons, copyright, changelog and manual pages.
# Run by CTest: cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DSTAGE=... -DAPP_ID=... -DICON_SIZES=... -P

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${STAGE}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE}
          ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix /usr
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

set(root "${STAGE}/usr")
set(failures)
macro(fail text)
  list(APPEND failures "${text}")
endmacro()
# An installed file (relative to the prefix) equal to its source in the tree.
macro(expect_copy installed source)
  file(SHA256 "${SOURCE_DIR}/${source}" want)
  if(EXISTS "${root}/${installed}")
    file(SHA256 "${root}/${installed}" have)
    if(NOT have STREQUAL want)
      fail("${installed} differs from ${source}")
    endif()
  else()
    fail("${installed} missing")
  endif()
endmacro()

# The program, and the help file at bin/../share/zirpel as the help viewer looks.
if(NOT EXISTS "${root}/bin/zirpel" OR IS_DIRECTORY "${root}/bin/zirpel")
  fail("bin/zirpel missing")
endif()
expect_copy(bin/../share/zirpel/Tamsel.hlp help/Tamsel.hlp)

# The desktop entry and the metainfo, named by the application's ID (checked against the
# standards by PackageLint).
expect_copy(share/metainfo/${APP_ID}.metainfo.xml packaging/${APP_ID}.metainfo.xml)
set(entry "${root}/share/applications/${APP_ID}.desktop")
if(EXISTS "${entry}")
  file(READ "${entry}" content)
  set(content "\n${content}")
  function(expect_line text)
    string(FIND "${content}" "\n${text}\n" at)
    if(at EQUAL -1)
      fail("desktop entry lacks the line ${text}")
      set(failures "${failures}" PARENT_SCOPE)
    endif()
  endfunction()
  function(expect_key key)
    string(FIND "${content}" "\n${key}=" at)
    if(at EQUAL -1)
      fail("desktop entry lacks ${key}")
      set(failures "${failures}" PARENT_SCOPE)
    endif()
  endfunction()
  expect_line("Type=Application")
  expect_line("Exec=zirpel")
  expect_line("Icon=zirpel")
  expect_line("StartupNotify=true")
  expect_line("Name=Zirpel")
  expect_line("Name[de]=Zirpel")
  expect_key("Categories")
  expect_key("Comment")
  expect_key("Comment[de]")
else()
  fail("share/applications/${APP_ID}.desktop missing")
endif()

# The icons: PNG files of the size their folder names, and the drawing for larger sizes.
expect_copy(share/icons/hicolor/scalable/apps/zirpel.svg packaging/zirpel.svg)
foreach(size IN LISTS ICON_SIZES)
  set(icon "${root}/share/icons/hicolor/${size}x${size}/apps/zirpel.png")
  if(NOT EXISTS "${icon}")
    fail("icon ${size}x${size} missing")
    continue()
  endif()
  file(READ "${icon}" header LIMIT 24 HEX)
  math(EXPR expected_hex "${size}" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING "${expected_hex}" 2 -1 digits)
  string(LENGTH "${digits}" n)
  math(EXPR pad "8 - ${n}")
  string(REPEAT "0" ${pad} zeros)
  string(TOLOWER "${zeros}${digits}" dim)
  # Signature, then the IHDR chunk: width and height as 32-bit big-endian numbers.
  if(NOT header STREQUAL "89504e470d0a1a0a0000000d49484452${dim}${dim}")
    fail("icon ${size}x${size} is not a ${size} x ${size} PNG")
  endif()
endforeach()

# The licence as the copyright file, the changelog and the manual pages, German and
# English, compressed (gzip's magic number first).
expect_copy(share/doc/zirpel/copyright packaging/copyright)
foreach(doc share/doc/zirpel/changelog.gz share/man/de/man1/zirpel.1.gz
            share/man/man1/zirpel.1.gz)
  if(NOT EXISTS "${root}/${doc}")
    fail("${doc} missing")
    continue()
  endif()
  file(READ "${root}/${doc}" magic LIMIT 2 HEX)
  if(NOT magic STREQUAL "1f8b")
    fail("${doc} is not compressed with gzip")
  endif()
endforeach()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "installed tree under ${STAGE}:\n  ${text}")
endif()
message(STATUS "installed tree under ${STAGE} is complete")
