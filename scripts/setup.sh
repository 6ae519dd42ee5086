#!/usr/bin/env bash
# Installs everything the Windows cross build and its Wine test runs need on a
# Debian machine, and fetches the minizip, JsonCpp and pugixml sources into the
# build tree (pugixml only as the skin benchmark's baseline). Safe to run
# again: it does nothing when everything is already there.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${KALVEX_BUILD_DIR:-$root/build}
deps=$build/deps

packages=(g++-mingw-w64-i686 libz-mingw-w64-dev libstb-dev googletest
          wine wine64 wine32:i386 xvfb x11-utils imagemagick nsis zip cmake
          make dpkg-dev python3 fonts-wqy-microhei ccache xdotool librsvg2-bin xcompmgr locales)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# Source package and a file that shows its sources are unpacked.
source_marks=(zlib "zlib-*/contrib/minizip/unzip.c"
              libjsoncpp "libjsoncpp-*/src/lib_json/json_reader.cpp"
              pugixml "pugixml-*/src/pugixml.cpp")
missing_sources() {
  for ((i = 0; i < ${#source_marks[@]}; i += 2)); do
    compgen -G "$deps/${source_marks[i + 1]}" >/dev/null || echo "${source_marks[i]}"
  done
}
have_sources() { [ -z "$(missing_sources)" ]; }
# The end-to-end runs give the uninstaller the Chinese locale its users have;
# Wine takes file names' encoding from it too, so it must really exist.
have_locale() { locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; }

if [ ${#missing[@]} -eq 0 ] && have_sources && have_locale; then
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
fi

# The source entry mirrors the machine's own binary entry, so no archive host
# is named here: whatever the machine installs from, it fetches sources from.
src_list=/etc/apt/sources.list.d/kalvex-deb-src.sources
if [ ! -f "$src_list" ]; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    # Only the main archive: the security archive does not serve sources here.
    awk -v RS= -v ORS='\n\n' '!/security/' /etc/apt/sources.list.d/debian.sources |
      sed 's/^Types:.*/Types: deb-src/' | as_root tee "$src_list" >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | grep -v security | sed 's/^deb /deb-src /' |
      as_root tee /etc/apt/sources.list.d/kalvex-deb-src.list >/dev/null
    as_root touch "$src_list"
  fi
fi

as_root apt-get update -qq
# Xvfb and Wine pull in a great many packages; recommends are not needed.
as_root apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null

if ! have_sources; then
  mkdir -p "$deps"
  # minizip is shipped inside the zlib source package (contrib/minizip). Only
  # the packages not yet unpacked are fetched, so a build tree made before
  # one was added catches up without fetching the others again.
  mapfile -t fetch < <(missing_sources)
  (cd "$deps" && apt-get source -qq "${fetch[@]}" >/dev/null)
fi

if ! have_locale; then
  as_root localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
