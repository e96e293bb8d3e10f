#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets and runs each for a bounded time on a copy of its committed
# seed corpus. Usage: tools/fuzz.sh [seconds per target, default 20] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(text city generate import)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for target in "${targets[@]}"; do
  mkdir -p "$work/$target"
  cp tests/fuzz/corpus/"$target"/* "$work/$target/"
  log="$work/$target.log"
  if ASAN_OPTIONS=detect_leaks=1 build/fuzz/bin/fuzz_"$target" -max_total_time="$seconds" \
       -rss_limit_mb=2048 -max_len=4096 -artifact_prefix="$work/$target-" \
       "$work/$target" >"$log" 2>&1; then
    runs=$(grep -o 'Done [0-9]* runs' "$log" | tail -1)
    echo "fuzz_$target: ok, ${runs:-no summary} in ${seconds} s"
  else
    echo "fuzz_$target: FAILED"; tail -40 "$log"; status=1
  fi
done
exit $status
