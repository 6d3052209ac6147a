# The browser build with Debian's emscripten (package emscripten), which works offline:
#   scripts/web-deps.sh
#   cmake -S . -B build/web -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake
# scripts/web.sh does both. Libraries built for wasm (UCL, by scripts/web-deps.sh) are looked for
# under DEMO_WEB_PREFIX.
set(DEMO_EMSCRIPTEN_ROOT /usr/share/emscripten CACHE PATH "Where emscripten is installed")
include("${DEMO_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake")

set(DEMO_WEB_PREFIX "${CMAKE_CURRENT_LIST_DIR}/../build/web-deps" CACHE PATH
    "Where scripts/web-deps.sh installed the libraries built for wasm")
list(APPEND CMAKE_FIND_ROOT_PATH "${DEMO_WEB_PREFIX}")

# emcc runs its JavaScript optimiser under Node when it links; Debian's emscripten finds the
# optimiser's modules (acorn) only through NODE_PATH.
set(CMAKE_CXX_LINKER_LAUNCHER "${CMAKE_COMMAND}" -E env NODE_PATH=/usr/share/nodejs)
set(CMAKE_C_LINKER_LAUNCHER "${CMAKE_COMMAND}" -E env NODE_PATH=/usr/share/nodejs)
