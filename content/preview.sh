#!/bin/bash
# preview.sh GAMEDIR OUTDIR: composes a game folder's pictures the way the game layers them,
# into PNG files to look at: the title menu at rest (open and closed), every stage as it
# starts (background, decorations, insert, stage picture, tag and ink pot), every stage fully
# uncovered, and the ending.
# Needs ImageMagick. The stage numbers come from the folder's Kiv.txt.
set -euo pipefail
G=${1:?game folder}; OUT=${2:?output folder}
mkdir -p "$OUT"
cd "$G"
pic() { if [ -f "$1.jpg" ]; then echo "$1.jpg"; else echo "$1.bmp"; fi; }
two() { printf "%02d" "$1"; }
line() { sed -n "${1}p" Kiv.txt | tr -d '\r'; }

# The menu: eight emblem slices, title panel, buttons and one marker.
slices=("0 64 287 163" "64 142 318 163" "142 219 319 208" "219 297 318 239"
        "297 361 287 240" "361 439 242 239" "439 516 242 208" "516 594 242 163")
for look in Pchz Pchzd; do
  args=(-size 640x480 xc:black)
  for s in "${slices[@]}"; do
    read -r l r x y <<< "$s"
    args+=( \( "$(pic $look)" -crop $((r - l))x78+$l+0 +repage \) -geometry +$x+$y -compose lighten -composite )
  done
  args+=( -compose over \( "$(pic Ptit)" -crop 152x29+0+49 +repage \) -geometry +405+210 -composite
          \( "$(pic Ptit)" -crop 38x29+114+78 +repage \) -geometry +519+239 -composite
          \( "$(pic Ptit)" -crop 53x14+57+94 +repage \) -geometry +462+255 -composite
          \( "$(pic Ptit)" -crop 53x14+0+94 +repage \) -geometry +405+255 -composite
          \( "$(pic Ptit)" -crop 25x25+0+0 +repage \) -geometry +306+104 -composite )
  convert "${args[@]}" "$OUT/menu_$look.png"
done
convert "$(pic Ptit)" -scale 300% "$OUT/parts_sheet.png"

# Stages: sprites whose mask is black are taken where the parts mask sheet is black.
convert "$(pic Ptit)" \( "$(pic Ptitm)" -negate \) -alpha off -compose CopyOpacity -composite "$OUT/.parts.png"
for s in $(seq 0 9); do
  read -r -a p <<< "$(line $((25 + s)))"
  read -r -a w <<< "$(line $((13 + s)))"
  n=$(two $((s + 1)))
  args=("$(pic C$(two ${p[7]}))")
  for k in 9 10 11 12; do
    [ "${p[$k]}" != 0 ] && args+=( \( "$(pic D$(two ${p[$k]}))" -transparent black \) -composite )
  done
  if [ "${w[16]}" != 0 ]; then
    args+=( \( "$(pic E$n)" -crop $((w[15] - w[13]))x$((w[16] - w[14]))+0+0 +repage \) -geometry +${w[13]}+${w[14]} -composite )
  fi
  convert "${args[@]}" "$OUT/stage${n}_revealed.png"
  d=D$(two ${p[8]})
  if [ -f "${d}mask.bmp" ]; then
    args+=( \( "$(pic $d)" "${d}mask.bmp" -alpha off -compose CopyOpacity -composite \) -compose over -composite )
  else
    args+=( \( "$(pic $d)" -transparent black \) -composite )
  fi
  args+=( \( "$OUT/.parts.png" -crop 68x25+91+0 +repage \) -geometry +${w[3]}+$((w[4] - 25)) -composite
          \( "$OUT/.parts.png" -crop 35x35+54+0 +repage \) -geometry +$((w[5] - 17))+$((w[6] - 17)) -composite )
  convert "${args[@]}" "$OUT/stage$n.png"
done
rm -f "$OUT/.parts.png"

# The ending: End1 with both insets shown.
read -r -a e <<< "$(line 23)"
convert "$(pic End1)" \
  \( "$(pic End2)" -crop ${e[0]}x${e[1]}+0+0 +repage -resize $((e[4] - e[2]))x$((e[5] - e[3]))! \) -geometry +${e[2]}+${e[3]} -composite \
  \( "$(pic End3)" -crop ${e[6]}x${e[7]}+0+0 +repage -resize $((e[10] - e[8]))x$((e[11] - e[9]))! \) -geometry +${e[8]}+${e[9]} -composite \
  "$OUT/ending.png"
echo "wrote $(ls "$OUT" | wc -l) pictures into $OUT"
