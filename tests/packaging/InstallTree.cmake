# Installs the build into ROOT as a package would (prefix /usr) and checks the
# tree: the programs, the data where the installed program looks for it, and
# the menu entry, MIME type and icons naming each other.
function(fail)
  string(JOIN "" text ${ARGN})
  message(FATAL_ERROR "${text}")
endfunction()
function(expect_file path)
  if(NOT EXISTS ${path} OR IS_DIRECTORY ${path})
    fail("missing: ${path}")
  endif()
endfunction()

file(REMOVE_RECURSE ${ROOT})
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${ROOT}
                        ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  fail("cmake --install failed: ${status}")
endif()
set(usr ${ROOT}/usr)
set(share ${usr}/${DATADIR})

# The programs, and the data where the installed program finds it.
expect_file(${usr}/${BINDIR}/kwizmar)
cmake_path(SET data NORMALIZE "${usr}/${BINDIR}/${DATA_FROM_BIN}")
expect_file(${data}/help/trelvo2006.html)
file(GLOB samples ${data}/Testy/*.ts2)
if(NOT samples)
  fail("no sample tests in ${data}/Testy")
endif()
foreach(sample IN LISTS samples)
  execute_process(COMMAND ${usr}/${BINDIR}/kwizmar-ts2 check ${sample} RESULT_VARIABLE status
                  OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    fail("the installed kwizmar-ts2 rejects ${sample}: ${err}")
  endif()
endforeach()

# The menu entry starts the program by its name, with the program's icon, for
# the MIME type the package declares with its own icon.
file(READ ${share}/applications/kwizmar.desktop entry)
foreach(line "Exec=kwizmar %f" "Categories=Education;")
  string(FIND "${entry}" "\n${line}\n" at)
  if(at EQUAL -1)
    fail("kwizmar.desktop has no line ${line}")
  endif()
endforeach()
string(REGEX MATCH "\nIcon=([^\n]*)" _ "${entry}")
set(programIcon ${CMAKE_MATCH_1})
string(REGEX MATCH "\nMimeType=([^;\n]*);" _ "${entry}")
set(type ${CMAKE_MATCH_1})
file(READ ${share}/mime/packages/kwizmar.xml mime)
string(REGEX MATCH "<mime-type type=\"${type}\">.*<icon name=\"([^\"]*)\"/>" _ "${mime}")
set(typeIcon ${CMAKE_MATCH_1})
if(type STREQUAL "" OR typeIcon STREQUAL "" OR NOT mime MATCHES "<glob pattern=\"\\*\\.ts2\"/>")
  fail("kwizmar.xml does not declare ${type} for *.ts2 with an icon:\n${mime}")
endif()
foreach(icon "apps/${programIcon}" "mimetypes/${typeIcon}")
  expect_file(${share}/icons/hicolor/scalable/${icon}.svg)
  foreach(size 16 32 48 64 128 256)
    expect_file(${share}/icons/hicolor/${size}x${size}/${icon}.png)
  endforeach()
endforeach()

find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
  execute_process(COMMAND ${VALIDATE} ${share}/applications/kwizmar.desktop
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0 OR NOT out STREQUAL "")
    fail("desktop-file-validate: ${out}")
  endif()
endif()
file(REMOVE_RECURSE ${ROOT})
