#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs each offscreen window scenario several times (a fresh process each), prints every run
# and then the median of each figure per scenario. The plain text box the boxes replaced is
# measured in the same run (baseline, paste-baseline).
# Usage: bench/window_bench.sh [build/dev/bin/window_bench] [runs]
set -euo pipefail
bench=${1:-build/dev/bin/window_bench}
runs=${2:-5}
export QT_QPA_PLATFORM=offscreen
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for scenario in baseline box all pretty paste-baseline paste copy save; do
  for _ in $(seq "$runs"); do
    "$bench" "$scenario" 2>/dev/null | tee -a "$out"
  done
done
echo "== medians"
# Key: the words before the first figure; value: each name=number figure.
awk '{
  key = ""; for (i = 1; i <= NF && $i !~ /=[0-9.]+$/; i++) key = key $i " ";
  for (; i <= NF; i++) if (split($i, kv, "=") == 2 && kv[2] ~ /^[0-9.]+$/) {
    name = key kv[1]; n[name]++; v[name, n[name]] = kv[2]; if (!(name in seen)) { seen[name] = ++order; names[order] = name }
  }
} END {
  for (o = 1; o <= order; o++) {
    name = names[o]; m = n[name];
    for (i = 1; i <= m; i++) a[i] = v[name, i];
    for (i = 1; i <= m; i++) for (j = i + 1; j <= m; j++) if (a[j] + 0 < a[i] + 0) { t = a[i]; a[i] = a[j]; a[j] = t }
    printf "%-40s %s\n", name, (m % 2) ? a[(m + 1) / 2] : (a[m / 2] + a[m / 2 + 1]) / 2
  }
}' "$out"
