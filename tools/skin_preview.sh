#!/usr/bin/env bash
# Composes the uninstaller's pages from the rendered skin images with
# ImageMagick, placing every control where main.xml lays it out (positions
# worked out by hand from the layout rules, listed below), so the look can be
# judged before the toolkit draws it. Text is set in WenQuanYi Micro Hei, the
# stand-in for the skin's 微软雅黑.
#
#   tools/skin_preview.sh [build dir]      (default: build)
#
# Needs a build that has made the skin images (target kalvex_resources).
# Writes confirm.png, hover.png, progress.png, finished.png and msgbox.png to
# <build dir>/resources/preview/.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
skin=$build/resources/skin
out=$build/resources/preview
font=${KALVEX_PREVIEW_FONT:-/usr/share/fonts/truetype/wqy/wqy-microhei.ttc}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for f in bk/main_bk.png bk/title_logo.png btn/close_btn.png btn/nor_btn.png btn/hot_btn.png \
         bk/unins_pro_bk.png bk/unins_end_lab.png btn/download_new_version_btn.png \
         bk/child_wnd_bk.png btn/chat_official_btn.png; do
  [ -f "$skin/$f" ] || { echo "missing $skin/$f: build the kalvex_resources target first" >&2; exit 1; }
done
mkdir -p "$out"

# text IMAGE X Y W H GRAVITY COLOUR SIZE WEIGHT TEXT: draws TEXT into the box
# (X, Y, W, H) of IMAGE, placed by GRAVITY as the label's alignment places it.
# Bold is approximated by a hairline stroke in the text colour.
text() {
  local image=$1 x=$2 y=$3 w=$4 h=$5 gravity=$6 colour=$7 size=$8 weight=$9 words=${10}
  local stroke=()
  [ "$weight" = bold ] && stroke=(-stroke "$colour" -strokewidth 0.6)
  convert -size "${w}x${h}" xc:none -font "$font" -pointsize "$size" -fill "$colour" "${stroke[@]}" \
          -gravity "$gravity" -annotate +0+0 "$words" "$work/text.png"
  convert "$image" "$work/text.png" -geometry "+$x+$y" -composite "$image"
}

# place IMAGE PICTURE X Y [CROP]: draws PICTURE (or its CROP part) at X,Y.
place() {
  local image=$1 picture=$2 x=$3 y=$4 crop=${5:-}
  if [ -n "$crop" ]; then
    convert "$picture" -crop "$crop" +repage "$work/part.png"
    picture=$work/part.png
  fi
  convert "$image" "$picture" -geometry "+$x+$y" -composite "$image"
}

