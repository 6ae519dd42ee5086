#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's own 64-bit prefix
# (never ~/.wine) and returns the program's exit code. The prefix is made on
# first use; an Xvfb display is started for the run when none is set.
set -u

here=$(cd "$(dirname "$0")" && pwd)
: "${KALVEX_WINEPREFIX:=${KALVEX_BUILD_DIR:-$here/../build}/wineprefix}"
export WINEPREFIX=$KALVEX_WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer prompts (nothing here needs them), and no
# debugger: a crashing test must end with a failure code, not wait. No menu
# builder either: each shortcut an installer saves starts one, which opens
# the shortcut's target to take its icon, so a removal right after the
# install found the product's program held open and left it for the restart.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d}
unset WINEARCH

xvfb_pid=
compositor_pid=
cleanup()
{
  [ -n "$compositor_pid" ] && kill "$compositor_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    if kill -0 "$xvfb_pid" 2>/dev/null; then export DISPLAY=":$n"; break; fi
    xvfb_pid=
  done
  # A bare X server shows per-pixel-alpha windows over black; a compositor
  # blends them over the desktop as a user's screen would, which is what
  # screenshots of translucent windows and their shadows should show.
  if [ -n "$xvfb_pid" ] && command -v xcompmgr >/dev/null; then
    xcompmgr >/dev/null 2>&1 &
    compositor_pid=$!
  fi
fi

# Creating the prefix is serialised so parallel test runs share one.
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  # The skin names its font as a Chinese Windows has it; Wine has no such
  # font and would fall back to one without Chinese glyphs, so the prefix
  # maps the name onto the CJK font of the build machine (fonts-wqy-microhei).
  if [ ! -f "$WINEPREFIX/kalvex-fonts.done" ]; then
    for face in 微软雅黑 "Microsoft YaHei"; do
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ \
           /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
    done
    wineserver -w
    touch "$WINEPREFIX/kalvex-fonts.done"
  fi
  # Wine links the user's Desktop, Documents and the like to the home folder
  # of the build machine. The tests make shortcuts and files there, which
  # must stay inside this prefix, apart from the user's own files and from
  # every other prefix's runs: the links become folders of the prefix.
  if [ ! -f "$WINEPREFIX/kalvex-folders.done" ]; then
    for folder in "$WINEPREFIX"/drive_c/users/*/*; do
      if [ -L "$folder" ]; then
        rm "$folder" && mkdir "$folder"
      fi
    done
    touch "$WINEPREFIX/kalvex-folders.done"
  fi
) 9>"$WINEPREFIX.lock"

wine "$@"
rc=$?
exit $rc
