#!/usr/bin/env bash
# Configures and builds the project. Usage: scripts/build.sh [BUILD_DIR] [extra cmake options...]
# BUILD_DIR defaults to build/. Extra options go to cmake, e.g. -DKELVORK_SANITIZE=address.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
jobs=${KELVORK_JOBS:-$(nproc)}
cmake -S "$root" -B "$build" -G Ninja "$@"
cmake --build "$build" -j "$jobs"
