#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs each window scenario several times (fresh process each) and prints every run.
# Usage: bench/window_bench.sh [build/dev/bin/window_bench] [runs]
set -euo pipefail
bench=${1:-build/dev/bin/window_bench}
runs=${2:-5}
export QT_QPA_PLATFORM=offscreen
for scenario in baseline all pretty; do
  for _ in $(seq "$runs"); do
    "$bench" "$scenario" 2>/dev/null | grep -v propagateSizeHints
  done
done
