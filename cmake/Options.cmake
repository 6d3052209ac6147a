# Compiler settings every target of the project shares, carried by one interface target.
add_library(demo_options INTERFACE)
target_compile_options(demo_options INTERFACE -Wall -Wextra)
if(DEMO_WERROR)
  target_compile_options(demo_options INTERFACE -Werror)
endif()
target_compile_definitions(demo_options INTERFACE DEMO_VERSION="${PROJECT_VERSION}")

if(DEMO_SANITIZE)
  # Without -fno-sanitize-recover UBSan reports but the process still exits 0.
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(demo_options INTERFACE ${_san})
  target_link_options(demo_options INTERFACE ${_san})
endif()
if(DEMO_TSAN)
  set(_san -fsanitize=thread -fno-omit-frame-pointer)
  target_compile_options(demo_options INTERFACE ${_san})
  target_link_options(demo_options INTERFACE ${_san})
endif()
if(DEMO_FUZZ)
  # Everything instrumented for libFuzzer's coverage; only the fuzz targets link its driver. The lower
  # loader caps (archive/loader_contract.h) keep each input fast.
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(demo_options INTERFACE -fsanitize=fuzzer-no-link ${_san})
  target_link_options(demo_options INTERFACE ${_san})
  target_compile_definitions(demo_options INTERFACE DEMO_FUZZ_CAPS)
endif()
