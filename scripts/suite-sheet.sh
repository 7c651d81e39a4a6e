#!/usr/bin/env bash
# The contact sheet of the main job's tour: the pictures that suitetour.exe
# saved in a folder (listed in its tour.txt as "<file>.bmp|<label>" and
# optionally "|<client area>", in the order of the tour), each labelled with its program, put on one page with
# ImageMagick's montage.
#
#   suite-sheet.sh <picture folder> <sheet.png>
set -u
folder="${1:?usage: suite-sheet.sh <picture folder> <sheet.png>}"
sheet="${2:?usage: suite-sheet.sh <picture folder> <sheet.png>}"
list="$folder/tour.txt"
if [ ! -s "$list" ]; then
  echo "suite-sheet: $list is missing or empty (the tour saved no picture)"
  exit 1
fi
command -v montage >/dev/null || { echo "suite-sheet: montage missing (scripts/setup.sh installs ImageMagick)"; exit 1; }
args=()
n=0
while IFS='|' read -r file label _; do
  [ -n "$file" ] || continue
  if [ ! -f "$folder/$file" ]; then
    echo "suite-sheet: $folder/$file is listed but missing"
    exit 1
  fi
  args+=(-label "$label" "$folder/$file")
  n=$((n + 1))
done < <(tr -d '\r' <"$list")
columns=4
[ "$n" -lt 4 ] && columns="$n"
font=()
convert -list font 2>/dev/null | grep -q 'Font: DejaVu-Sans$' && font=(-font DejaVu-Sans)
mkdir -p "$(dirname "$sheet")"
# Each picture at most 560 x 420 (smaller ones keep their size), labelled
# below, four to a row.
if ! montage "${args[@]}" -tile "${columns}x" -geometry '560x420>+10+10' -background '#e8e8e8' \
     "${font[@]}" -pointsize 15 -title 'GeulmaruV6' "$sheet" 2>"$folder/montage.log"; then
  echo "suite-sheet: montage failed:"; cat "$folder/montage.log"
  exit 1
fi
echo "suite-sheet: $n pictures on $sheet"
