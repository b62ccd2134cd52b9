#!/usr/bin/env bash
# lexomir-cli against plain tools doing the same work on the same loopback service, in the same run:
#   highlight: one 1 MB search page with 10,000 fragments, against curl | grep | awk;
#   keywords:  200 question pages through tinyproxy, against 200 sequential curl fetches through it.
set -euo pipefail
build=${1:-build/dev}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cli="$build/cli/lexomir-cli"
[ -x "$cli" ] || { echo "segment: $cli is missing; build the lexomir-cli target first" >&2; exit 1; }
for tool in curl tinyproxy python3 grep awk; do
  command -v "$tool" >/dev/null || { echo "segment: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

start_service() {  # mode -> sets $port
  local file="$work/port-$1"
  python3 "$root/bench/segment_service.py" "$file" "$1" &
  pids+=($!)
  for _ in $(seq 200); do [ -s "$file" ] && break; sleep 0.05; done
  [ -s "$file" ] || { echo "segment: the $1 service did not start" >&2; exit 1; }
  port=$(cat "$file")
}

now() { date +%s%N; }
# Best of several runs of each of two shell functions, taken in turn so that both meet the same moments of
# a shared machine; the least disturbed figures, in nanoseconds, on one line.
best_of_each() {
  local runs=$1 first=$2 second=$3 best_first= best_second= start elapsed
  for _ in $(seq "$runs"); do
    start=$(now)
    "$first" >/dev/null
    elapsed=$(( $(now) - start ))
    if [ -z "$best_first" ] || [ "$elapsed" -lt "$best_first" ]; then best_first=$elapsed; fi
    start=$(now)
    "$second" >/dev/null
    elapsed=$(( $(now) - start ))
    if [ -z "$best_second" ] || [ "$elapsed" -lt "$best_second" ]; then best_second=$elapsed; fi
  done
  echo "$best_first $best_second"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
ms() { awk -v a="$1" 'BEGIN { printf "%.1f ms", a / 1e6 }'; }

# --- highlight
start_service highlight
highlight_port=$port
search_url="http://127.0.0.1:$highlight_port/search?lm=0&rn=1000&pn=0&fr=search&ie=gbk&word=%71"
ours_highlight() { "$cli" -q -m highlight --encoding gbk --host "127.0.0.1:$highlight_port" q; }
plain_highlight() { curl -s "$search_url" | LC_ALL=C grep -aoiP '<em>\K.*?(?=</em>)' | awk '!seen[$0]++'; }
words=$(ours_highlight | LC_ALL=C awk -F '\xA3\xBB' '{ print NF - 1 }')
echo "highlight: lexomir-cli found $words words, the pipeline $(plain_highlight | wc -l) distinct fragments"
read -r ours plain < <(best_of_each 15 ours_highlight plain_highlight)
r1=$(ratio "$ours" "$plain")
echo "highlight: lexomir-cli $(ms "$ours"), curl|grep|awk $(ms "$plain")"

# --- keywords through tinyproxy
start_service keywords
keywords_port=$port
proxy_port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$work/tinyproxy.conf" <<CONF
Port $proxy_port
Listen 127.0.0.1
Allow 127.0.0.1
LogLevel Critical
MaxClients 50
CONF
tinyproxy -d -c "$work/tinyproxy.conf" >"$work/tinyproxy.log" 2>&1 &
pids+=($!)
for _ in $(seq 200); do
  (exec 3<>"/dev/tcp/127.0.0.1/$proxy_port") 2>/dev/null && break
  sleep 0.05
done
ours_keywords() { "$cli" -q -m keywords --host "127.0.0.1:$keywords_port" -x "127.0.0.1:$proxy_port" q; }
plain_keywords() {
  for i in $(seq 0 199); do curl -s -x "127.0.0.1:$proxy_port" "http://127.0.0.1:$keywords_port/question/$i.html"; done
}
echo "keywords: lexomir-cli result $(ours_keywords | wc -c) bytes, curl fetched $(plain_keywords | wc -c) bytes"
read -r ours plain < <(best_of_each 3 ours_keywords plain_keywords)
r2=$(ratio "$ours" "$plain")
echo "keywords: lexomir-cli $(ms "$ours"), 200 x curl $(ms "$plain")"

echo "segment: highlight ratio $r1, keywords ratio $r2"
