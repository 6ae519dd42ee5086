#!/usr/bin/env bash
# Runs the skin viewer (skinview.exe of the build tree) under Wine in the
# build tree's own prefix, as cmake/wine-run.sh runs every program here. The
# skin and the --png file may be given as Linux paths: they are handed to
# the viewer as the Windows paths Wine maps them to (drive Z: is /).
#
#   tools/skinview.sh build/resources/skin                 live window, rebuilt on every save
#   tools/skinview.sh build/app/kalvex.exe --png main.png  the shipped skin, headless, to a PNG
#   tools/skinview.sh --help                               every option
#
# KALVEX_BUILD_DIR names the build tree (default: build beside this folder).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
export KALVEX_BUILD_DIR=${KALVEX_BUILD_DIR:-$root/build}
viewer=$KALVEX_BUILD_DIR/tools/skinview/skinview.exe
if [ ! -f "$viewer" ]; then
  echo "no $viewer: build it first (cmake --build $KALVEX_BUILD_DIR --target skinview)" >&2
  exit 2
fi

windows_path()
{
  local full
  full=$(realpath -m -- "$1")
  printf 'Z:%s' "${full//\//\\}"
}

args=()
takes_value=
for arg in "$@"; do
  if [ -n "$takes_value" ]; then
    # Only --png names a file of this machine; the other values are names
    # inside the skin or plain words.
    [ "$takes_value" = --png ] && arg=$(windows_path "$arg")
    takes_value=
  else
    case $arg in
      --png|--xml|--password|--size|--tab|--select|--hover|--push) takes_value=$arg ;;
      -*) ;;
      *) arg=$(windows_path "$arg") ;;
    esac
  fi
  args+=("$arg")
done
exec "$root/cmake/wine-run.sh" "$viewer" "${args[@]}"
