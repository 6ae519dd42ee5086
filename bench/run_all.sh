#!/usr/bin/env bash
# Runs every benchmark of a build tree once under Wine, then prints one table:
# each figure the project holds itself to, what it is now (a ratio against a
# baseline measured in the same run, or a size or time), and its target. The
# benchmarks' own full output goes to <build>/bench/run_all.log.
#
#   bench/run_all.sh [build dir]        (default: $KALVEX_BUILD_DIR, else build)
#
# The uninstall benchmarks install 20,000 files several times: the whole run
# takes a quarter of an hour or more here.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-${KALVEX_BUILD_DIR:-$root/build}}" && pwd)
export KALVEX_BUILD_DIR=$build
log=$build/bench/run_all.log
: >"$log"

# Runs one benchmark program with its arguments; its output, without the
# carriage returns Wine's console adds, is kept in the log and answered.
run() {
  local program=$1
  shift
  echo "==== $program $*" >>"$log"
  "$root/cmake/wine-run.sh" "$build/bench/$program.exe" "$@" 2>/dev/null | tr -d '\r' | tee -a "$log"
}

# The first number after the first `after` on the first line of `text` that
# holds `line`.
figure() {
  local text=$1 line=$2
  grep -m1 -F -- "$line" <<<"$text" | AFTER=$3 perl -ne 'print $1 if /\Q$ENV{AFTER}\E\D*?(-?\d[\d.]*)/'
}

rows=()
row() { rows+=("$(printf '%-58s %10s   %s' "$1" "${2:-?}" "$3")"); }

echo "running the benchmarks; the full output goes to $log" >&2

# Fifteen starts of each program: one start varies by a third from the next
# under Wine, and the median of five moved the ratio by 0.2 between runs.
out=$(run uninstall_bench 8 startup)
row "start-up, relocated copy / minimal window" "$(figure "$out" "kalvex.exe, relocated copy" ratio)" "<= 1.25"
row "  the same window after the toolkit's libraries / minimal" "$(figure "$out" "minimal window with the libraries" ratio)" "(floor)"
row "  start-up, relocated copy / window with the libraries" "$(figure "$out" "relocated copy / the window with" ratio)" "(no target)"
row "start-up, from the install directory / minimal window" "$(figure "$out" "kalvex.exe, from the install dir" ratio)" "<= 2.0"

out=$(run uninstall_bench 3 uninstall)
row "removal of 20,000 files in 1,000 directories / DeleteFileW floor" "$(figure "$out" "kalvex / floor" "kalvex / floor")" "<= 1.2"
row "removal through a manifest of 21,000 entries / floor" "$(figure "$out" "a manifest naming every" "s,")" "<= 1.35"

out=$(run remove_manifest_bench)
row "RemoveManifestFiles / plain delete loop" "$(figure "$out" "median:" ratio)" "(no target)"

if [ -f "$build/bench/skin_bench.exe" ]; then
  out=$(run skin_bench)
  row "XML LoadFromBytes / pugixml load_buffer" "$(figure "$out" "LoadFromBytes / pugixml" "pugixml:")" "<= 1.2"
  row "XML parse and read every attribute / pugixml" "$(figure "$out" "parse and read every attribute" ratio)" "<= 1.5"
fi

out=$(run text_bench)
row "markup text / DrawTextW" "$(figure "$out" "ratio markup / plain" "plain:")" "<= 1.5"

out=$(run control_tree_bench)
row "full repaint of the 2,000-control tree, CPU ms" "$(figure "$out" "full repaint (WM_PAINT" cpu)" "< 2"
row "one-control repaint, 2,000-control / small tree (CPU)" "$(figure "$out" "one-control repaint" "cpu x")" "about 1"
row "tree deletion, 20,000 / 2,000 controls, caches emptied" "$(figure "$out" "from emptied caches" "2,000: x")" "< 15"
row "tree deletion, 20,000 / 2,000 controls, just built" "$(figure "$out" "tree deletion 20,000" "2,000: x")" "(cache-bound)"

out=$(run gallery_bench 5)
row "animation frame / full repaint (wall)" "$(figure "$out" "ratio frame / full repaint" wall)" "< 0.1"
row "animation frame above the one-pixel paint / full repaint" "$(figure "$out" "one-pixel paint) / full" wall)" "< 0.1"
row "tile / vertical placement of 2,000 items (wall)" "$(figure "$out" "ratio tile / vertical" wall)" "(no target)"

out=$(run skin_window_bench)
row "skin window markup / plain" "$(figure "$out" "ratio markup / plain" "plain:")" "(no target)"

size=$(stat -c %s "$build/app/kalvex.exe")
row "shipped kalvex.exe, MB" "$(awk -v s="$size" 'BEGIN { printf "%.2f", s / 1048576 }')" "<= 1.2"
if [ -f "$build/bench/json_size_floor.exe" ]; then
  floor=$(stat -c %s "$build/bench/json_size_floor.exe")
  row "  floor: JsonCpp and the static runtime alone, MB" \
    "$(awk -v s="$floor" 'BEGIN { printf "%.2f", s / 1048576 }')" "(baseline)"
fi

echo
printf '%-58s %10s   %s\n' "figure" "now" "target"
printf '%s\n' "${rows[@]}"
