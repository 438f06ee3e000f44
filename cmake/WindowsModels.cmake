# The Windows model libraries: two models-only sub-builds cross-compiled
# with MinGW-w64, build/w64 (64-bit, <model>_x64.dll) and build/w32 (32-bit,
# <model>.dll), each with its own ami-run.exe for the Wine comparison tests.
# Skipped, with a note, when the cross compilers are not installed.
option(CORVIN_BUILD_WINDOWS "Also cross-build the Windows model libraries" ON)
set(CORVIN_WINDOWS_DIRS "" CACHE INTERNAL "Windows sub-builds")
if(NOT CORVIN_BUILD_WINDOWS OR CORVIN_MODELS_ONLY OR NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

include(ExternalProject)
set(dirs "")
foreach(arch x86_64 i686)
  find_program(CORVIN_MINGW_${arch} ${arch}-w64-mingw32-g++-win32)
  if(NOT CORVIN_MINGW_${arch})
    message(STATUS "Windows ${arch} libraries: ${arch}-w64-mingw32-g++-win32 not found, skipped")
    continue()
  endif()
  if(arch STREQUAL "x86_64")
    set(name w64)
  else()
    set(name w32)
  endif()
  ExternalProject_Add(models_${name}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${PROJECT_BINARY_DIR}/${name}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-${arch}.cmake
               -DCORVIN_MODELS_ONLY=ON -DCMAKE_BUILD_TYPE=Release
               -DCORVIN_BUILD_32BIT=OFF -DCORVIN_BUILD_TESTS=OFF
    # Only the libraries and the hosts: the IBIS checker is not built for
    # Windows.
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target corvin_rx1_ami corvin_tx1_ami ami-run ami-probe
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD ON)
  list(APPEND dirs ${PROJECT_BINARY_DIR}/${name})
endforeach()
set(CORVIN_WINDOWS_DIRS "${dirs}" CACHE INTERNAL "Windows sub-builds")
