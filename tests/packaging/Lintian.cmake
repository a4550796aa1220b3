# Builds the Debian package of the build in ROOT as ./kwizmar.sh package does
# and checks it as Debian does: lintian, with its pedantic and informational
# tags, finds nothing beyond what the package's own overrides explain; and the
# package depends on the package that holds Qt's Polish texts (QT_POLISH).
function(fail)
  string(JOIN "" text ${ARGN})
  message(FATAL_ERROR "${text}")
endfunction()

file(REMOVE_RECURSE ${ROOT})
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8
                        cpack -G DEB --config ${BUILD}/CPackConfig.cmake -B ${ROOT}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(GLOB package ${ROOT}/kwizmar_*.deb)
if(NOT status EQUAL 0 OR NOT package)
  fail("cpack: ${status}\n${out}")
endif()

find_program(LINTIAN lintian REQUIRED)
execute_process(COMMAND ${LINTIAN} --pedantic --display-info --fail-on error,warning,info,pedantic
                        ${package}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR out MATCHES "(^|\n)[EWIPX]: ")
  fail("lintian ${package}: ${status}\n${out}${err}")
endif()

execute_process(COMMAND dpkg-query --search ${QT_POLISH} OUTPUT_VARIABLE owner
                RESULT_VARIABLE status)
string(REGEX REPLACE "[:,].*" "" owner "${owner}")
execute_process(COMMAND dpkg-deb --field ${package} Depends OUTPUT_VARIABLE depends)
if(NOT status EQUAL 0 OR NOT depends MATCHES "(^|, )${owner}(,| |\n|$)")
  fail("${QT_POLISH} is in the package ${owner}, which kwizmar does not depend on: ${depends}")
endif()
file(REMOVE_RECURSE ${ROOT})
