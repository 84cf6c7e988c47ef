#!/usr/bin/env bash
# Sets up the machine, builds Kelvork and starts it on a fresh demo database in demo/.
# Without a display it starts a virtual one (Xvfb), so the command also works on a bare server.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"

demo=${KELVORK_DEMO_DIR:-$root/demo}
rm -rf "$demo"
mkdir -p "$demo"
if [ -x "$root/build/bin/kelvork-demo" ]; then
  "$root/build/bin/kelvork-demo" --db "$demo/Rud2003.db" --employees "${KELVORK_DEMO_EMPLOYEES:-200}" --days 62
fi

run=("$root/build/bin/kelvork" --home "$demo")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run-demo: no display; starting Kelvork on a virtual display (xvfb-run)"
  exec xvfb-run -a -s "-screen 0 1280x800x24" "${run[@]}"
fi
exec "${run[@]}"
