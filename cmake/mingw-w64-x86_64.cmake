# Cross-builds the program for 64-bit Windows with Debian's MinGW-w64
# compilers (package g++-mingw-w64-x86-64-posix). The posix thread model is the
# one Qt for Windows needs, so the whole program is built with it.
#
#   cmake -S . -B build-windows -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DKWIZMAR_WITH_QT=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KWIZMAR_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KWIZMAR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KWIZMAR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KWIZMAR_MINGW_TRIPLE}-windres)

# Kept beside the roots given on the command line (the cross-built Qt and
# libxlsxwriter).
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${KWIZMAR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes go into every program, so a program runs from any
# folder without the compiler's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs (and GoogleTest's discovery of their tests) run under Wine.
find_program(KWIZMAR_WINE NAMES wine wine64)
if(KWIZMAR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KWIZMAR_WINE})
endif()
