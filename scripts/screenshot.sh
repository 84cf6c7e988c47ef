#!/usr/bin/env bash
# Takes a screenshot of Kelvork's main window on a virtual display (Xvfb).
# Usage: scripts/screenshot.sh [OUT.png] [BUILD_DIR]
#   OUT.png    default docs/screenshots/main-window.png
#   BUILD_DIR  default build/ (must hold bin/kelvork)
# Kelvork starts with --home on a fresh temporary folder (it creates Rud2003.db there). The login
# is skipped with KELVORK_AUTOLOGIN=Admin, which logs the operator Admin in as a successful login
# would; the tests use the same variable. KELVORK_SCREENSHOT_LANGUAGE=2 (or 3) shows the English
# (or Traditional Chinese) interface.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/screenshots/main-window.png}
build=${2:-$root/build}
exe=$build/bin/kelvork
[ -x "$exe" ] || { echo "screenshot: $exe not found (build first: scripts/build.sh)" >&2; exit 1; }
for tool in Xvfb xwininfo import; do
  command -v "$tool" >/dev/null || { echo "screenshot: $tool missing (run scripts/setup.sh)" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A free display number. The screen is large so that the pointer, which starts in its middle,
# rests outside the window (no button shows its hover picture).
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 2048x1600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
for _ in $(seq 1 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done

mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
# The language files sit beside the program in the build; the demo folder gets a copy.
cp "$build"/bin/Kelvork.* "$work/home/" 2>/dev/null || true
if [ -n "${KELVORK_SCREENSHOT_LANGUAGE:-}" ]; then
  printf '[SYSCONTROL]\nLanguage=%s\n' "$KELVORK_SCREENSHOT_LANGUAGE" >"$work/home/Pendrix.dat"
fi
XDG_RUNTIME_DIR="$work/runtime" KELVORK_AUTOLOGIN=Admin QT_QPA_PLATFORM=xcb \
  "$exe" --home "$work/home" >"$work/kelvork.log" 2>&1 &
app_pid=$!

window=""
for _ in $(seq 1 100); do
  window=$(xwininfo -root -tree 2>/dev/null | grep -E '"[^"]* V4\.4\.5"' | awk '{print $1}' | head -n1 || true)
  [ -n "$window" ] && break
  kill -0 "$app_pid" 2>/dev/null || { echo "screenshot: kelvork ended early:" >&2; cat "$work/kelvork.log" >&2; exit 1; }
  sleep 0.2
done
[ -n "$window" ] || { echo "screenshot: the main window did not appear" >&2; cat "$work/kelvork.log" >&2; exit 1; }
sleep "${KELVORK_SCREENSHOT_DELAY:-1.5}"   # let the first paint and the clock settle
mkdir -p "$(dirname "$out")"
import -window "$window" "$out"
echo "screenshot: $out"
