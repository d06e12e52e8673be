#!/usr/bin/env bash
# Compiles the solver and the command line to WebAssembly with Debian's
# emscripten into DIR: `node DIR/parvolin-cli.js ...` is then the same command
# line as the native one (batch, steps, check, worksheet; not the PDF format).
#   tools/build-wasm.sh DIR [NATIVE_PARVOLIN_CLI [CMAKE_ARGS...]]
# Given the native program, compares the two byte for byte
# (tests/web/cli.test.mjs, under node's test runner): the batch output of a
# fixed 20,000-problem corpus (both separators), the working of 2,000 of
# them, steps, check and worksheet on a few problems, and the separator
# each takes from the locale.
# long double is no x87 type there, so the software extended type computes;
# the exact numbers are Boost's own integers, as there is no GMP for wasm.
# The program is one file with the wasm inside (SINGLE_FILE), which node 20
# loads without fetch; it reads and writes the real file system (NODERAWFS).
set -euo pipefail
cd "$(dirname "$0")/.."

dir=${1:?usage: tools/build-wasm.sh DIR [NATIVE_PARVOLIN_CLI [CMAKE_ARGS...]]}
native=${2:-}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

# Boost and nlohmann/json are headers only; emscripten sees them and nothing
# else of /usr/include (whose C library is not its own).
libraries="$dir/library-include"
mkdir -p "$libraries"
ln -sfn /usr/include/boost "$libraries/boost"
ln -sfn /usr/include/nlohmann "$libraries/nlohmann"

# C++ exceptions as WebAssembly's own (node 20; Chromium 95, Firefox 100,
# Safari 15.2 and later): emscripten's other kind, -fexceptions, sends every
# call that may throw through JavaScript, and a school problem's working took
# twice as long under node with it (300 µs against 145).
flags="-fwasm-exceptions -ffp-contract=off"
emcmake cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DPARVOLIN_BUILD_UI=OFF -DPARVOLIN_BUILD_BENCH=OFF -DPARVOLIN_BUILD_TESTS=OFF \
    -DPARVOLIN_SOFT_EXTENDED=ON -DPARVOLIN_GMP_NUMBERS=OFF -DPARVOLIN_LIBRARY_INCLUDE="$libraries" \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fwasm-exceptions -sSINGLE_FILE=1 -sNODERAWFS=1 -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1 -sTOTAL_STACK=8MB" \
    "${@:3}" >/dev/null
cmake --build "$dir" --target parvolin-cli
cp "$dir/cli/parvolin-cli.js" "$dir/parvolin-cli.js"
echo "built $dir/parvolin-cli.js"

[[ -n $native ]] || exit 0
PARVOLIN_WASM_CLI=$dir/parvolin-cli.js PARVOLIN_CLI=$(realpath "$native") node --test tests/web/cli.test.mjs
