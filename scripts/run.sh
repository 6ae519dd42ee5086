#!/usr/bin/env bash
# The main job on a fresh machine: set-up, build everything, install the
# sample velko product into the build's own Wine prefix (never ~/.wine) with
# its real NSIS installer, and start the installed kalvex.exe.
#  - With a display (DISPLAY set) the uninstaller opens there and the user
#    drives it; afterwards the script shows what was removed and what is left.
#  - Without one, the same flow runs under Xvfb with scripted clicks (the
#    end-to-end test's user flow: confirm the running client, uninstall,
#    close), which saves four screenshots and prints what was removed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export KALVEX_BUILD_DIR=${KALVEX_BUILD_DIR:-$root/build}
build=$KALVEX_BUILD_DIR
export KALVEX_WINEPREFIX=${KALVEX_WINEPREFIX:-$build/wineprefix}
prefix=$KALVEX_WINEPREFIX

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)"

# As on the Chinese Windows of the product's users (setup.sh makes the locale).
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
wine_run() { "$root/cmake/wine-run.sh" "$@" 2>/dev/null; }
install="$prefix/drive_c/Program Files (x86)/velko"
key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\velko'
shots=$build/tests/e2e/shots

if [ -z "${DISPLAY:-}" ]; then
  echo "== No display: installing the sample product and uninstalling it under Xvfb with scripted clicks"
  rm -f "$shots"/flow*.png
  "$root/cmake/wine-run.sh" "$build/tests/e2e/e2e_tests.exe" --gtest_filter='UserFlow.*' 2>/dev/null
  echo "== Screenshots of the flow"
  ls -1 "$shots"/flow*.png
  exit 0
fi

echo "== Installing the sample velko product"
wine_run "$build/tests/app/velko_setup_sample.exe" /S
WINEPREFIX=$prefix wineserver -w
shortcut_value=$(WINEPREFIX=$prefix wine reg query "$key" /v DisplayShortcut 2>/dev/null |
                 sed -n 's/.*REG_SZ[[:space:]]*//p' | tr -d '\r')
shortcut=$(WINEPREFIX=$prefix winepath -u "$shortcut_value" 2>/dev/null || true)
# Top-level entries only: a removed folder goes with everything below it.
(cd "$install" && ls -A | sort) >"$build/run_before.txt"
cat "$build/run_before.txt"

echo "== Starting the installed kalvex.exe on $DISPLAY: finish the uninstall in its window"
wine_run 'C:\Program Files (x86)\velko\kalvex.exe' || echo "kalvex.exe exited with $?"
# The first process hands over to its copy in TEMP and ends; wait for that
# copy (and everything else in the prefix) to end too.
WINEPREFIX=$prefix wineserver -w

echo "== Removed from the install directory"
(cd "$install" 2>/dev/null && ls -A | sort) >"$build/run_after.txt" || : >"$build/run_after.txt"
comm -23 "$build/run_before.txt" "$build/run_after.txt"
echo "== Left in the install directory (what the manifest does not list)"
cat "$build/run_after.txt"
if WINEPREFIX=$prefix wine reg query "$key" >/dev/null 2>&1; then
  echo "uninstall key: still there"
else
  echo "uninstall key: removed"
fi
if [ -n "$shortcut" ] && [ -e "$shortcut" ]; then echo "desktop shortcut: still there"; else echo "desktop shortcut: removed"; fi
