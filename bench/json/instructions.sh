#!/usr/bin/env bash
# Counts the instructions one operation of each JSON benchmark case takes,
# under callgrind: a cross-check of the timings that does not depend on what
# else the machine is doing. Only the measured rounds are counted (not the
# set-up, not the warm-up round).
# Usage: bench/json/instructions.sh path/to/taviro_bench_json [rounds] [filter]
set -euo pipefail
bench=$1
rounds=${2:-3}
filter=${3:-.}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for name in $("$bench" --benchmark_list_tests=true --benchmark_filter="$filter"); do
  valgrind --tool=callgrind --callgrind-out-file="$out/counts" --collect-atstart=no \
    --toggle-collect='*runRounds*' "$bench" --rounds="$rounds" "$name" >/dev/null 2>&1
  total=$(awk '/^totals:/ {print $2}' "$out/counts")
  echo "$name $((total / rounds))"
done | awk '
  { split($1, part, "/"); key = part[1] " " part[2]; count[key, part[3]] = $2
    if (!(key in seen)) { seen[key] = 1; order[++n] = key } }
  END {
    printf "%-6s %-15s %14s %14s %14s %9s %9s\n", "what", "document", "taviro", "nlohmann",
           "rapidjson", "/nlohmann", "/rapidjson"
    for (i = 1; i <= n; ++i) {
      k = order[i]; t = count[k, "taviro"]; a = count[k, "nlohmann"]; b = count[k, "rapidjson"]
      split(k, w, " ")
      printf "%-6s %-15s %14d %14d %14d %9s %9s\n", w[1], w[2], t, a, b,
             a ? sprintf("%.2f", t / a) : "-", b ? sprintf("%.2f", t / b) : "-"
    }
    print "instructions per operation; ratios = taviro / other"
  }'
