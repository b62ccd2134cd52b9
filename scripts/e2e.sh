#!/usr/bin/env bash
# The built program as a user meets it: under a virtual X server, a question typed with xdotool, the
# highlight method chosen, the one-click button pressed, the result copied and read back with xclip, a
# screenshot taken, and the window closed with Esc. The search service is a loopback server that serves a
# small GBK page, reached through the LEXOMIR_SEARCH_HOST test hook.
#
#   scripts/e2e.sh PROGRAM SCREEN_GRAB WORK_DIR
set -euo pipefail
# xdotool reads the text it types in the locale's encoding, which must be UTF-8 whatever the caller has.
export LC_ALL=C.UTF-8

program=${1:?program}
screen_grab=${2:?screen_grab}
work=${3:?work dir}
rm -rf "$work"
mkdir -p "$work/engine" "$work/tmp" "$work/program"

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT
fail() {
  echo "e2e: $*" >&2
  [ -f "$work/program.log" ] && sed 's/^/e2e: program: /' "$work/program.log" >&2
  exit 1
}

# The X server picks a free display and tells us which. Without -noreset it would reset its keymap each
# time its last client leaves, undoing the keycodes set below before the program connects.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"

# The search service: a GBK page with highlighted fragments, one of them twice.
cat >"$work/search_service.py" <<'PY'
import http.server, sys
page = ("<html><head><meta charset=gbk></head><body><p><em>北京</em>的<em>大学</em></p>"
        "<p><em>北京</em>大学<em>图书馆</em></p></body></html>").encode("gbk")
class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        with open(sys.argv[2], "a") as log:
            log.write(self.path + "\n")
        self.send_response(200 if self.path.startswith("/search?") else 404)
        self.send_header("Content-Type", "text/html; charset=gbk")
        self.send_header("Content-Length", str(len(page)))
        self.end_headers()
        self.wfile.write(page)
    def log_message(self, *args):
        pass
server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
with open(sys.argv[1], "w") as f:
    f.write(str(server.server_address[1]))
server.serve_forever()
PY
python3 "$work/search_service.py" "$work/port" "$work/requests" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
[ -s "$work/port" ] || fail "the search service did not start"
port=$(cat "$work/port")

# The question's characters get keycodes of their own before the program starts. Left to itself, xdotool
# rebinds one spare keycode for each character it types, and a client that reads the keymap late takes
# a character for its neighbour ("京大大学" for "北京大学").
question="北京大学"
command -v xmodmap >/dev/null || fail "xmodmap is missing (scripts/install-deps.sh installs it)"
free_keycodes=($(xmodmap -pke | awk '$1 == "keycode" && NF == 3 && $2 > 8 { print $2 }'))
mapped=""
for ((i = 0; i < ${#question}; i++)); do
  character=${question:i:1}
  [[ $mapped == *"$character"* ]] && continue
  [ ${#free_keycodes[@]} -gt 0 ] || fail "no free keycode for $character"
  keysym=$(printf 'U%04X' "'$character")
  xmodmap -e "keycode ${free_keycodes[0]} = $keysym"
  grep -q "($keysym)" <<<"$(xmodmap -pk)" || fail "the keymap did not take $keysym for $character"
  free_keycodes=("${free_keycodes[@]:1}")
  mapped+=$character
done

# The program copied into a folder of its own, so that it finds no engine beside itself.
cp "$program" "$work/program/lexomir"
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1
LEXOMIR_ENGINE_DIR="$work/engine" LEXOMIR_TEMP_DIR="$work/tmp" LEXOMIR_SEARCH_HOST="127.0.0.1:$port" \
  QT_QPA_PLATFORM=xcb "$work/program/lexomir" >"$work/program.log" 2>&1 &
app=$!
pids+=($app)

# By PID and visibility: Qt's hidden clipboard window carries the same name.
window=""
for _ in $(seq 300); do  # a program that dies at start must fail the check, not hang it
  kill -0 "$app" 2>/dev/null || fail "the program ended before showing its window"
  window=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "no window"
[ "$(xdotool getwindowname "$window")" = "Lexomir" ] || fail "window caption is not Lexomir"
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 368 ] && [ "$HEIGHT" = 544 ] || fail "window is ${WIDTH}x${HEIGHT}, not 368x544"
[ -f "$work/engine/jedata.dll" ] || fail "the engine was not installed"
[ -f "$work/tmp/{df6546sd4fwer}.she" ] || fail "skin 23 was not written"
sleep 0.5

click() {  # x y in the window's client area
  xdotool mousemove --window "$window" "$1" "$2" click 1
  sleep 0.2
}

# The question typed into the question box, which has the focus at start.
click 100 110
xdotool type --delay 50 "$question"
click 201 190  # 单选框百度搜索: the highlight method
click 180 464  # 按钮一键分词

expected="北京；大学；图书馆；"
copied=""
for _ in $(seq 50); do
  click 304 464  # 按钮复制结果
  copied=$(xclip -o -selection clipboard 2>/dev/null || true)
  [ "$copied" = "$expected" ] && break
  sleep 0.2
done
[ "$copied" = "$expected" ] || fail "clipboard holds '$copied', expected '$expected'"
grep -qx '/search?lm=0&rn=1000&pn=0&fr=search&ie=gbk&word=%B1%B1%BE%A9%B4%F3%D1%A7' "$work/requests" ||
  fail "the search service saw: $(cat "$work/requests")"

# The question box holds what was typed; the screenshot shows the window after the run.
click 100 110
sleep 0.3
"$screen_grab" "$work/screenshot.png" "$window" || fail "no screenshot"

# Esc closes the window from the question box, and the program ends with 0.
xdotool key Escape
status=0
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
wait "$app" || status=$?
[ "$status" = 0 ] || fail "exit code $status after Esc"
echo "e2e: ok, screenshot in $work/screenshot.png"
