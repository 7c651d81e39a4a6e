#!/usr/bin/env bash
# Draws the lookup library's two glyph bitmaps from Debian's CJK fonts:
#
#   glyphs.sh <radical_glyphs.txt> <output folder>
#
#   RADICALS.bmp  bitmap 124: the radicals that KS X 1001 lacks, in the order
#                 of radical_glyphs.txt (written by lookupgen), from IPAGothic
#                 (fonts-ipafont-gothic), or AR PL UMing (fonts-arphic-uming)
#                 for the few that IPAGothic lacks
#   JAMO.bmp      the compatibility jamo U+3131-U+3163 (the initials' and
#                 vowels' labels of the GM95 row 4), from NanumGothic (fonts-nanum)
#
# Both are 1-bit bitmaps of 16 x 16 cells, 8 to a row; glyph n lies at column
# n mod 8, row n / 8. The results are committed beside the library's
# resources, with radical_glyphs.txt, whose copy a unit test compares with
# the generated list.
set -euo pipefail
list="$1" out="$2"
gothic=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
ming=/usr/share/fonts/truetype/arphic/uming.ttc
hangul=/usr/share/fonts/truetype/nanum/NanumGothic.ttf
for f in "$gothic" "$ming" "$hangul"; do
  [ -f "$f" ] || { echo "glyphs.sh: $f is missing: run scripts/setup.sh"; exit 1; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# One 16 x 16 glyph cell: cell <code point hex> <font> <file>
cell() {
  local ch
  ch="$(printf "\\U$(printf %08X "0x$1")")"
  convert -size 16x16 xc:white -font "$2" -pointsize 15 -fill black -gravity center -annotate +0+0 "$ch" "$3"
}

# A sheet of 8 cells a row from the cell files given: sheet <output> <cells...>
sheet() {
  local output="$1"
  shift
  local rows=() row=() i=0
  for c in "$@"; do
    row+=("$c")
    if [ "${#row[@]}" = 8 ]; then
      convert "${row[@]}" +append "$work/row$i.png"
      rows+=("$work/row$i.png")
      row=()
      i=$((i + 1))
    fi
  done
  if [ "${#row[@]}" -gt 0 ]; then
    while [ "${#row[@]}" -lt 8 ]; do row+=("$work/blank.png"); done
    convert "${row[@]}" +append "$work/row$i.png"
    rows+=("$work/row$i.png")
  fi
  convert "${rows[@]}" -append -threshold 75% -type bilevel "BMP3:$output"
}

convert -size 16x16 xc:white "$work/blank.png"

cells=()
n=0
while read -r code; do
  hex="${code#U+}"
  font="$gothic"
  if [ -z "$(fc-list ":file=$gothic:charset=$hex" file)" ]; then
    font="$ming"
  fi
  cell "$hex" "$font" "$work/r$n.png"
  cells+=("$work/r$n.png")
  n=$((n + 1))
done <"$list"
sheet "$out/RADICALS.bmp" "${cells[@]}"

cells=()
for cp in $(seq $((0x3131)) $((0x3163))); do
  hex="$(printf %04X "$cp")"
  cell "$hex" "$hangul" "$work/j$hex.png"
  cells+=("$work/j$hex.png")
done
sheet "$out/JAMO.bmp" "${cells[@]}"
cp "$list" "$out/radical_glyphs.txt"
echo "glyphs.sh: $n radicals and $(( 0x3163 - 0x3131 + 1 )) jamo drawn into $out"
