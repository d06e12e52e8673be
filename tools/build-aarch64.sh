#!/usr/bin/env bash
# Cross-builds the solver, the command line and their tests for aarch64 into
# DIR, runs the in-process suites under qemu-user and, given the x86 program,
# compares the batch output of a fixed 20,000-problem corpus byte for byte
# (both separators, with the working). DIR/cli/parvolin-cli is the aarch64
# program afterwards.
#   tools/build-aarch64.sh DIR [X86_PARVOLIN_CLI [CMAKE_ARGS...]]
# cli_tests and the Python checks start parvolin-cli as a child process, which
# needs the kernel to run aarch64 programs itself (binfmt); they are left out.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=${1:?usage: tools/build-aarch64.sh DIR [X86_PARVOLIN_CLI]}
x86_cli=${2:-}

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/tools/aarch64-toolchain.cmake" \
    -DPARVOLIN_BUILD_UI=OFF -DPARVOLIN_BUILD_BENCH=OFF "${@:3}"
cmake --build "$dir" --target parvolin-cli solver_tests cli_steps_tests
# The test programs directly under the emulator the toolchain names.
for suite in solver_tests cli_steps_tests; do
    echo "== $suite (aarch64, qemu-user)"
    qemu-aarch64 "$dir/tests/$suite" --gtest_brief=1
done

if [[ -n $x86_cli ]]; then
    corpus=$(mktemp)
    mine=$(mktemp)
    theirs=$(mktemp)
    trap 'rm -f "$corpus" "$mine" "$theirs"' EXIT
    python3 tests/model/batch_corpus.py 20000 7 >"$corpus"
    for sep in , .; do
        qemu-aarch64 "$dir/cli/parvolin-cli" batch --sep "$sep" --json --steps <"$corpus" >"$mine"
        "$x86_cli" batch --sep "$sep" --json --steps <"$corpus" >"$theirs"
        if ! cmp -s "$mine" "$theirs"; then
            echo "aarch64 and x86 batch outputs differ (separator $sep):" >&2
            diff <(tr -d '\r' <"$theirs") <(tr -d '\r' <"$mine") | head -20 >&2
            exit 1
        fi
    done
    echo "aarch64 batch output of 20000 problems identical to x86's (both separators)"
fi
