#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# How long haoma-cli takes to end after SIGTERM while a long run writes to a file (its
# temporary file removed, status 143): the median of REPEATS runs per command, beside a
# baseline measured in the same run, `sleep` ending on the same signal. SIGINT takes the
# same path in haoma-cli, but a script's background jobs start with it ignored.
# Usage: bench/interrupt_bench.sh [build/dev/bin/haoma-cli] [repeats]
set -euo pipefail
cli=${1:-build/dev/bin/haoma-cli}
repeats=${2:-9}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo >"$work/blank.txt"  # one blank segment line: every number

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
now() { date +%s%N; }
# Milliseconds from the signal to the end of `command`, once it has begun writing `part`.
latency() {  # part command...
  local part=$1 pid sent
  shift
  "$@" <"$work/blank.txt" >/dev/null 2>&1 &
  pid=$!
  until compgen -G "$part" >/dev/null && [ -s "$(compgen -G "$part" | head -n 1)" ]; do
    kill -0 "$pid" 2>/dev/null || { echo "ended by itself: $*" >&2; return 1; }
    sleep 0.001
  done
  sent=$(now)
  kill -TERM "$pid"
  wait "$pid" || true
  echo $((($(now) - sent) / 1000000))
}
report() {  # label part command...
  local label=$1 values=()
  shift
  for _ in $(seq "$repeats"); do values+=("$(latency "$@")"); done
  printf '%-52s median %4s ms  (max %s ms)\n' "$label" "$(printf '%s\n' "${values[@]}" | median)" \
    "$(printf '%s\n' "${values[@]}" | sort -n | tail -n 1)"
}
# The baseline writes its marker file first, as the runs begin their temporary files.
report "baseline: sleep" "$work/sleep.mark" bash -c "echo x > '$work/sleep.mark'; exec sleep 100"
report "all -o (the whole country)" "$work/.out.txt.part-*" "$cli" all -o "$work/out.txt"
report "pretty --contains 5 --without 3 -o" "$work/.out.txt.part-*" \
  "$cli" pretty --contains 5 --without 3 -o "$work/out.txt"
report "match 'A+++,AAAA' -o" "$work/.out.txt.part-*" "$cli" match 'A+++,AAAA' -o "$work/out.txt"
report "all --sample 30000000 --shuffle -o" "$work/.out.txt.part-*" \
  "$cli" all --sample 30000000 --shuffle --seed 3 -o "$work/out.txt"
