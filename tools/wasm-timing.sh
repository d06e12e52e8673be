#!/usr/bin/env bash
# Times the WebAssembly program under node on school problems: the report
# and the exact working of one problem in processor time, from a batch of
# many, its start-up taken off; the three problems of the desktop's
# benchmarks of the working. A measurement to read, not a test.
#   tools/wasm-timing.sh DIR [COUNT]
set -euo pipefail
cd "$(dirname "$0")/.."

dir=${1:?usage: tools/wasm-timing.sh DIR [COUNT]}
count=${2:-20000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The processor time (user and system) node spends, in microseconds: on a
# busy machine the wall clock would count the other programs too.
TIMEFORMAT='%3U %3S'
run() { # INPUT ARGS...
    local spent
    spent=$({ time node "$dir/parvolin-cli.js" batch "${@:2}" <"$1" >/dev/null; } 2>&1)
    awk -v t="$spent" 'BEGIN { split(t, p, " "); printf "%d\n", (p[1] + p[2]) * 1000000 }'
}
printf '%s\n' "name	report	report+working	working (µs a problem)"
while IFS='|' read -r name line; do
    printf '%s\n' "$line" >"$work/one"
    for ((i = 0; i < count; ++i)); do printf '%s\n' "$line"; done >"$work/many"
    start_up=$(run "$work/one" --sep , --json --steps)
    report=$(run "$work/many" --sep , --json)
    both=$(run "$work/many" --sep , --json --steps)
    awk -v n="$count" -v s="$start_up" -v r="$report" -v b="$both" -v name="$name" \
        'BEGIN { printf "%s\t%.1f\t%.1f\t%.1f\n", name, (r - s) / n, (b - s) / n, (b - r) / n }'
done <<'PROBLEMS'
fractions|2	-3	1	>	2
surds|1	-3	1	<	3
decimals|1	-0,6	0,09	=	2
PROBLEMS
