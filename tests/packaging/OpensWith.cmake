# Installs the build into ROOT as a package would (prefix /usr), builds the
# MIME and menu caches there as the package's postinst does, and opens a test
# file with GIO and with xdg-utils, on a desktop whose data folder is that
# tree alone: the program that starts must be the exam program, kwizmar.
# Stand-ins for the installed programs, found first in PATH, write down how
# they were started.
function(fail)
  string(JOIN "" text ${ARGN})
  message(FATAL_ERROR "${text}")
endfunction()

file(REMOVE_RECURSE ${ROOT})
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${ROOT}/tree
                        ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  fail("cmake --install failed: ${status}")
endif()
set(share ${ROOT}/tree/usr/${DATADIR})
foreach(tool "update-mime-database;${share}/mime"
             "update-desktop-database;-q;${share}/applications")
  execute_process(COMMAND ${tool} RESULT_VARIABLE status ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    fail("${tool}: ${status} ${err}")
  endif()
endforeach()

set(record ${ROOT}/started)
foreach(program kwizmar kwizmar-edytor)
  file(WRITE ${ROOT}/bin/${program}
       "#!/bin/sh\necho \"${program} $*\" > '${record}.new' && mv '${record}.new' '${record}'\n")
  file(CHMOD ${ROOT}/bin/${program} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
endforeach()
set(test "${ROOT}/Mój test.ts2")
file(WRITE ${test} "^g~|5pqotz")

# The user's folders are empty, and the desktop is xdg-utils' generic one
# (its other desktops read the same files, or ask GIO); a display is only
# named, never opened.
set(desktop ${CMAKE_COMMAND} -E env
    XDG_DATA_DIRS=${share} XDG_DATA_HOME=${ROOT}/data XDG_CONFIG_HOME=${ROOT}/config
    XDG_CONFIG_DIRS=${ROOT}/etc HOME=${ROOT}/home XDG_CURRENT_DESKTOP=X-Generic DISPLAY=:0
    "PATH=${ROOT}/bin:$ENV{PATH}")

execute_process(COMMAND ${desktop} xdg-mime query default application/x-kwizmar-test
                OUTPUT_VARIABLE default OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT default STREQUAL "kwizmar.desktop")
  fail("xdg-mime names \"${default}\" as the program for test files")
endif()

foreach(opener "gio;open" "xdg-open")
  file(REMOVE ${record})
  execute_process(COMMAND ${desktop} ${opener} ${test} RESULT_VARIABLE status
                  ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    fail("${opener} ${test}: ${status} ${err}")
  endif()
  # GIO starts the program and returns without waiting for it.
  foreach(i RANGE 100)
    if(EXISTS ${record})
      break()
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 0.05)
  endforeach()
  if(NOT EXISTS ${record})
    fail("${opener} started no program for ${test}")
  endif()
  file(READ ${record} started)
  if(NOT started STREQUAL "kwizmar ${test}\n")
    fail("${opener} started: ${started}")
  endif()
endforeach()
file(REMOVE_RECURSE ${ROOT})
