#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# haoma-cli throughput against GNU seq (and seq | grep for the pretty numbers), measured in
# the same run; peak memory for 10 and 100 million numbers.
# Usage: bench/cli_bench.sh [build/dev/bin/haoma-cli] [repeats]
set -euo pipefail
cli=${1:-build/dev/bin/haoma-cli}
repeats=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

seq 1380000 1380999 > "$work/1k.txt"        # 1,000 segments: 10 million numbers
seq 1300000 1399999 > "$work/100k.txt"      # 100,000 segments for the pretty numbers
seq 1300000 1309999 > "$work/10k.txt"       # 10,000 segments: 100 million numbers

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
seconds() { local start end; start=$(date +%s.%N); "$@"; end=$(date +%s.%N); echo "$end - $start" | bc -l; }
measure() {  # label numbers command...
  local label=$1 numbers=$2; shift 2
  local times=()
  for _ in $(seq "$repeats"); do times+=("$(seconds bash -c "$*")"); done
  local m; m=$(printf '%s\n' "${times[@]}" | median)
  printf '%-44s median %7.3f s  %8.1f M numbers/s\n' "$label" "$m" "$(echo "$numbers / $m / 1000000" | bc -l)"
}

echo "== all-numbers: 10 million numbers"
measure "seq > /dev/null" 10000000 "seq 13800000000 13809999999 > /dev/null"
measure "haoma-cli all (1,000 segments) > /dev/null" 10000000 "$cli all --segments $work/1k.txt > /dev/null"
measure "seq | cat > /dev/null" 10000000 "seq 13800000000 13809999999 | cat > /dev/null"
measure "haoma-cli all | cat > /dev/null" 10000000 "$cli all --segments $work/1k.txt | cat > /dev/null"

echo "== pretty numbers, all nine kinds"
pretty=$("$cli" pretty --segments "$work/100k.txt" | wc -l)
measure "haoma-cli pretty (100,000 segments)" "$pretty" "$cli pretty --segments $work/100k.txt > /dev/null"
pattern='(0000|1111|2222|3333|4444|5555|6666|7777|8888|9999|0123|1234|2345|3456|4567|5678|6789|3210|4321|5432|6543|7654|8765|9876|000|111|222|333|444|555|666|777|888|999|012|123|234|345|456|567|678|789|210|321|432|543|654|765|876|987)$|(00|11|22|33|44|55|66|77|88|99)(00|11|22|33|44|55|66|77|88|99)$|([0-9])([0-9])\4\5$|([0-9])([0-9])\7\6$'
found=$(seq 13800000000 13800999999 | grep -cE "$pattern")
measure "seq | grep -E (100 segments, 1 M candidates)" "$found" "seq 13800000000 13800999999 | grep -E '$pattern' > /dev/null"

echo "== peak memory (max RSS)"
for segments in 1k 10k; do
  rss=$(/usr/bin/time -f %M "$cli" all --segments "$work/$segments.txt" 2>&1 >/dev/null | tail -1)
  count=$([ "$segments" = 1k ] && echo 10 || echo 100)
  printf 'haoma-cli all, %3s million numbers: %6.1f MB\n' "$count" "$(echo "$rss / 1024" | bc -l)"
done

echo "== match: the pattern language against seq | grep -E for the same pattern"
# A sparse pattern over 100,000 segments (a thousand million candidates): grep sees 10
# million of them (1,000 segments) and its rate is scaled to the same candidates.
sparse=$("$cli" match AAAAAAA --segments "$work/100k.txt" | wc -l)
measure "haoma-cli match AAAAAAA (100,000 segments)" "$sparse" "$cli match AAAAAAA --segments $work/100k.txt > /dev/null"
printf '%s\n' '([0-9])\1{6}$' > "$work/sparse.re"
printf '%s\n' '[^4]{4}$' > "$work/dense.re"
grep_sparse=$(seq 13800000000 13809999999 | grep -cE -f "$work/sparse.re" || true)
measure "seq | grep -E (AAAAAAA, 1,000 segments)" "$grep_sparse" "seq 13800000000 13809999999 | grep -E -f $work/sparse.re > /dev/null"
measure "haoma-cli match '****' (1,000 segments)" 10000000 "$cli match '****' --segments $work/1k.txt > /dev/null"
measure "haoma-cli match '[^4][^4][^4][^4]'" 6561000 "$cli match '[^4][^4][^4][^4]' --segments $work/1k.txt > /dev/null"
measure "seq | grep -E '[^4]{4}\$' (1,000 segments)" 6561000 "seq 13800000000 13809999999 | grep -E -f $work/dense.re > /dev/null"
