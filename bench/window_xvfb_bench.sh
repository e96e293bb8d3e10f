#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real window under Xvfb (1280x1024, no window manager), driven as a person would: mouse
# clicks through xdotool, the clipboard through xclip. Each scenario starts a fresh window
# and reports the seconds from the click until the process falls idle (no CPU time used
# for a second), with a plain text box taking the same lines in the same run as baseline.
#   all      100 segments, all numbers, 1,000,000 numbers
#   pretty   all nine kinds over 1,891 segments, 1,000,000 numbers
#   paste    a 52 MB paste into the result box, then into the segment box
#   copy     after the all run: copy, read with xclip, three times
#   rule     按规则选号 over the same 100 segments, rule ****: 1,000,000 numbers, against the
#            全顺序数 run of the same window's start as baseline
#   aaaaa    按规则选号 AAAAA over 北京's segments, against haoma-cli match on the same lines
#   sample   按规则选号, every number, a sample of 10,000 over 广东's segments, against
#            haoma-cli all --sample on the same lines
#   start    from starting the program until its window is visible, against haoma --version
#            (the same program started and ended without a window)
#   where    号码归属地: 1,000,000 pasted numbers, 查询 to idle, against haoma-cli where
# Usage: bench/window_xvfb_bench.sh [build folder, default build/dev] [runs, default 5]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
runs=${2:-5}
program=$build/bin/haoma
display=:93
work=$(mktemp -d)
export HOME=$work/home XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=
trap 'kill $app $xvfb 2>/dev/null || true; pkill -f "xclip.*$work" 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb
sleep 1

