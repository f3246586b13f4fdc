#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tallyhawk developers
# Draws the pictures that the board, the splash window and the help page use into data/images/,
# and the program's icon into data/icons/.
# Everything is drawn with ImageMagick's -draw primitives, so the pictures are our own and the
# output is the same on every run (no time stamps or comments are written into the files).
#
# Board cells are navy; the two pictures that sit in other cells get that cell's colour:
# NoBonusBall.GIF (a drawn bonus ball that missed: dark green cell) and egg-cracked.jpg
# (a drawn egg: red cell). The board scales every picture to fit its cell.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/data/images"
mkdir -p "$out"

command -v convert >/dev/null || { echo "make-pictures.sh: ImageMagick 'convert' is needed" >&2; exit 1; }

NAVY='#000080'
GREEN='#004000'
RED='#FF0000'

# A bold font for the logo's lettering, if one is installed; ImageMagick's default otherwise.
font=()
for f in Liberation-Sans-Bold DejaVu-Sans-Bold; do
  if convert -list font | grep -q "Font: $f\$"; then font=(-font "$f"); break; fi
done

# Options that keep the files small and free of time stamps.
strip=(-strip)
png=(+dither -colors 64 -depth 8 -strip -define "png:exclude-chunks=date,time")
jpg=(-strip -sampling-factor 1x1 -quality 92)

# Points of a five-pointed star: star CX CY OUTER INNER
star() {
  awk -v cx="$1" -v cy="$2" -v ro="$3" -v ri="$4" 'BEGIN {
    pi = atan2(0, -1)
    for (k = 0; k < 10; k++) {
      a = -pi / 2 + k * pi / 5; r = (k % 2) ? ri : ro
      printf "%s%.1f,%.1f", (k ? " " : ""), cx + r * cos(a), cy + r * sin(a)
    }
  }'
}

# --- Check marks: a marked number (blue) and a hit (red) -------------------------------------
# check FILE SHADOW MAIN HIGHLIGHT
check() {
  local tick='polyline 9,25 19,36 39,11'
  convert -size 48x48 "xc:$NAVY" -fill none \
    -draw "stroke-linecap round stroke-linejoin round stroke $2 stroke-width 10 translate 1,2 $tick" \
    -draw "stroke-linecap round stroke-linejoin round stroke $3 stroke-width 8 $tick" \
    -draw "stroke-linecap round stroke-linejoin round stroke $4 stroke-width 2 translate -1,-1 $tick" \
    "${strip[@]}" "$out/$1"
}
check ckmark-blue.GIF '#001a66' '#3aa0ff' '#c8e8ff'
check ckmark-red.GIF '#4a0000' '#ff2a2a' '#ffb0a0'

# --- Bonus balls: hit (shiny gold with a star) and missed (grey, crossed out) ------------------
# ball FILE BACKGROUND LIGHT DARK RIM STAR [EXTRA DRAW]
ball() {
  local extra=${7:-}
  convert -size 48x48 "xc:$2" \
    \( -size 64x64 "radial-gradient:$3-$4" -crop 48x48+14+14 +repage \
       \( -size 48x48 xc:black -fill white -draw 'circle 24,24 24,3' \) \
       -alpha off -compose CopyOpacity -composite \) \
    -compose Over -composite \
    -fill none -stroke "$5" -strokewidth 1.5 -draw 'circle 24,24 24,3.5' \
    -stroke "$5" -strokewidth 1 -fill "$6" -draw "polygon $(star 24 26 11 4.6)" \
    -stroke none -fill '#FFFFFFB0' -draw 'ellipse 17,13 5,3 0,360' \
    ${extra:+-draw "$extra"} \
    "${strip[@]}" "$out/$1"
}
ball BonusBall.GIF "$NAVY" '#fffbe0' '#e08a00' '#8a4a00' '#c00000'
ball NoBonusBall.GIF "$GREEN" '#e8e8e8' '#5a5a5a' '#3a3a3a' '#808080' \
  'stroke #d00000 stroke-width 5 stroke-linecap round line 10,10 38,38 line 38,10 10,38'

# --- Caveman eggs: waiting (blue, speckled) and caught (cracked) -------------------------------
shell='path "M 24,4 C 33,4 40,19 40,29 C 40,39 33,45 24,45 C 15,45 8,39 8,29 C 8,19 15,4 24,4 Z"'
speckles='circle 17,20 17,21.3 circle 29,14 29,15.1 circle 32,26 32,27.5 circle 20,33 20,34.2
  circle 27,38 27,39.1 circle 13,30 13,31.2 circle 24,24 24,25 circle 34,35 34,36.1
  circle 22,11 22,11.9 circle 15,39 15,39.9'
# egg FILE BACKGROUND [EXTRA DRAW]
egg() {
  local extra=${3:-}
  convert -size 48x48 "xc:$2" \
    -stroke '#0a2a6a' -strokewidth 1.5 -fill '#5b9ee8' -draw "$shell" \
    -stroke none -fill '#8cc0f5' -draw 'ellipse 21,22 9,13 0,360' \
    -fill '#1d4f9a' -draw "$speckles" \
    -fill '#FFFFFFC0' -draw 'ellipse 18,14 3,5 0,360' \
    ${extra:+-draw "$extra"} \
    "${jpg[@]}" "$out/$1"
}
egg egg-blue.jpg "$NAVY"
egg egg-cracked.jpg "$RED" \
  'fill none stroke #0a1030 stroke-width 2 stroke-linejoin miter
   polyline 10,27 15,22 19,30 24,21 28,31 33,23 38,28
   polyline 24,21 23,15 26,11 polyline 28,31 30,36 polyline 15,22 13,18'

