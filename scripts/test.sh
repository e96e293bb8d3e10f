#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, checks formatting, builds and runs every test: the normal build,
# the .deb smoke test, a short run of every fuzz target, the whole suite again under
# AddressSanitizer + UndefinedBehaviorSanitizer, then the Windows build under Wine.
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
bash tools/package-smoke.sh build/dev
bash tools/fuzz.sh "${HAOMA_FUZZ_SECONDS:-15}"

bash scripts/build.sh sanitize
ctest --preset sanitize -j "$(nproc)"

# The Windows programs, cross-built here from Debian's sources and tested under Wine.
bash scripts/build-windows.sh --test
