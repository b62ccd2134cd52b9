#!/usr/bin/env bash
# The window's responsiveness while a method thread appends 20,000 words: the longest gap between two
# ticks of a 1 ms timer on the window's thread (target: under 50 ms) and the whole run's time.
set -euo pipefail
build=${1:-build/dev}
bench="$build/bench/window_bench"
if [ ! -x "$bench" ]; then
  echo "window: skipped, $bench not built" >&2
  exit 0
fi
QT_QPA_PLATFORM=offscreen "$bench" | tail -n1
