#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# haoma-cli.exe under Wine prints exactly what the Linux build prints, byte for byte, with the
# same exit status, over the shipped store: one case a line below (arguments as the shell
# reads them; "<TEXT" feeds TEXT on standard input). Also -o into a folder with Chinese and a
# space in its name, and the store named with --db there.
#   tests/windows/same_output_test.sh LINUX_CLI WINDOWS_CLI
set -uo pipefail
linux=$1
windows=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cases=$(cat <<'CASES'
query 北京
query 广州 --carrier 移动
query --province 西藏
query --area-code 0898
cities
suggest bj
suggest 广
where 13800138000 +86 139-1234-5678 19999999999 12345
where - <13800138000\n15912345678, 17012345678\n\n+852 91234567\n
all 1380013 --limit 25
all --city 神农架
all --city 神农架 --count
all --city 上海 --count --contains 88 --without 4
all --city 北京 --sample 1000 --seed 7
all --city 北京 --sample 1000 --seed 7 --shuffle
all --crlf 1380013 深圳 --limit 3
pretty --city 拉萨
pretty --city 拉萨 --kinds AAAA,ABCD --count
pretty --city 广州 --sample 500 --seed 42
match A+++ --city 阿里
match *[^4]88,AAAA --city 林芝 --count
match --preset 爱情号 --city 那曲 --sample 50 --seed 1
all - --limit 30000 <1380013\n北京\n\t\n1390000\n
CASES
)
failed=0
passed=0
while IFS= read -r line; do
  [ -z "$line" ] && continue
  input=
  if [[ $line == *' <'* ]]; then
    input=${line#* <}
    line=${line%% <*}
  fi
  read -r -a args <<<"$line"
  printf '%b' "$input" | "$linux" "${args[@]}" >"$work/linux.out" 2>/dev/null
  linux_status=$?
  printf '%b' "$input" | wine "$windows" "${args[@]}" >"$work/windows.out" 2>/dev/null
  windows_status=$?
  if [ "$linux_status" != "$windows_status" ] || ! cmp -s "$work/linux.out" "$work/windows.out"; then
    echo "DIFFERS: $line (status $linux_status / $windows_status)"
    cmp "$work/linux.out" "$work/windows.out" | head -1
    failed=$((failed + 1))
  else
    passed=$((passed + 1))
  fi
done <<<"$cases"

# Paths with Chinese and spaces: an output file, and the store under --db.
folder="$work/号码 表"
mkdir -p "$folder"
cp "$(dirname "$windows")/mobile.db" "$folder/我的 号段库.db"
wine "$windows" --db "$folder/我的 号段库.db" all --city 神农架 -o "$folder/神农架 号码.txt"
"$linux" all --city 神农架 >"$work/linux.out"
if cmp -s "$work/linux.out" "$folder/神农架 号码.txt" && [ "$(ls -A "$folder" | wc -l)" = 2 ]; then
  passed=$((passed + 1))
else
  echo "DIFFERS: -o into a Chinese folder with a space"
  failed=$((failed + 1))
fi
echo "same output: $passed cases agree, $failed differ"
[ "$failed" = 0 ]
