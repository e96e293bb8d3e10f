#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# haoma-cli where: numbers looked up per second through a pipe, against awk and grep -F -f
# doing the same join over the segment data CSV in the same run; and the store's build time
# and size.
# Usage: bench/where_bench.sh [build folder, default build/dev] [repeats] [numbers]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
repeats=${2:-5}
count=${3:-5000000}
cli=$build/bin/haoma-cli
csv=$build/data/segments-2025-02.csv
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Numbers of known segments, in random order, one per line.
awk -F, -v n="$count" 'NR > 1 { s[++k] = $1 } END { srand(7); for (i = 0; i < n; i++)
  printf "%s%04d\n", s[int(rand() * k) + 1], int(rand() * 10000) }' "$csv" > "$work/numbers.txt"
# grep -F -f needs the patterns: every segment at the start of a line.
awk -F, 'NR > 1 { print $1 }' "$csv" > "$work/segments.txt"

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
seconds() { local start end; start=$(date +%s.%N); "$@"; end=$(date +%s.%N); echo "$end - $start" | bc -l; }
measure() {  # label command...
  local label=$1; shift
  local times=()
  for _ in $(seq "$repeats"); do times+=("$(seconds bash -c "$*")"); done
  local m; m=$(printf '%s\n' "${times[@]}" | median)
  printf '%-52s median %7.3f s  %6.2f M numbers/s\n' "$label" "$m" "$(echo "$count / $m / 1000000" | bc -l)"
}

echo "== where: $count numbers of known segments, through a pipe"
measure "haoma-cli where < numbers | cat" "$cli where < $work/numbers.txt | cat > /dev/null"
measure "awk join on the CSV (hash of 517,258 prefixes)" \
  "awk -F, 'NR == FNR { if (FNR > 1) p[\$1] = \$2 \"\\t\" \$3 \"\\t\" \$6 \"\\t\" \$5; next }
        { print \$0 \"\\t\" substr(\$0, 1, 7) \"\\t\" p[substr(\$0, 1, 7)] }' $csv $work/numbers.txt | cat > /dev/null"
measure "grep -F -f segments (match only, no fields)" \
  "grep -F -f $work/segments.txt $work/numbers.txt | cat > /dev/null"

echo "== the segment store"
rm -f "$work/mobile.db"
start=$(date +%s.%N)
"$build/tools/build_segment_store" "$work/mobile.db" "$csv" --edition 2025-02 > /dev/null
end=$(date +%s.%N)
printf 'build from the CSV: %.2f s, %s bytes (%.1f MB)\n' "$(echo "$end - $start" | bc -l)" \
  "$(stat -c %s "$work/mobile.db")" "$(echo "$(stat -c %s "$work/mobile.db") / 1048576" | bc -l)"
