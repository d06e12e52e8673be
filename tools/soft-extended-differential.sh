#!/usr/bin/env bash
# The long run of the software extended type against the x87 hardware and
# MPFR: 10^9 operand pairs per operation (about fifty minutes on one idle
# core), or as many as PAIRS says, with the seed SEED (the test suite's
# own when unset). Needs a build directory with the test binary built.
#   tools/soft-extended-differential.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
cmake --build "$build" --target soft_extended_differential
args=(--pairs "${PAIRS:-1000000000}")
if [[ -n ${SEED:-} ]]; then
    args+=(--seed "$SEED")
fi
exec "$build/tests/soft_extended_differential" "${args[@]}"
