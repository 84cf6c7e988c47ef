#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: the normal build, then the same
# tests in the address + undefined-behaviour sanitizer build (KELVORK_SKIP_SANITIZERS=1 skips it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

werror=()
[ "${CI:-}" = "true" ] && werror=(-DKELVORK_WERROR=ON)

"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${werror[@]}"
(cd "$root/build" && ctest --output-on-failure -j "$(nproc)" --timeout 600)

if [ "${KELVORK_SKIP_SANITIZERS:-0}" != "1" ]; then
  "$root/scripts/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DKELVORK_SANITIZE=address \
    -DKELVORK_BUILD_BENCHMARKS=OFF "${werror[@]}"
  (cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j "$(nproc)" --timeout 900)
fi
