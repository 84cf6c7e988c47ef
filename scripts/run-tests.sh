#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: the normal build, then the same
# tests in the thread-sanitizer build of Termlink and in the address + undefined-behaviour sanitizer
# build of everything (KELVORK_SKIP_SANITIZERS=1 skips both).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

werror=()
[ "${CI:-}" = "true" ] && werror=(-DKELVORK_WERROR=ON)

"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${werror[@]}"
(cd "$root/build" && ctest --output-on-failure -j "$(nproc)" --timeout 600)

if [ "${KELVORK_SKIP_SANITIZERS:-0}" != "1" ]; then
  # Termlink's threads under the thread sanitizer (Termlink alone: Kelvork is single-threaded).
  "$root/scripts/build.sh" "$root/build-tsan" -DCMAKE_BUILD_TYPE=Debug -DKELVORK_SANITIZE=thread \
    -DKELVORK_BUILD_GUI=OFF -DKELVORK_BUILD_BENCHMARKS=OFF "${werror[@]}"
  (cd "$root/build-tsan" && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j "$(nproc)" --timeout 900)

  "$root/scripts/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DKELVORK_SANITIZE=address \
    -DKELVORK_BUILD_BENCHMARKS=OFF "${werror[@]}"
  (cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j "$(nproc)" --timeout 900)
fi