seq 1380000 1380099 > "$work/100.txt"
seq 1380000 1381890 > "$work/1891.txt"
{ yes $'1380013\r\n13800138\r' || true; } | head -c 52000000 > "$work/52mb.txt"
"$build/bin/haoma-cli" query 北京 > "$work/beijing.txt"
"$build/bin/haoma-cli" query --province 广东 > "$work/guangdong.txt"
# A million numbers of known segments, in random order.
awk -v n=1000000 '{ s[++k] = $0 } END { srand(7); for (i = 0; i < n; i++)
  printf "%s%04d\n", s[int(rand() * k) + 1], int(rand() * 10000) }' "$work/beijing.txt" \
  "$work/guangdong.txt" > "$work/numbers.txt"

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
now() { date +%s.%N; }
# Seconds from $1 (a time stamp) until the process last used CPU, once it has been idle
# for a whole second.
until_idle() {
  local pid=$1 start=$2 last_ticks last_change quiet=0
  last_ticks=$(ticks "$pid"); last_change=$(now)
  while [ "$quiet" -lt 50 ]; do
    sleep 0.02
    local t; t=$(ticks "$pid")
    if [ "$t" != "$last_ticks" ]; then last_ticks=$t; last_change=$(now); quiet=0; else quiet=$((quiet + 1)); fi
  done
  echo "$last_change - $start" | bc -l
}
start_window() {
  "$program" >/dev/null 2>&1 &
  app=$!
  local id=
  for _ in $(seq 100); do
    id=$(xdotool search --name '全国手机号码生成器' 2>/dev/null | head -1) && [ -n "$id" ] && break
    sleep 0.1
  done
  eval "$(xdotool getwindowgeometry --shell "$id")"
  left=$X top=$Y
  until_idle "$app" "$(now)" >/dev/null
}
stop_window() { kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; app=; }
# Clicks a point of the client area (the frame of the controls starts at 8,8).
at() { xdotool mousemove $((left + $1)) $((top + $2)) click 1; }
clip_in() { xclip -selection clipboard -i "$1"; }
timed_click() { local start; start=$(now); at "$1" "$2"; until_idle "$app" "$start"; }
timed_keys() { local start; start=$(now); xdotool key "$@"; until_idle "$app" "$start"; }
# After a dialog's run: closes the dialog, copies the result box and checks its lines.
expect_results() {
  xdotool key Escape; sleep 0.3; at 417 333      # 复制 of the result box
  local lines; lines=$(xclip -selection clipboard -o | wc -l)
  [ "$lines" -eq "$1" ] || echo "$2: $lines lines in the result box, not $1" >&2
}
# Seconds a command takes, its output thrown away.
timed_command() { local start; start=$(now); "$@" >/dev/null; echo "$(now) - $start" | bc -l; }
median() { tr ' ' '\n' | awk 'NF' | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
report() { printf '%-46s median %7.3f s  (%s)\n' "$1" "$(median <<<"$2")" "$2"; }

all_runs= pretty_runs= paste_results= paste_segments= copies=() reads=()
rule_runs= aaaaa_runs= aaaaa_cli= sample_runs= sample_cli= where_runs= where_cli=
for _ in $(seq "$runs"); do
  start_window
  clip_in "$work/100.txt"; at 228 332; sleep 0.3    # 粘贴 into the segment box
  at 274 401; sleep 0.3                           # 全部号
  all_runs+="$(timed_click 353 400) "             # 全顺序数
  for round in 1 2 3; do
    start=$(now); at 417 333                      # 复制 of the result box
    lines=$(xclip -selection clipboard -o | wc -l)
    end=$(now)
    copies[$round]+="$(echo "$end - $start" | bc -l) "
    [ "$lines" -ge 999999 ] || echo "copy $round read $lines lines" >&2
  done
  stop_window

  start_window
  clip_in "$work/100.txt"; at 228 332; sleep 0.3    # the same 100 segments
  xdotool key ctrl+g; sleep 0.5; xdotool type '****'; sleep 0.3
  rule_runs+="$(timed_keys Return) "               # 生成
  expect_results 1000000 "rule ****"
  stop_window

  start_window
  clip_in "$work/beijing.txt"; at 228 332; sleep 0.3
  xdotool key ctrl+g; sleep 0.5; xdotool type 'AAAAA'; sleep 0.3
  aaaaa_runs+="$(timed_keys Return) "
  expect_results "$(wc -l < "$work/beijing.txt")" "rule AAAAA"
  aaaaa_cli+="$(timed_command "$build/bin/haoma-cli" match AAAAA --crlf --limit 1000000 \
    --segments "$work/beijing.txt") "
  stop_window

  start_window
  clip_in "$work/guangdong.txt"; at 228 332; sleep 0.3
  xdotool key ctrl+g; sleep 0.5; xdotool key alt+d; sleep 0.2; xdotool key alt+k; sleep 0.2
  xdotool key ctrl+a; xdotool type 10000; sleep 0.3       # 随机抽取 10000
  sample_runs+="$(timed_keys Return) "
  expect_results 10000 "sample"
  sample_cli+="$(timed_command "$build/bin/haoma-cli" all --sample 10000 --seed 1 --crlf \
    --segments "$work/guangdong.txt") "
  stop_window

  start_window
  xdotool key ctrl+l; sleep 0.5
  clip_in "$work/numbers.txt"; sleep 0.3; xdotool key ctrl+v; sleep 1
  where_runs+="$(timed_keys alt+q) "               # 查询
  where_cli+="$(timed_command "$build/bin/haoma-cli" where -o "$work/where.txt" \
    < "$work/numbers.txt") "
  stop_window

  start_window
  clip_in "$work/1891.txt"; at 228 332; sleep 0.3
  at 271 84; sleep 0.3                            # 全: all nine kinds
  pretty_runs+="$(timed_click 351 62) "           # 靓 号
  stop_window

  start_window
  clip_in "$work/52mb.txt"; sleep 0.5
  paste_results+="$(timed_click 539 332) "        # 粘贴 into the result box
  paste_segments+="$(timed_click 228 332) "       # 粘贴 into the segment box
  stop_window
done

starts= versions=
for _ in $(seq "$runs"); do
  start=$(now)
  "$program" >/dev/null 2>&1 &
  app=$!
  until xdotool search --onlyvisible --name '全国手机号码生成器' >/dev/null 2>&1; do :; done
  starts+="$(echo "$(now) - $start" | bc -l) "
  stop_window
  versions+="$(timed_command "$program" --version) "
done

baseline=() box=()
for _ in $(seq "$runs"); do
  baseline+=("$("$build/bin/window_bench" baseline 2>/dev/null | sed 's/.*seconds=\([0-9.]*\).*/\1/')")
  box+=("$("$build/bin/window_bench" box 2>/dev/null | sed 's/.*seconds=\([0-9.]*\).*/\1/')")
done

report "start to a visible window" "$starts"
report "baseline: haoma --version, no window" "$versions"
report "baseline: plain text box, 1,000,000 lines" "${baseline[*]}"
report "the boxes' component, 1,000,000 lines" "${box[*]}"
report "click 全顺序数 to idle, 1,000,000 numbers" "$all_runs"
report "click 靓号 to idle, 1,000,000 numbers" "$pretty_runs"
report "按规则选号 **** to idle, 1,000,000 numbers" "$rule_runs"
report "按规则选号 AAAAA over 北京, to idle" "$aaaaa_runs"
report "baseline: haoma-cli match AAAAA, same lines" "$aaaaa_cli"
report "按规则选号 sample 10,000 over 广东, to idle" "$sample_runs"
report "baseline: haoma-cli all --sample 10000" "$sample_cli"
report "号码归属地 1,000,000 numbers, 查询 to idle" "$where_runs"
report "baseline: haoma-cli where, same numbers" "$where_cli"
report "52 MB paste into the result box, to idle" "$paste_results"
report "52 MB paste into the segment box, to idle" "$paste_segments"
for round in 1 2 3; do
  report "copy $round of 1,000,000 lines, read by xclip" "${copies[$round]}"
done
