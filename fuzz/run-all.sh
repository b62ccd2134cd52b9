#!/usr/bin/env bash
# Runs every built fuzz target for the given number of seconds. A crash, leak or hang fails the run;
# the finding is left in fuzz/findings/ to become a regression test.
set -euo pipefail
build=${1:-build/fuzz}
seconds=${2:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$root/fuzz/findings"
status=0
found=0
for target in "$build"/fuzz/*_fuzz; do
  [ -x "$target" ] || continue
  found=1
  name=$(basename "$target")
  corpus="$root/fuzz/corpus-$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "$root/fuzz/seeds/$name" ] && seeds=("$root/fuzz/seeds/$name")
  echo "fuzz: $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -artifact_prefix="$root/fuzz/findings/$name-" "$corpus" "${seeds[@]}" >"$build/$name.log" 2>&1; then
    echo "fuzz: $name FAILED"; tail -n 40 "$build/$name.log"; status=1
  else
    grep -E '^Done|^#[0-9]+.*DONE' "$build/$name.log" | tail -n 1 || true
  fi
done
[ "$found" -eq 1 ] || { echo "fuzz: no targets built"; exit 1; }
exit $status
