#!/usr/bin/env bash
# 300 timed requests through tinyproxy to a loopback server against 300 plain libcurl fetches of the same
# URLs through the same proxy with a fresh handle each, interleaved in one run. Last line:
#   requests: <ms> per request, ratio <lexomir/libcurl>
# Target: ratio at most 1.2.
set -euo pipefail
build=${1:-build/dev}
bench="$build/bench/requests_bench"
[ -x "$bench" ] || { echo "requests: $bench is not built" >&2; exit 1; }
exec "$bench" 300
