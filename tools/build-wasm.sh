#!/usr/bin/env bash
# Compiles the solver and the command line to WebAssembly with Debian's
# emscripten into DIR: `node DIR/parvolin-cli.js ...` is then the same command
# line as the native one (batch, steps, check, worksheet; not the PDF format).
#   tools/build-wasm.sh DIR [NATIVE_PARVOLIN_CLI [CMAKE_ARGS...]]
# Given the native program, compares the two byte for byte: the batch
# output of a fixed 20,000-problem corpus (both separators), the working of
# 2,000 of them, and steps, check and worksheet on a few problems.
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
wasm=(node "$dir/parvolin-cli.js")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
same() { # NAME COMMAND...: the wasm program's output and status against the native one's
    local name=$1
    shift
    local status=0 native_status=0
    "${wasm[@]}" "$@" <"$work/in" >"$work/mine" 2>&1 || status=$?
    "$native" "$@" <"$work/in" >"$work/theirs" 2>&1 || native_status=$?
    if [[ $status != "$native_status" ]] || ! cmp -s "$work/mine" "$work/theirs"; then
        echo "wasm and native differ: $name (exit $status against $native_status)" >&2
        diff <(tr -d '\r' <"$work/theirs") <(tr -d '\r' <"$work/mine") | head -20 >&2
        exit 1
    fi
}
python3 tests/model/batch_corpus.py 20000 7 >"$work/corpus"
cp "$work/corpus" "$work/in"
for sep in , .; do
    same "batch --sep $sep --json" batch --sep "$sep" --json
done
head -n 2000 "$work/corpus" >"$work/in"
for sep in , .; do
    same "batch --sep $sep --json --steps" batch --sep "$sep" --json --steps
done
: >"$work/in"
same "steps --json" steps --sep , --rel '<=' --places 3 --json -- 2 -3 -1
same "steps" steps --sep . --rel '>' -- 1 -0.6 0.09
same "check" check --sep , --rel '<' -- 1 -3 2 '(1; 2)'
same "check --json" check --sep , --json -- 1 0 -2 'x = ±√2'
same "worksheet" worksheet --count 60 --seed 24 --key --steps --sep ,
same "worksheet rtf" worksheet --count 12 --seed 7 --difficulty large --key --format rtf
same "a bad command line" steps --places 9 -- 1 2 3
# With no --sep, both take the separator of the environment's locale.
printf '1\t-3,5\t2\t<\t2\n1\t-3.5\t2\t>=\t3\n' >"$work/in"
for locale in C cs_CZ.UTF-8 de_DE.UTF-8; do
    LC_ALL=$locale same "batch under $locale with no --sep" batch --json
done
echo "wasm output identical to native: batch of 20000 problems (both separators), working of 2000, steps, check, worksheet, the separator of three locales"
