#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, checks formatting, builds and runs every test: the normal build,
# then the AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/check-format.sh

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp

bash scripts/build.sh dev
ctest --preset dev -j "$(nproc)"

bash scripts/build.sh sanitize
ctest --preset sanitize -j "$(nproc)"
