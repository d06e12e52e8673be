#!/usr/bin/env bash
# Builds the static page into build-web/ (the solver compiled to WebAssembly
# with Debian's emscripten, and the files of web/) and serves it on
# 127.0.0.1:8080. The folder is the whole page: copy it to any static host.
#   tools/web.sh [--no-serve] [PORT]
set -euo pipefail
cd "$(dirname "$0")/.."

serve=1
if [[ ${1:-} == --no-serve ]]; then
    serve=0
    shift
fi
port=${1:-8080}
site=$PWD/build-web
command -v emcc >/dev/null || bash tools/install-deps.sh
tree=$PWD/build-web-cmake
mkdir -p "$tree" "$site"

# Boost and nlohmann/json are headers only; emscripten sees them and nothing
# else of /usr/include, as in tools/build-wasm.sh.
libraries="$tree/library-include"
mkdir -p "$libraries"
ln -sfn /usr/include/boost "$libraries/boost"
ln -sfn /usr/include/nlohmann "$libraries/nlohmann"

export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
flags="-fwasm-exceptions -ffp-contract=off"
if [[ ! -f $tree/build.ninja ]]; then
    emcmake cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DPARVOLIN_BUILD_UI=OFF -DPARVOLIN_BUILD_BENCH=OFF -DPARVOLIN_BUILD_TESTS=OFF -DPARVOLIN_BUILD_WEB=ON \
        -DPARVOLIN_SOFT_EXTENDED=ON -DPARVOLIN_GMP_NUMBERS=OFF -DPARVOLIN_LIBRARY_INCLUDE="$libraries" \
        -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fwasm-exceptions" >/dev/null
fi
cmake --build "$tree" --target parvolin-web

# The page's files, then the solver; the service worker's list of files to
# keep names them all, and its cache's name changes with their content.
rm -rf "$site"
mkdir -p "$site"
cp web/*.html web/*.css web/*.js web/*.json web/*.svg web/*.png "$site/"
cp "$tree/web/parvolin-solver.js" "$tree/web/parvolin-solver.wasm" "$site/"
version=$(cd "$site" && cat -- * | sha256sum | cut -c1-16)
files=$(cd "$site" && ls | grep -v '^sw\.js$' | sed 's/.*/"&"/' | paste -sd, -)
sed -i -e "s/@VERSION@/$version/" -e "s/\"@FILES@\"/$files/" "$site/sw.js"
echo "built $site"

[[ $serve == 1 ]] || exit 0
echo "http://127.0.0.1:$port/"
exec python3 -m http.server --bind 127.0.0.1 --directory "$site" "$port"
