#!/usr/bin/env bash
# The PDF report of 100 000 records (2 084 pages): layout and painting measured apart
# by bench_reportBench (target: at most 5 s together), and norvale-cli report of the
# imported list as a whole process. The report is for lists a person would print, so
# only the smallest of the run's sizes is timed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../lib.sh" "$@"
CLI="$BUILD_DIR/src/norvale-cli"
BENCH="$BUILD_DIR/bench/bench_reportBench"
export QT_QPA_PLATFORM=offscreen

"$BENCH" 2>/dev/null | tee -a "$BENCH_RESULTS"

n=100000
data="$WORK/report-data-$n"
rm -rf "$data"
"$CLI" --data-dir "$data" import "$(bench_list "$n")" > /dev/null
bench_time "norvale-cli report --list full $n" "$CLI" --data-dir "$data" report --list full --pdf "$WORK/report-$n.pdf"
bench_report "report $n: $(pdfinfo "$WORK/report-$n.pdf" 2>/dev/null | grep -E '^Pages:' | tr -s ' ')," \
    "$(stat -c %s "$WORK/report-$n.pdf") bytes"
rm -rf "$data" "$WORK/report-$n.pdf"
