#!/usr/bin/env bash
# The one list of Debian packages that building, running and testing Lexomir needs.
# Installs only what is missing, as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build
  clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools
  libcurl4-openssl-dev libpcre2-dev libicu-dev libjpeg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  tinyproxy
  xvfb xauth xdotool xclip x11-xserver-utils fonts-wqy-microhei
  python3 curl
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}" >&2
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "install-deps: need root or sudo to install: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
# tinyproxy's package starts a system service; the tests run their own instance.
if command -v systemctl >/dev/null 2>&1; then "${sudo[@]}" systemctl disable --now tinyproxy >/dev/null 2>&1 || true; fi
