#!/usr/bin/env bash
# Runs every benchmark script; each prints its own closing line with the measured ratio.
set -uo pipefail
build=${1:-build/dev}
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
for script in "$root"/bench/*.sh; do
  [ "$(basename "$script")" = run-all.sh ] && continue
  echo "== $(basename "$script")"
  bash "$script" "$build" || status=1
done
exit $status
