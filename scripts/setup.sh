#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run. Safe to run again:
# when everything is present it only checks and returns.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  # Qt 6 with the SQLite and PostgreSQL drivers
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql libgl-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # spreadsheets: write .xlsx, read .xls, read .xlsx (zip + Qt XML)
  libxlsxwriter-dev libfreexl-dev libzip-dev
  # headless screens, screenshots and Chinese texts
  xvfb xauth x11-utils imagemagick fonts-noto-cjk fonts-dejavu-core
  # databases: command-line SQLite, PostgreSQL server for the shared-database tests
  sqlite3 postgresql
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
