# Third-party libraries, all from Debian packages (see scripts/setup.sh).
find_package(Threads REQUIRED)
# The browser build (cmake/emscripten.cmake) draws with WebGL 2 and plays through Web Audio, both
# reached through emscripten's own headers; only UCL is built for it, by scripts/web-deps.sh.
if(NOT WIN32 AND NOT EMSCRIPTEN)
  find_package(SDL2 REQUIRED)
  set(OpenGL_GL_PREFERENCE GLVND)
  find_package(OpenGL REQUIRED COMPONENTS OpenGL EGL)
  find_package(PNG REQUIRED)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(EPOXY REQUIRED IMPORTED_TARGET epoxy)
endif()
# The Windows build (cmake/mingw-w64.cmake) draws with Direct3D 8 and plays through the wave output,
# both part of Windows; only UCL is built for it, by scripts/windows-deps.sh. Its capture writes PNG
# frames through zlib alone (Debian's libz-mingw-w64-dev), linked statically like the runtimes so
# demo.exe needs no DLL beside it.
if(WIN32)
  set(ZLIB_USE_STATIC_LIBS ON)
endif()
if(NOT EMSCRIPTEN)
  find_package(ZLIB REQUIRED)
endif()

# UCL ships neither a pkg-config file nor a CMake config.
find_path(UCL_INCLUDE_DIR ucl/ucl.h REQUIRED)
find_library(UCL_LIBRARY ucl REQUIRED)
add_library(ucl::ucl UNKNOWN IMPORTED)
set_target_properties(ucl::ucl PROPERTIES
  IMPORTED_LOCATION "${UCL_LIBRARY}"
  INTERFACE_INCLUDE_DIRECTORIES "${UCL_INCLUDE_DIR}")

if(DEMO_BUILD_TESTS)
  if(WIN32)
    # libgtest-dev ships GoogleTest's sources: built here with the cross compiler (they define the
    # GTest:: names themselves).
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  else()
    find_package(GTest REQUIRED)
  endif()
endif()
if(DEMO_BUILD_BENCH AND NOT WIN32)
  find_package(benchmark QUIET)
endif()
