# Shared helpers for bench/cases/*.sh. Source it:
#   source "$(dirname "${BASH_SOURCE[0]}")/../lib.sh" "$@"
# It sets BUILD_DIR and WORK from the case's arguments and BENCH_SIZES from the run.

BUILD_DIR="$1"
WORK="$2"
BENCH_SIZES="${NORVALE_BENCH_SIZES:-100000 1000000 10000000}"
BENCH_RESULTS="${NORVALE_BENCH_RESULTS:-$WORK/results.txt}"
GEN_LIST="$BUILD_DIR/bench/norvale-gen-list"
declare -gA BENCH_SECONDS=()

# bench_report LINE: prints a result line and keeps it in the run's results file.
bench_report() {
    echo "$*" | tee -a "$BENCH_RESULTS"
}

# bench_time LABEL COMMAND...: runs COMMAND once (output discarded), reports its wall
# time and peak RSS, and keeps the seconds in BENCH_SECONDS[LABEL] for bench_ratio.
# A failing command fails the case.
bench_time() {
    local label="$1"
    shift
    local rss_file
    rss_file="$(mktemp)"
    local start end
    start="$EPOCHREALTIME"
    if ! /usr/bin/time -f %M -o "$rss_file" "$@" > /dev/null; then
        rm -f "$rss_file"
        bench_report "$label: FAILED ($*)"
        return 1
    fi
    end="$EPOCHREALTIME"
    local seconds rss
    seconds="$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')"
    rss="$(tail -n 1 "$rss_file")"
    rm -f "$rss_file"
    BENCH_SECONDS["$label"]="$seconds"
    bench_report "$(printf '%-44s %9s s  peak RSS %8s KiB' "$label" "$seconds" "$rss")"
}

# bench_time_sh LABEL 'SHELL PIPELINE': as bench_time, for a pipeline (RSS of the shell only).
bench_time_sh() {
    local label="$1"
    bench_time "$label" bash -c "$2"
}

# bench_ratio LABEL BASELINE_LABEL: reports LABEL's time as a multiple of the baseline's.
bench_ratio() {
    local t="${BENCH_SECONDS[$1]:-}" b="${BENCH_SECONDS[$2]:-}"
    if [[ -z "$t" || -z "$b" ]]; then
        bench_report "ratio $1 / $2: missing measurement"
        return 0
    fi
    bench_report "$(awk -v t="$t" -v b="$b" -v l="$1" -v r="$2" \
        'BEGIN { if (b <= 0) b = 0.001; printf "%-44s %9.2f x %s\n", l, t / b, r }')"
}

# bench_list N: generates the N-line list (seed 1) once into the work folder and
# prints the path of its text; bench_list_zip N prints the path of the zip archive
# holding it as PoolDeletingDomainsList.txt. Both are reused by later runs.
bench_list() {
    local n="$1"
    local dir="$WORK/lists/$n"
    local text="$dir/PoolDeletingDomainsList.txt"
    if [[ ! -s "$text" ]]; then
        mkdir -p "$dir"
        "$GEN_LIST" "$n" --seed 1 --out "$text.tmp" && mv "$text.tmp" "$text"
    fi
    echo "$text"
}

bench_list_zip() {
    local n="$1"
    local text
    text="$(bench_list "$n")"
    local zip="$WORK/lists/$n/list.zip"
    if [[ ! -s "$zip" ]]; then
        (cd "$(dirname "$text")" && rm -f list.zip.tmp && zip -q -X list.zip.tmp PoolDeletingDomainsList.txt \
            && mv list.zip.tmp list.zip)
    fi
    echo "$zip"
}
