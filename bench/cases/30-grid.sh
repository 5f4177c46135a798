#!/usr/bin/env bash
# The full-list grid offscreen over 1 000 000 and 10 000 000 generated records: open,
# scroll to the end, sort by each column, set and clear a filter. bench_grid states
# each target (at most 0.5 s per step for 1 000 000 records, growth no worse than
# N log N) with its measured figure and fails when one is missed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../lib.sh" "$@"
GRID="$BUILD_DIR/bench/bench_grid"

args=()
for n in $BENCH_SIZES; do
    # The grid bench builds its records in memory; below a million there is nothing to learn.
    if [[ "$n" -ge 1000000 ]]; then args+=(--records "$n"); fi
done
if [[ ${#args[@]} -eq 0 ]]; then
    bench_report "grid: no size of 1000000 or more in this run"
    exit 0
fi
QT_QPA_PLATFORM=offscreen "$GRID" "${args[@]}" | while IFS= read -r line; do bench_report "$line"; done
exit "${PIPESTATUS[0]}"
