#!/usr/bin/env bash
# The main job on a fresh machine: set-up, build kalvex.exe, install the
# sample velko product into the build's own Wine prefix with its real
# installer, and run the installed kalvex.exe against it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export KALVEX_BUILD_DIR=${KALVEX_BUILD_DIR:-$root/build}
build=$KALVEX_BUILD_DIR

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)" --target kalvex sample_installers

wine_run() { "$root/cmake/wine-run.sh" "$@" 2>/dev/null; }
prefix=${KALVEX_WINEPREFIX:-$build/wineprefix}
install="$prefix/drive_c/Program Files (x86)/velko"

echo "== Installing the sample velko product"
wine_run "$build/tests/app/velko_setup_sample.exe" /S
WINEPREFIX=$prefix wineserver -w
(cd "$install" && find . | sort)

echo "== Running the installed kalvex.exe"
wine_run 'C:\Program Files (x86)\velko\kalvex.exe' || echo "kalvex.exe exited with $?"
WINEPREFIX=$prefix wineserver -w

echo "== Left in the install directory (only what the manifest does not list)"
(cd "$install" && find . | sort)
