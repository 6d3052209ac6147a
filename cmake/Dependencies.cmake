# Third-party libraries, all from Debian packages (see scripts/setup.sh).
find_package(Threads REQUIRED)
find_package(SDL2 REQUIRED)
set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED COMPONENTS OpenGL EGL)
find_package(PNG REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(EPOXY REQUIRED IMPORTED_TARGET epoxy)

# UCL ships neither a pkg-config file nor a CMake config.
find_path(UCL_INCLUDE_DIR ucl/ucl.h REQUIRED)
find_library(UCL_LIBRARY ucl REQUIRED)
add_library(ucl::ucl UNKNOWN IMPORTED)
set_target_properties(ucl::ucl PROPERTIES
  IMPORTED_LOCATION "${UCL_LIBRARY}"
  INTERFACE_INCLUDE_DIRECTORIES "${UCL_INCLUDE_DIR}")

if(DEMO_BUILD_TESTS)
  find_package(GTest REQUIRED)
endif()
if(DEMO_BUILD_BENCH)
  find_package(benchmark QUIET)
endif()
