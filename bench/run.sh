#!/usr/bin/env bash
# bench/run.sh BUILD_DIR [--sizes "N N ..."] [PATTERN...]
# Runs every bench/cases/*.sh in name order (or only those whose name contains one
# of the PATTERNs). Each case gets BUILD_DIR and a work folder under
# BUILD_DIR/bench-work, where generated lists are kept between runs.
set -euo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
if [[ $# -lt 1 ]]; then
    echo "usage: bench/run.sh BUILD_DIR [--sizes \"N N ...\"] [PATTERN...]" >&2
    exit 2
fi
BUILD_DIR="$(cd "$1" && pwd)"
shift
export NORVALE_BENCH_SIZES="${NORVALE_BENCH_SIZES:-100000 1000000 10000000}"
patterns=()
while [[ $# -gt 0 ]]; do
    case "$1" in
        --sizes) NORVALE_BENCH_SIZES="$2"; shift 2 ;;
        *) patterns+=("$1"); shift ;;
    esac
done
WORK="$BUILD_DIR/bench-work"
mkdir -p "$WORK"
export NORVALE_BENCH_RESULTS="$WORK/results.txt"
: > "$NORVALE_BENCH_RESULTS"

status=0
for case_script in "$HERE"/cases/*.sh; do
    [[ -e "$case_script" ]] || continue
    name="$(basename "$case_script")"
    if [[ ${#patterns[@]} -gt 0 ]]; then
        wanted=0
        for p in "${patterns[@]}"; do [[ "$name" == *"$p"* ]] && wanted=1; done
        [[ $wanted -eq 1 ]] || continue
    fi
    echo "=== $name" | tee -a "$NORVALE_BENCH_RESULTS"
    if ! bash "$case_script" "$BUILD_DIR" "$WORK"; then
        echo "!!! $name failed" | tee -a "$NORVALE_BENCH_RESULTS"
        status=1
    fi
done
echo
echo "Results: $NORVALE_BENCH_RESULTS"
exit $status
