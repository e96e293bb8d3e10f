#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails when a source file differs from what clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' '*.h.in' | grep -v '\.h\.in$')
clang-format --dry-run --Werror "${files[@]}"
echo "format: ${#files[@]} files clean"
