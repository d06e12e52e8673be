#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz/ with clang into build-fuzz/ and
# runs each for FUZZ_SECONDS (default 60) on a copy of its seed corpus, so
# the tree is never written. Fails when any target finds anything; the input
# is kept in build-fuzz/findings/<target>/ and the whole log in
# build-fuzz/logs/<target>.log.
#
#   bash tools/fuzz.sh                       every target
#   bash tools/fuzz.sh date_time_fuzz        the ones named
#   FUZZ_SECONDS=3600 bash tools/fuzz.sh     longer runs
#   FUZZ_FLAGS="-max_len=20000" bash ...     more libFuzzer options
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(parse_format_fuzz date_time_fuzz settings_file_fuzz rtf_writer_fuzz graph_view_fuzz)
fi
read -r -a extra_flags <<<"${FUZZ_FLAGS:-}"

CC=clang CXX=clang++ cmake -S tests/fuzz -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz --target "${targets[@]}"

# The corpus copies and the targets' own files (TMPDIR), in memory where
# the system allows: the settings target syncs a file on every write.
work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p build-fuzz/logs

failed=()
for target in "${targets[@]}"; do
    corpus=$work/$target
    findings=build-fuzz/findings/$target
    log=build-fuzz/logs/$target.log
    mkdir -p "$corpus" "$findings"
    cp tests/fuzz/corpus/"$target"/* "$corpus"/
    echo "== fuzzing $target for ${seconds} s"
    if TMPDIR=$work ./build-fuzz/"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/" "${extra_flags[@]}" "$corpus" >"$log" 2>&1; then
        grep -E '^(Done|stat::(number_of_executed_units|average_exec_per_sec|new_units_added))' "$log" || true
    else
        tail -n 40 "$log"
        echo "== $target FAILED; the input is in $findings/, the log in $log"
        failed+=("$target")
    fi
done

if ((${#failed[@]} > 0)); then
    echo "== fuzzing found faults in: ${failed[*]}"
    exit 1
fi
echo "== fuzzing: no findings"
