#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets and runs each on its seed corpus.
#   tools/fuzz.sh [SECONDS] [TARGET...]     a bounded run on a copy of the committed seed
#                                           corpus (default 20 s a target; the test command)
#   tools/fuzz.sh --long RUNS [TARGET...]   RUNS executions a target (30 minutes at most) on
#                                           a persistent corpus folder
#                                           (build/fuzz-corpus/TARGET), then the inputs
#                                           that reach new coverage are folded into the
#                                           committed seed corpus (tests/fuzz/corpus/TARGET)
set -euo pipefail
cd "$(dirname "$0")/.."
long=false
if [ "${1:-}" = --long ]; then
  long=true
  shift
  runs=${1:-10000000}
else
  seconds=${1:-20}
fi
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(text city generate import pattern where)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Crashes, slow units and the like go to the build folder, never into the tree.
artifacts=build/fuzz-artifacts
mkdir -p "$artifacts"
status=0
for target in "${targets[@]}"; do
  seeds=tests/fuzz/corpus/$target
  if $long; then
    corpus=build/fuzz-corpus/$target
    mkdir -p "$corpus" "$seeds"
    limit=(-runs="$runs" -max_total_time=1800)
  else
    corpus=$work/$target
    limit=(-max_total_time="$seconds")
  fi
  mkdir -p "$corpus"
  cp -n "$seeds"/* "$corpus/" 2>/dev/null || true
  log="$work/$target.log"
  start=$(date +%s)
  if ASAN_OPTIONS=detect_leaks=1 build/fuzz/bin/fuzz_"$target" "${limit[@]}" \
       -rss_limit_mb=2048 -max_len=4096 -artifact_prefix="$artifacts/$target-" \
       "$corpus" >"$log" 2>&1; then
    done_runs=$(grep -o 'Done [0-9]* runs' "$log" | tail -1)
    echo "fuzz_$target: ok, ${done_runs:-no summary} in $(( $(date +%s) - start )) s, no finding"
    if $long; then
      before=$(ls "$seeds" | wc -l)
      build/fuzz/bin/fuzz_"$target" -merge=1 -max_len=4096 -artifact_prefix="$artifacts/$target-" \
        "$seeds" "$corpus" >/dev/null 2>&1
      echo "fuzz_$target: seed corpus $before -> $(ls "$seeds" | wc -l) inputs"
    fi
  else
    echo "fuzz_$target: FAILED (artifacts in $artifacts)"; tail -40 "$log"; status=1
  fi
done
exit $status
