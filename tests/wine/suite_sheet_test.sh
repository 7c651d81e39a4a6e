#!/usr/bin/env bash
# The main job's contact sheet in a lane with the suite installed: runs the
# tour (suitetour.exe) and the sheet step, then checks that the sheet exists
# and holds a picture of every program of the tour, and that each picture
# shows a window that is not blank: its client area (as the tour measured it
# when it took the picture) has more than a few colours, and no one colour
# covers nearly all of it.
#
#   suite_sheet_test.sh <wine-run.sh> <suitetour.exe> <stand-in folder> <work folder>
set -u
here="$(cd "$(dirname "$0")" && pwd)"
wine_run="$1" exe="$2" standins="$3" work="$4"
for tool in convert identify montage; do
  command -v "$tool" >/dev/null || { echo "suite_sheet_test: $tool missing (scripts/setup.sh installs ImageMagick)"; exit 1; }
done
rm -rf "$work"
mkdir -p "$work"
"$wine_run" 32 "$exe" "$work" "$standins"
rc=$?
[ "$rc" = 0 ] || [ "$rc" = 77 ] || echo "suite_sheet_test: the tour reported failures (exit $rc)"
[ "$rc" = 77 ] && exit 77

fail=0
[ "$rc" = 0 ] || fail=1
bad() { echo "FAIL: $*"; fail=1; }
ok() { echo "ok: $*"; }

sheet="$work/suite.png"
if "$here/../../scripts/suite-sheet.sh" "$work" "$sheet"; then
  ok "the sheet step made $sheet"
else
  bad "the sheet step failed"
fi
if [ -f "$sheet" ] && identify "$sheet" >/dev/null 2>&1; then
  ok "the sheet is a picture: $(identify -format '%w x %h' "$sheet")"
else
  bad "no readable sheet at $sheet"
fi

# Every program of the tour has its picture in the list.
for name in workbench inputpad editor dictionary player listening fontsetup; do
  if grep -q "^$name.bmp|" "$work/tour.txt" 2>/dev/null; then
    ok "$name is on the sheet"
  else
    bad "$name has no picture in the tour's list"
  fi
done

# Whether the picture's client area (x,y,width,height) shows something:
# more than 8 colours and no colour on 99 % of it or more. Says what it saw.
shows_window() {
  local pic="$1" client="$2" x y cw ch w h inside colours top share
  IFS=, read -r x y cw ch <<<"$client"
  read -r w h < <(identify -format '%w %h\n' "$pic" 2>/dev/null | head -1)
  if [ -z "${w:-}" ] || [ -z "${ch:-}" ] || [ "$cw" -lt 20 ] || [ "$ch" -lt 10 ] ||
     [ $((x + cw)) -gt "$w" ] || [ $((y + ch)) -gt "$h" ]; then
    seen="${w:-?} x ${h:-?}, no client area inside it (${client:-none})"
    return 1
  fi
  inside="$work/client-$(basename "${pic%.*}").png"
  convert "$pic" -crop "${cw}x${ch}+${x}+${y}" +repage "$inside"
  colours=$(identify -format '%k' "$inside")
  top=$(convert "$inside" -format %c histogram:info:- | sed 's/^ *\([0-9]*\):.*/\1/' | sort -rn | head -1)
  share=$(( 100 * top / (cw * ch) ))
  seen="$w x $h, client area $cw x $ch with $colours colours, the commonest on $share % of it"
  [ "$colours" -gt 8 ] && [ "$share" -lt 99 ]
}

# The check itself: a window whose client area is plain white with a frame
# of other colours around it is blank; one line of text in it is not.
convert -size 300x200 xc:'#101060' -fill white -draw 'rectangle 4,24 295,195' "$work/selftest-blank.bmp"
convert "$work/selftest-blank.bmp" -fill black -pointsize 14 -draw "text 10,50 'GeulmaruV6 suite'" "$work/selftest-text.bmp"
if shows_window "$work/selftest-blank.bmp" 4,24,292,172; then bad "the pixel check takes a blank window for one that shows something ($seen)"; else ok "the pixel check finds a blank client area blank ($seen)"; fi
if shows_window "$work/selftest-text.bmp" 4,24,292,172; then ok "and one line of text not blank ($seen)"; else bad "the pixel check takes a line of text for a blank window ($seen)"; fi

# Each picture of the tour.
while IFS='|' read -r file label client; do
  [ -n "$file" ] || continue
  if shows_window "$work/$file" "${client:-}"; then ok "$label: $seen"; else bad "$label looks blank: $seen"; fi
done < <(tr -d '\r' <"$work/tour.txt" 2>/dev/null)

[ "$fail" = 0 ] && echo "suite_sheet_test: passed" || echo "suite_sheet_test: failed"
exit "$fail"
