#!/usr/bin/env bash
# Times the WebAssembly program under node on school problems: the report
# and the exact working of one problem, from a batch of many, its start-up
# taken off; the same three problems as the desktop's benchmarks of the
# working. A measurement to read, not a test.
#   tools/wasm-timing.sh DIR [COUNT]
set -euo pipefail
cd "$(dirname "$0")/.."

dir=${1:?usage: tools/wasm-timing.sh DIR [COUNT]}
count=${2:-20000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

now() { date +%s%N; }
run() { # INPUT ARGS...: nanoseconds the batch takes
    local start
    start=$(now)
    node "$dir/parvolin-cli.js" batch "${@:2}" <"$1" >/dev/null
    echo $(($(now) - start))
}
printf '%s\n' "name	report	report+working	working (µs a problem)"
while IFS='|' read -r name line; do
    printf '%s\n' "$line" >"$work/one"
    for ((i = 0; i < count; ++i)); do printf '%s\n' "$line"; done >"$work/many"
    start_up=$(run "$work/one" --sep , --json --steps)
    report=$(run "$work/many" --sep , --json)
    both=$(run "$work/many" --sep , --json --steps)
    awk -v n="$count" -v s="$start_up" -v r="$report" -v b="$both" -v name="$name" \
        'BEGIN { printf "%s\t%.1f\t%.1f\t%.1f\n", name, (r - s) / n / 1000, (b - s) / n / 1000, (b - r) / n / 1000 }'
done <<'PROBLEMS'
fractions|2	-3	1	>	2
surds|1	-3	1	<	3
decimals|1	-0,6	0,09	=	2
PROBLEMS