# --- Logo for the splash window: a gold "T" inside a ring of numbered keno balls ---------------
# The program's icon is the same drawing without the numbers, so the shapes are kept as lists
# that both the ImageMagick drawing and the icon's SVG are written from.
balls=()
labels=()
ball_svg=''
i=0
for n in 7 12 19 23 31 40 44 52 61 68 75 80; do
  # Ball i sits at i o'clock on a circle of radius 98; its label is placed from the centre.
  read -r x y top dx dy < <(awk -v k="$i" 'BEGIN {
    pi = atan2(0, -1); a = -pi / 2 + k * pi / 6; x = 98 * cos(a); y = 98 * sin(a)
    printf "%.1f %.1f %.1f %+.1f %+.1f\n", 128 + x, 128 + y, 128 + y - 15, x, y + 1 }')
  if (( i % 2 )); then fill='#f2c230'; else fill='#fff8e0'; fi
  balls+=(-fill "$fill" -draw "circle $x,$y $x,$top")
  labels+=(-draw "text ${dx},${dy} '$n'")
  ball_svg+="    <circle cx=\"$x\" cy=\"$y\" r=\"15\" fill=\"$fill\"/>"$'\n'
  i=$((i + 1))
done
# The "T" spreads like a hawk's wings and tapers like its tail,
T_POINTS='72,88 184,88 190,80 188,94 192,100 176,100 178,107 158,106 150,108 140,184 128,198
   116,184 106,108 98,106 78,107 80,100 64,100 68,94 66,80'
# and a hawk's head sits on top of it, looking right.
BEAK_POINTS='137,64 154,70 157,80 153,88 150,80 139,84'
WING_LIGHT_POINTS='74,91 182,91 186,85 184,96 72,96 70,85'
TAIL_SHADE_POINTS='128,112 134,112 130,186 128,190'
T="polygon $T_POINTS"
HEAD="circle 128,76 128,61 polygon $BEAK_POINTS"

# emblem [small]: the drawing at 256x256 on a transparent ground. The small form, for icons of
# 32 pixels and less, leaves out the ring of balls (they would be specks), draws the "T" larger
# and the rim thicker.
emblem() {
  local ring=() zoom='' rim=6
  if [ "${1:-}" = small ]; then
    zoom='translate 128,130 scale 1.4,1.4 translate -128,-130 '
    rim=14
  else
    ring=(-fill none -stroke '#d4a01780' -strokewidth 2 -draw 'circle 128,128 128,46'
          -stroke '#7a5a00' -strokewidth 1.5 "${balls[@]}")
  fi
  emblem_args=(-size 256x256 xc:none
    -fill "$NAVY" -stroke '#d4a017' -strokewidth "$rim" -draw 'roundrectangle 4,4 251,251 36,36'
    "${ring[@]}"
    -stroke none -fill '#00003a' -draw "${zoom}translate 3,5 $T"
    -draw "${zoom}translate 3,5 $HEAD"
    -fill '#f2c230' -stroke '#7a5a00' -strokewidth 2 -draw "$zoom$HEAD" -draw "$zoom$T"
    -fill '#fff2b0' -stroke none -draw "${zoom}polygon $WING_LIGHT_POINTS"
    -fill '#fff2b0' -draw "${zoom}ellipse 122,70 5,3 0,360" -fill "$NAVY" -draw "${zoom}circle 136,73 136,75.8"
    -fill '#c8960e' -draw "${zoom}polygon $TAIL_SHADE_POINTS")
}

emblem
convert "${emblem_args[@]}" \
  "${font[@]}" -pointsize 14 -fill '#000080' -gravity center "${labels[@]}" \
  "${png[@]}" "$out/logo.png"

# --- The program's icon in the hicolor theme: an SVG and PNGs of the usual sizes ------------
icons="$root/data/icons/hicolor"
mkdir -p "$icons/scalable/apps"
points() { echo $1; } # one line, single spaces
cat >"$icons/scalable/apps/tallyhawk.svg" <<SVG
<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <rect x="4" y="4" width="247" height="247" rx="36" ry="36" fill="$NAVY" stroke="#d4a017" stroke-width="6"/>
  <circle cx="128" cy="128" r="82" fill="none" stroke="#d4a017" stroke-opacity="0.5" stroke-width="2"/>
  <g stroke="#7a5a00" stroke-width="1.5">
$ball_svg  </g>
  <g fill="#00003a" transform="translate(3,5)">
    <circle cx="128" cy="76" r="15"/>
    <polygon points="$(points "$BEAK_POINTS")"/>
    <polygon points="$(points "$T_POINTS")"/>
  </g>
  <g fill="#f2c230" stroke="#7a5a00" stroke-width="2">
    <circle cx="128" cy="76" r="15"/>
    <polygon points="$(points "$BEAK_POINTS")"/>
    <polygon points="$(points "$T_POINTS")"/>
  </g>
  <polygon points="$(points "$WING_LIGHT_POINTS")" fill="#fff2b0"/>
  <ellipse cx="122" cy="70" rx="5" ry="3" fill="#fff2b0"/>
  <circle cx="136" cy="73" r="2.8" fill="$NAVY"/>
  <polygon points="$(points "$TAIL_SHADE_POINTS")" fill="#c8960e"/>
</svg>
SVG
for size in 16 24 32 48 64 128 256; do
  mkdir -p "$icons/${size}x${size}/apps"
  if (( size <= 32 )); then emblem small; else emblem; fi
  convert "${emblem_args[@]}" -resize "${size}x${size}" "${png[@]}" "$icons/${size}x${size}/apps/tallyhawk.png"
done

ls -l "$out"
ls -lR "$icons"
