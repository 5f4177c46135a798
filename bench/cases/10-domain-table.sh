#!/usr/bin/env bash
# The domain table: append, sort by each field, filter, save and load on generated
# records, the table's bytes per record, and the peak RSS of loading alone.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../lib.sh" "$@"

BENCH="$BUILD_DIR/bench/bench_domain_table"
args=()
for n in $BENCH_SIZES; do
    # Below a million records the table's figures say nothing the million does not.
    [[ $n -ge 1000000 ]] && args+=(--records "$n")
done
[[ ${#args[@]} -gt 0 ]] || args=(--records 1000000)

"$BENCH" "${args[@]}" --work "$WORK" --keep | tee -a "$BENCH_RESULTS"

# Loading alone, in a fresh process: its peak RSS is what a start with that list costs.
for file in "$WORK"/bench-table-*.dat; do
    [[ -e "$file" ]] || continue
    "$BENCH" --load "$file" | tee -a "$BENCH_RESULTS"
    rm -f "$file"
done
