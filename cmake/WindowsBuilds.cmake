# Cross builds of the Windows deliverables, driven from the native build.
# The native build runs the data generators first; the cross builds take the
# generated files from SUITE_DATA_DIR and embed them as resources.
include(ExternalProject)

if(NOT SUITE_WINDOWS_BUILDS)
  return()
endif()

find_program(SUITE_MINGW32 i686-w64-mingw32-g++-posix)
find_program(SUITE_MINGW64 x86_64-w64-mingw32-g++-posix)
if(NOT SUITE_MINGW32 OR NOT SUITE_MINGW64)
  message(FATAL_ERROR "mingw-w64 compilers not found: run scripts/setup.sh")
endif()

set(SUITE_WIN_ARCHS win32 win64)
set(SUITE_WIN32_TOOLCHAIN ${CMAKE_SOURCE_DIR}/cmake/mingw-i686.cmake)
set(SUITE_WIN64_TOOLCHAIN ${CMAKE_SOURCE_DIR}/cmake/mingw-x86_64.cmake)

foreach(arch IN LISTS SUITE_WIN_ARCHS)
  string(TOUPPER ${arch} ARCH)
  set(SUITE_${ARCH}_DIR ${CMAKE_BINARY_DIR}/${arch})
  ExternalProject_Add(windows-${arch}
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${SUITE_${ARCH}_DIR}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${SUITE_${ARCH}_TOOLCHAIN}
      -DCMAKE_BUILD_TYPE=Release
      -DSUITE_DATA_DIR=${SUITE_DATA_DIR}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    DEPENDS suite-data
    USES_TERMINAL_BUILD ON)
endforeach()
