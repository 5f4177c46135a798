#!/usr/bin/env bash
# norvale-cli import of the generated list archive (inflate, parse, match with the bench
# rule set, save both lists), side by side with the unzip floor and the same rules as an
# unzip | mawk pipeline. Targets: at most 1.5x the unzip floor, at least 2x faster than
# mawk, and the 10 000 000-line list within 1.5 GiB of peak memory.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../lib.sh" "$@"
CLI="$BUILD_DIR/src/norvale-cli"

# The bench rule set: the twelve rules of the Apply Rules bench (BenchRules() in
# bench/core/apply_rules.cpp and the mawk program of 20-apply.sh), keep them in step.
rules_folder() {
    local dir="$1"
    rm -rf "$dir"
    mkdir -p "$dir"
    local add=("$CLI" --data-dir "$dir" rules add)
    "${add[@]}" --keyword shop --position anywhere --ext com,net
    "${add[@]}" --keyword web --position start --no-digits --at-most 10
    "${add[@]}" --keyword app --position end --no-dashes --ext com,org,info
    "${add[@]}" --exactly 5 --no-dashes --no-digits --ext com
    "${add[@]}" --keyword cloud --position anywhere --exclude x
    "${add[@]}" --keyword my --position start --no-dashes --exactly 8 --ext com,net,org
    "${add[@]}" --keyword ly --position end --at-most 6 --ext co.uk,org.uk,me.uk,us,ca
    "${add[@]}" --keyword best --position anywhere --no-digits --ext biz,info
    "${add[@]}" --exclude a --no-digits --no-dashes --exactly 4 --ext net
    "${add[@]}" --keyword get --position start --no-dashes --ext com
    "${add[@]}" --keyword 24 --position anywhere --no-dashes --at-most 12
    "${add[@]}" --keyword hub --position end --no-digits --ext com,net,org,info,biz
}

# The same rules in mawk, on the same field cuts (every extension of the generated lists
# is what follows the name's dot).
read -r -d '' MAWK_RULES <<'AWK' || true
BEGIN {
    FS = ","
    split("com net org info biz ca us co.uk org.uk me.uk", a, " "); for (i in a) all[a[i]] = 1
    e1["com"] = e1["net"] = 1
    e3["com"] = e3["org"] = e3["info"] = 1
    e6["com"] = e6["net"] = e6["org"] = 1
    e7["co.uk"] = e7["org.uk"] = e7["me.uk"] = e7["us"] = e7["ca"] = 1
    e8["biz"] = e8["info"] = 1
    e12["com"] = e12["net"] = e12["org"] = e12["info"] = e12["biz"] = 1
}
{
    f = $1; d = index(f, ".")
    if (d) { name = substr(f, 1, d - 1); ext = substr(f, d + 1) } else { name = f; ext = "" }
    n = length(name); dash = index(name, "-") > 0; digit = name ~ /[0-9]/
    m = 0
    if (index(name, "shop") && (ext in e1)) m = 1
    else if (substr(name, 1, 3) == "web" && !digit && n <= 10 && (ext in all)) m = 1
    else if (n >= 3 && substr(name, n - 2) == "app" && !dash && (ext in e3)) m = 1
    else if (n == 5 && !dash && !digit && ext == "com") m = 1
    else if (index(name, "cloud") && !index(name, "x") && (ext in all)) m = 1
    else if (substr(name, 1, 2) == "my" && !dash && n == 8 && (ext in e6)) m = 1
    else if (n >= 2 && substr(name, n - 1) == "ly" && n <= 6 && (ext in e7)) m = 1
    else if (index(name, "best") && !digit && (ext in e8)) m = 1
    else if (!index(name, "a") && !digit && !dash && n == 4 && ext == "net") m = 1
    else if (substr(name, 1, 3) == "get" && !dash && ext == "com") m = 1
    else if (index(name, "24") && !dash && n <= 12 && (ext in all)) m = 1
    else if (n >= 3 && substr(name, n - 2) == "hub" && !digit && (ext in e12)) m = 1
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
    if [[ "$cli_counts" != "$awk_counts" ]]; then
        bench_report "import $n: FAILED, the two rule sets disagree"
        exit 1
    fi
    bench_time "unzip -p $n" unzip -p "$zip"
    bench_time "norvale-cli import $n" "$CLI" --data-dir "$data" import "$zip"
    bench_time_sh "unzip -p | mawk rules $n" "unzip -p '$zip' | mawk '$MAWK_RULES'"
    bench_ratio "norvale-cli import $n" "unzip -p $n"
    bench_ratio "unzip -p | mawk rules $n" "norvale-cli import $n"
    rm -rf "$data"
done
