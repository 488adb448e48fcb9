# Fails when a file includes a layer above its own. The library is built in
# layers, each using only those before it:
#   foundation <- contact <- vcard <- spreadsheet <- csv <- automation
# The command and the examples use the public headers (<velmora/...>) only.
#
#   cmake -DROOT=<source dir> -P scripts/check_layers.cmake
if(NOT ROOT)
  message(FATAL_ERROR "ROOT is not set")
endif()

set(_layers foundation contact vcard spreadsheet csv automation)
set(_violations "")

foreach(_layer IN LISTS _layers)
  list(FIND _layers ${_layer} _rank)
  file(GLOB_RECURSE _files ${ROOT}/src/${_layer}/*.h ${ROOT}/src/${_layer}/*.cpp)
  foreach(_file IN LISTS _files)
    file(STRINGS ${_file} _includes REGEX "^#include \"[a-z_]+/")
    foreach(_line IN LISTS _includes)
      string(REGEX REPLACE "^#include \"([a-z_]+)/.*" "\\1" _used ${_line})
      list(FIND _layers ${_used} _used_rank)
      if(_used_rank GREATER _rank)
        file(RELATIVE_PATH _rel ${ROOT} ${_file})
        list(APPEND _violations "${_rel}: ${_line} (${_layer} may use only the layers below it)")
      endif()
    endforeach()
  endforeach()
endforeach()

# The command, the examples and the Python binding reach the library through
# its public headers.
file(GLOB_RECURSE _clients ${ROOT}/cli/*.h ${ROOT}/cli/*.cpp ${ROOT}/examples/*.cpp
     ${ROOT}/python/src/*.h ${ROOT}/python/src/*.cpp)
foreach(_file IN LISTS _clients)
  file(STRINGS ${_file} _includes REGEX "^#include \"(foundation|contact|vcard|spreadsheet|csv|automation)/")
  foreach(_line IN LISTS _includes)
    file(RELATIVE_PATH _rel ${ROOT} ${_file})
    list(APPEND _violations "${_rel}: ${_line} (use <velmora/...> only)")
  endforeach()
endforeach()

if(_violations)
  list(JOIN _violations "\n" _text)
  message(FATAL_ERROR "Layering broken:\n${_text}")
endif()
message(STATUS "Layering holds")