# round IMAGE RADIUS: the window region's rounded corners.
round() {
  local image=$1 r=$2 size
  size=$(identify -format '%wx%h' "$image")
  local w=${size%x*} h=${size#*x}
  convert -size "$size" xc:black -fill white -draw "roundrectangle 0,0,$((w - 1)),$((h - 1)),$r,$r" "$work/mask.png"
  convert "$image" "$work/mask.png" -alpha off -compose CopyOpacity -composite "$image"
}

# Main window, 680 x 420. Title row (height 44): logo at 16,10 (132 x 24);
# divider at 158,16 (1 x 12); "卸载向导" label at 169,10 (80 x 24); close button
# at 644,8 (28 x 28) with its glyph at 648,12. Pages start at y 190.
base() {
  local image=$1
  cp "$skin/bk/main_bk.png" "$image"
  place "$image" "$skin/bk/title_logo.png" 16 10
  convert "$image" -fill '#FFFFFF66' -draw "rectangle 158,16 158,27" "$image"
  text "$image" 169 10 80 24 west '#FFFFFF' 14 normal "卸载向导"
  place "$image" "$skin/btn/close_btn.png" 648 12
}

# Confirmation and progress page texts: heading at 40,218 (600 x 30), two
# lines at 40,258 and 40,278 (600 x 20 each).
page_texts() {
  local image=$1
  text "$image" 40 218 600 30 center '#1D2129' 20 bold "卸载 Velko加速器"
  text "$image" 40 258 600 20 center '#86909C' 13 normal "卸载将移除程序文件、快捷方式及注册信息"
  text "$image" 40 278 600 20 center '#86909C' 13 normal "账号与加速时长保存在云端，重新安装后即可继续使用"
}

# Buttons at 178,328 and 352,328 (150 x 42); STATE picks the frame row of the
# keep button (0 normal, 1 hot).
buttons() {
  local image=$1 state=$2
  place "$image" "$skin/btn/nor_btn.png" 178 328 150x42+0+0
  text "$image" 178 328 150 42 center '#4E5969' 14 normal "继续卸载"
  place "$image" "$skin/btn/hot_btn.png" 352 328 "150x42+0+$((state * 42))"
  text "$image" 352 328 150 42 center '#FFFFFF' 14 normal "我再想想"
}

confirm=$out/confirm.png
base "$confirm"
page_texts "$confirm"
buttons "$confirm" 0
round "$confirm" 6

hover=$out/hover.png
base "$hover"
page_texts "$hover"
buttons "$hover" 1
convert "$hover" -fill '#FFFFFF2E' -draw "circle 658,22 672,22" "$hover"
place "$hover" "$skin/btn/close_btn.png" 648 12
round "$hover" 6

# Progress label at 40,330 (600 x 40): the bar 360 pixels into its run (the
# template's nine-grid keeps the rightmost 5 columns), the track overlay over
# the top 9 rows, the status text bottom-aligned 4 pixels above the bottom.
progress=$out/progress.png
base "$progress"
page_texts "$progress"
bar=360
convert "$skin/bk/unins_pro_bk.png" -crop 595x9+0+0 +repage -resize "$((bar - 5))x9!" \
        \( "$skin/bk/unins_pro_bk.png" -crop 5x9+595+0 +repage \) +append "$work/bar.png"
place "$progress" "$work/bar.png" 40 330
convert "$progress" -fill '#00000014' -draw "rectangle 40,330 639,338" "$progress"
text "$progress" 40 330 600 36 south '#86909C' 12 normal "正在卸载，请稍候…"
round "$progress" 6

# Finished page: badge at 308,204 (64 x 64), heading at 0,272 (680 x 30),
# line at 0,304 (680 x 20), download button at 250,342 (180 x 42, nine-grid
# with 6-pixel corners from the 100 x 30 image).
finished=$out/finished.png
base "$finished"
place "$finished" "$skin/bk/unins_end_lab.png" 308 204
text "$finished" 0 272 680 30 center '#1D2129' 20 bold "卸载完成"
text "$finished" 0 304 680 20 center '#86909C' 13 normal "感谢您一路相伴，期待与您再次相遇"
# Nine-grid: keep the 6-pixel corners, stretch the edges and the middle.
src=$skin/btn/download_new_version_btn.png
convert -size 180x42 xc:none \
  \( "$src" -crop 88x18+6+6 +repage -resize 168x30! \) -geometry +6+6 -composite \
  \( "$src" -crop 88x6+6+0 +repage -resize 168x6! \) -geometry +6+0 -composite \
  \( "$src" -crop 88x6+6+24 +repage -resize 168x6! \) -geometry +6+36 -composite \
  \( "$src" -crop 6x18+0+6 +repage -resize 6x30! \) -geometry +0+6 -composite \
  \( "$src" -crop 6x18+94+6 +repage -resize 6x30! \) -geometry +174+6 -composite \
  \( "$src" -crop 6x6+0+0 +repage \) -geometry +0+0 -composite \
  \( "$src" -crop 6x6+94+0 +repage \) -geometry +174+0 -composite \
  \( "$src" -crop 6x6+0+24 +repage \) -geometry +0+36 -composite \
  \( "$src" -crop 6x6+94+24 +repage \) -geometry +174+36 -composite \
  "$work/download.png"
place "$finished" "$work/download.png" 250 342
text "$finished" 250 342 180 42 center '#FFFFFF' 14 normal "下载新版本"
round "$finished" 6

# Message box, 335 x 255, as the running-client question shows it, over a
# light desktop: the box's translucent black background colour, then its
# background image; title
# label at 15,0 (265 x 40), close button at 280,10, message centred in the
# content row (16..320 x 40..205, its text box raised 30 by the text padding), OK at
# 57,205 and cancel at 177,205 (100 x 30 each, 20 apart, centred).
msgbox=$out/msgbox.png
convert -size 335x255 xc:'#EEF1F5' -fill '#0000004D' -draw "rectangle 0,0 334,254" \
        "$skin/bk/child_wnd_bk.png" -composite "$msgbox"
text "$msgbox" 15 0 265 40 west '#FFFFFF' 12 normal "Velko加速器卸载向导"
place "$msgbox" "$skin/btn/close_btn.png" 280 10
text "$msgbox" 16 10 304 195 center '#000000' 12 normal "Velko加速器正在运行中，确定卸载？"
place "$msgbox" "$skin/btn/download_new_version_btn.png" 57 205
text "$msgbox" 57 205 100 30 center '#FFFFFF' 12 normal "确定"
place "$msgbox" "$skin/btn/chat_official_btn.png" 177 205
text "$msgbox" 177 205 100 30 center '#000000' 12 normal "取消"

echo "previews in $out:"
ls "$out"
