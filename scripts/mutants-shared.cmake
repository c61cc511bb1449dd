# Read before the project when `make mutants` configures its build folder: the libraries that
# mutants change (core, casefile) are built shared, and nothing relinks when a shared library
# changes, so a fault rebuilds one object and one library instead of relinking every test.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
set(CMAKE_LINK_DEPENDS_NO_SHARED ON)
function(add_library name)
  set(args ${ARGN})
  list(GET args 0 kind)
  if((name STREQUAL "core" OR name STREQUAL "casefile") AND kind STREQUAL "STATIC")
    list(REMOVE_AT args 0)
    _add_library(${name} SHARED ${args})
  else()
    _add_library(${name} ${args})
  endif()
endfunction()
