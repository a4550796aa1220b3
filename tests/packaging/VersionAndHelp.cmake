# Each program started with --version or --help as a user types it: it prints
# its version or its usage and ends at once, with no display to open and
# without touching the user's settings or data folders (no start is counted).
function(fail)
  string(JOIN "" text ${ARGN})
  message(FATAL_ERROR "${text}")
endfunction()

file(REMOVE_RECURSE ${ROOT})
file(MAKE_DIRECTORY ${ROOT}/config ${ROOT}/data)
foreach(program kwizmar kwizmar-edytor kwizmar-ts2 kwizmar-wyniki)
  foreach(case "--version;^${program} ${VERSION}\n$" "--help;^Użycie:.*--version")
    list(GET case 0 option)
    list(GET case 1 expected)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
              --unset=QT_QPA_PLATFORM XDG_CONFIG_HOME=${ROOT}/config XDG_DATA_HOME=${ROOT}/data
              ${BIN}/${program} ${option}
      RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
    if(NOT status EQUAL 0 OR NOT out MATCHES "${expected}" OR NOT err STREQUAL "")
      fail("${program} ${option}: ${status}\n${out}${err}")
    endif()
  endforeach()
endforeach()
file(GLOB_RECURSE written ${ROOT}/config/* ${ROOT}/data/*)
if(written)
  fail("--version or --help wrote ${written}")
endif()
file(REMOVE_RECURSE ${ROOT})
