#!/usr/bin/env bash
# Everything from a fresh machine to a finished test run: set-up, configure,
# build, then every test program under Wine. The last line is ctest's summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export KALVEX_BUILD_DIR=${KALVEX_BUILD_DIR:-$root/build}

"$root/scripts/setup.sh"
cmake -S "$root" -B "$KALVEX_BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$KALVEX_BUILD_DIR" -j"$(nproc)"
cd "$KALVEX_BUILD_DIR"
ctest --output-on-failure --timeout 600 "$@"
