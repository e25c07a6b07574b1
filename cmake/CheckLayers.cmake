# Includes run downward only between the program's folders: app (main.cpp) -> window ->
# widgets -> platform -> core, and inside core from subsystem to subsystem in the order
# of core_layers. Every include is read, whatever its form: quotes or angle brackets,
# blanks around the "#", indented, or a path relative to the including file. Lists every
# include that points back up and fails on it.
#   cmake -DROOT=<source folder> -P cmake/CheckLayers.cmake
set(layers app window widgets platform core)
set(core_layers search edit settings system view text file)

# The rank of a root-relative path: its folder's place in layers, and inside core/ the
# place of its subsystem after that; -1 for a path outside the program's folders.
function(rank_of path out)
  set(rank -1)
  string(REGEX MATCH "^([^/]+)/(([^/]+)/)?" parts "${path}")
  list(FIND layers "${CMAKE_MATCH_1}" top)
  if(top GREATER_EQUAL 0)
    math(EXPR rank "${top} * 100")
    if(CMAKE_MATCH_1 STREQUAL "core")
      list(FIND core_layers "${CMAKE_MATCH_3}" sub)
      math(EXPR rank "${rank} + ${sub} + 1")
    endif()
  endif()
  set(${out} ${rank} PARENT_SCOPE)
endfunction()

set(upward "")
foreach(from IN LISTS layers)
  file(GLOB_RECURSE files RELATIVE "${ROOT}" "${ROOT}/${from}/*")
  list(FILTER files INCLUDE REGEX "\\.(h|hpp|cpp|cc|inc)$")
  foreach(file IN LISTS files)
    rank_of("${file}" from_rank)
    get_filename_component(dir "${file}" DIRECTORY)
    file(STRINGS "${ROOT}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*" "\\1" to "${line}")
      # As the compiler looks: beside the including file first, then from the root.
      if(to MATCHES "^\\.\\.?/" OR EXISTS "${ROOT}/${dir}/${to}")
        set(to "${dir}/${to}")
      endif()
      cmake_path(NORMAL_PATH to)
      rank_of("${to}" to_rank)
      if(to_rank GREATER_EQUAL 0 AND to_rank LESS from_rank)
        list(APPEND upward "  ${file}: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(upward)
  list(JOIN upward "\n" upward)
  message(FATAL_ERROR "includes that point back up:\n${upward}")
endif()
