#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build's
# suite, the aarch64 and wasm builds against it, the web page in a browser,
# a short run of the benchmarks to prove they work, a check of the .deb
# package, one print job through a private CUPS server, the fuzz targets
# for a bounded time, the suites under Czech and German locales, and the
# whole suite again built with the address and undefined-behaviour
# sanitizers. The normal suite runs last, so its summary
# closes the output.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh

echo "== build"
bash tools/build.sh build
echo "== aarch64: cross build, suites under qemu-user, batch output against x86's"
bash tools/build-aarch64.sh build-aarch64 build/cli/parvolin-cli
echo "== wasm: emscripten build, command line under node against the native one"
bash tools/build-wasm.sh build-wasm build/cli/parvolin-cli
echo "== the web page: its solver module against the command line, the page in chromium"
bash tools/web-test.sh build/cli/parvolin-cli
echo "== benchmarks (smoke run)"
./build/bench/parvolin_bench --benchmark_min_time=0.01 >/dev/null
echo "== package"
bash tools/package-check.sh build
echo "== printing through CUPS"
bash tools/cups-print-test.sh build/tests/ui/ui_tests
echo "== fuzzing"
FUZZ_SECONDS=${FUZZ_SECONDS:-45} bash tools/fuzz.sh # five targets, under four minutes in all

# The window's toolkit sets the process locale from the environment; the
# suites run again under the Czech locale our users have, and the solver's and
# command line's under a German one (decimal comma, "." grouping).
echo "== tests under cs_CZ.UTF-8"
LC_ALL=cs_CZ.UTF-8 ctest --test-dir build --output-on-failure -j2 -E '^(model_selfcheck|model_differential|steps_sympy)$'
echo "== solver and command-line tests under de_DE.UTF-8"
for suite in solver_tests cli_tests cli_steps_tests; do
    LC_ALL=de_DE.UTF-8 "build/tests/$suite" --gtest_brief=1
done

echo "== sanitizer build"
bash tools/build.sh build-sanitize -DPARVOLIN_SANITIZE=ON -DPARVOLIN_BUILD_BENCH=OFF
echo "== tests with sanitizers"
ctest --test-dir build-sanitize --output-on-failure -j2

echo "== tests"
ctest --test-dir build --output-on-failure -j2
