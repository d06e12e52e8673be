#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build,
# then the same tests built with the address and undefined-behaviour
# sanitizers, and a short run of the benchmarks to prove they work.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh

echo "== build"
bash tools/build.sh build
echo "== benchmarks (smoke run)"
./build/bench/parvolin_bench --benchmark_min_time=0.01 >/dev/null

echo "== sanitizer build"
bash tools/build.sh build-sanitize -DPARVOLIN_SANITIZE=ON -DPARVOLIN_BUILD_BENCH=OFF
echo "== tests with sanitizers"
ctest --test-dir build-sanitize --output-on-failure -j2

echo "== tests"
ctest --test-dir build --output-on-failure -j2
