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

  # Termlink's parsers of terminal input under libFuzzer (clang, address + undefined behaviour),
  # each for a bounded time from its seeds, copied so that the repository is never written.
  # A crash fails the run; the input that caused it is kept in build-fuzz/fuzz-findings.
  cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKELVORK_BUILD_GUI=OFF \
    -DKELVORK_BUILD_BENCHMARKS=OFF -DKELVORK_BUILD_FUZZERS=ON "${werror[@]}"
  fuzzers=(replies lists progress templates realtime)
  cmake --build "$root/build-fuzz" -j "${KELVORK_JOBS:-$(nproc)}" \
    --target "${fuzzers[@]/#/termlink_fuzz_}"
  findings="$root/build-fuzz/fuzz-findings"
  mkdir -p "$findings"
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  for parser in "${fuzzers[@]}"; do
    mkdir -p "$scratch/$parser"
    cp -r "$root/termlink/fuzz/seeds/$parser/." "$scratch/$parser/"
    echo "fuzzing Termlink's $parser for ${KELVORK_FUZZ_SECONDS:-20} s"
    if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
      "$root/build-fuzz/bin/termlink_fuzz_$parser" -max_total_time="${KELVORK_FUZZ_SECONDS:-20}" \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/$parser-" \
      "$scratch/$parser" >"$scratch/$parser.log" 2>&1; then
      tail -n 60 "$scratch/$parser.log" >&2
      echo "fuzzing Termlink's $parser found a fault; the input is in $findings" >&2
      exit 1
    fi
    grep -E '^(Done|stat::number_of_executed_units)' "$scratch/$parser.log" || true
  done
fi
