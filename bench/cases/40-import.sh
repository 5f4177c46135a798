#!/usr/bin/env bash
# norvale-cli import of the generated list archive (inflate, parse, match with the bench
# rule set, save both lists), side by side with the unzip floor and the same rules as an
# unzip | mawk pipeline. Targets: at most 1.5x the unzip floor, at least 2x faster than
# mawk, and the 10 000 000-line list within 1.5 GiB of peak memory.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../lib.sh" "$@"
CLI="$BUILD_DIR/src/norvale-cli"

# The bench rule set: four checked rules of the usual kinds.
rules_folder() {
    local dir="$1"
    rm -rf "$dir"
    mkdir -p "$dir"
    "$CLI" --data-dir "$dir" rules add --keyword shop --position anywhere --ext com,net
    "$CLI" --data-dir "$dir" rules add --keyword web --position start --no-digits --at-most 10
    "$CLI" --data-dir "$dir" rules add --keyword app --position end --no-dashes --ext com,org,info
    "$CLI" --data-dir "$dir" rules add --exactly 5 --no-dashes --no-digits --ext com
}

# The same rules in mawk, on the same field cuts (every extension of the generated lists
# is what follows the name's dot).
read -r -d '' MAWK_RULES <<'AWK' || true
BEGIN { FS = "," }
{
    f = $1; d = index(f, ".")
    if (d) { name = substr(f, 1, d - 1); ext = substr(f, d + 1) } else { name = f; ext = "" }
    n = length(name); m = 0
    if (index(name, "shop") && (ext == "com" || ext == "net")) m = 1
    else if (substr(name, 1, 3) == "web" && name !~ /[0-9]/ && n <= 10 &&
             ext ~ /^(com|net|org|info|biz|ca|us|co\.uk|org\.uk|me\.uk)$/) m = 1
    else if (n >= 3 && substr(name, n - 2) == "app" && index(name, "-") == 0 &&
             (ext == "com" || ext == "org" || ext == "info")) m = 1
    else if (n == 5 && index(name, "-") == 0 && name !~ /[0-9]/ && ext == "com") m = 1
    if (m) c++
    t++
}
END { print t, c + 0 }
AWK

for n in $BENCH_SIZES; do
    zip="$(bench_list_zip "$n")"
    data="$WORK/import-data-$n"
    rules_folder "$data"
    # One untimed run to warm the page cache and check the counts agree.
    cli_counts="$("$CLI" --data-dir "$data" import "$zip" | sed -E 's/Imported ([0-9]+) domains, ([0-9]+) match.*/\1 \2/')"
    awk_counts="$(unzip -p "$zip" | mawk "$MAWK_RULES")"
    bench_report "import $n: norvale-cli counts $cli_counts, mawk counts $awk_counts"
    bench_time "unzip -p $n" unzip -p "$zip"
    bench_time "norvale-cli import $n" "$CLI" --data-dir "$data" import "$zip"
    bench_time_sh "unzip -p | mawk rules $n" "unzip -p '$zip' | mawk '$MAWK_RULES'"
    bench_ratio "norvale-cli import $n" "unzip -p $n"
    bench_ratio "unzip -p | mawk rules $n" "norvale-cli import $n"
    rm -rf "$data"
done
