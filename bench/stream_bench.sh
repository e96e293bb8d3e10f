#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs at the speed of their output: samples beside the run they are drawn from, standard
# input beside --segments and GNU seq, counts with many --contains strings, pretty numbers
# under a rule. Each figure is the median of REPEATS runs, with its baseline measured in the
# same minute; a second haoma-cli (an older build) may be given to compare against.
# Usage: bench/stream_bench.sh [build/dev/bin/haoma-cli] [repeats] [older haoma-cli]
set -euo pipefail
cli=${1:-build/dev/bin/haoma-cli}
repeats=${2:-5}
older=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
seq 1380000 1380999 > "$work/1k.txt"

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
# The median wall time, CPU time (user + system) and peak memory of a shell command.
measure() {  # label command
  local label=$1 command=$2 wall=() cpu=() rss=()
  for _ in $(seq "$repeats"); do
    /usr/bin/time -o "$work/time" -f '%e %U %S %M' bash -c "$command" >/dev/null 2>&1 || true
    read -r e u s m <"$work/time"
    wall+=("$e"); cpu+=("$(echo "$u + $s" | bc -l)"); rss+=("$m")
  done
  printf '%-58s wall %6.3f s  cpu %6.3f s  %7.1f MB\n' "$label" \
    "$(printf '%s\n' "${wall[@]}" | median)" "$(printf '%s\n' "${cpu[@]}" | median)" \
    "$(echo "$(printf '%s\n' "${rss[@]}" | median) / 1024" | bc -l)"
}

echo "== samples of 上海 (182.5 million numbers) beside the run they are drawn from"
for n in 1000000 3000000 30000000; do
  measure "all --city 上海 --limit $n | cat" "$cli all --city 上海 --limit $n | cat"
  measure "all --city 上海 --sample $n | cat" "$cli all --city 上海 --sample $n --seed 5 | cat"
  [ -z "$older" ] || [ "$n" -gt 3000000 ] ||
    measure "  older: all --city 上海 --sample $n | cat" "$older all --city 上海 --sample $n --seed 5 | cat"
done
measure "all --sample 30000000 --shuffle (blank line) | cat" \
  "echo | $cli all --sample 30000000 --shuffle --seed 3 | cat"

echo "== standard input is a file: 1,000 segments, 10 million numbers"
measure "all --segments FILE | cat" "$cli all --segments $work/1k.txt | cat"
measure "all < FILE | cat" "$cli all < $work/1k.txt | cat"
measure "cat FILE | all | cat" "cat $work/1k.txt | $cli all | cat"
[ -z "$older" ] || measure "  older: cat FILE | all | cat" "cat $work/1k.txt | $older all | cat"
measure "seq 13800000000 13809999999 | cat" "seq 13800000000 13809999999 | cat"

echo "== counts with many --contains strings over a blank line"
for k in 24 28 64; do
  strings=$(python3 -c "import random; random.seed($k); s=set()
while len(s) < $k: s.add(''.join(random.choice('0123456789') for _ in range(random.randint(1, 3))))
print(' '.join('--contains ' + x for x in sorted(s)))")
  measure "all --count, $k strings" "echo | $cli all --count $strings"
  measure "pretty --count, $k strings" "echo | $cli pretty --count $strings"
  [ -z "$older" ] || [ "$k" -gt 24 ] ||
    measure "  older: all --count, $k strings" "echo | timeout 60 $older all --count $strings"
done

echo "== counts over standard input keep no lines: 5 million blank lines"
measure "yes '' | head -5000000 | all --count" "yes '' | head -5000000 | $cli all --count"
[ -z "$older" ] || measure "  older: the same" "yes '' | head -5000000 | $older all --count"

echo "== pretty under a rule: numbers/s (blank line, --contains 99999)"
total=$(echo | "$cli" pretty --contains 99999 --count)
measure "pretty --contains 99999 ($total numbers)" "echo | $cli pretty --contains 99999"
[ -z "$older" ] ||
  measure "  older: the first 200,000 of them" "echo | $older pretty --contains 99999 --limit 200000"
