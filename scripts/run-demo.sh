#!/usr/bin/env bash
# Installs the suite into a Wine prefix with its setup program
# (GeulmaruSetup.exe from build/debug/package, as a user installs it on
# Windows) and starts imedemo, a window in which one can type Korean with
# the installed input method.  Builds nothing: run
# `cmake --build --preset native-debug` first.
#
#   scripts/run-demo.sh [--gm] [--auto] [--exports] [--build-dir DIR]
#   scripts/run-demo.sh editor [FILE] [--auto] [--build-dir DIR]
#
#   --gm        the GM-code edition (WARBENV6.IME) instead of ZORBENV6.IME
#   --auto      type a fixed sentence, save a picture of the screen (the demo
#               window and the input method's windows) and exit, even when a
#               display is available (without $DISPLAY this is the default:
#               the demo then runs on its own Xvfb)
#   --exports   drive the input method through its exports even where the
#               32-bit keyboard road would work
#   --no-tour   with --auto, stop after the typing window: no tour of the
#               companion programs and no contact sheet
#   editor      start the installed Hangul text editor BRISELV6.EXE instead
#               (32-bit only), on FILE when one is given; with --auto it
#               runs for a while on its own display and a picture of the
#               screen is saved to build/debug/editor.png
#
# With --auto, after the typing window, the tour (suitetour.exe, 32-bit road
# only) opens each companion program as a user does, the workbench and the
# input pad from the input method's toolbar and the others from their
# Start-menu entries, each with a little content, photographs each main
# window and puts the pictures, after the typing window's, on one contact
# sheet, build/debug/suite.png
# (the pictures themselves in build/debug/demo-wine/tour/).
#
# The 32-bit keyboard road (the installed keyboard layout, found by the input
# method's file name) is used when 32-bit Windows programs run here;
# otherwise the 64-bit build is driven through its exports, which works with
# Wine 8 everywhere (the setup program, a 32-bit program, cannot run then:
# the demo takes the input method and its dictionary from the package).
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/debug"
ime_name=ZORBENV6.IME
auto=0
force_exports=0
editor=0
editor_file=
tour=1
while [ $# -gt 0 ]; do
  case "$1" in
    editor) editor=1 ;;
    --gm) ime_name=WARBENV6.IME ;;
    --auto) auto=1 ;;
    --exports) force_exports=1 ;;
    --no-tour) tour=0 ;;
    --build-dir) build="$(cd "$2" && pwd)"; shift ;;
    -h|--help) sed -n '2,37p' "$0"; exit 0 ;;
    *)
      if [ "$editor" = 1 ] && [ -z "$editor_file" ] && [ "${1#-}" = "$1" ]; then
        editor_file="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
      else
        echo "run-demo: unknown option $1" >&2; exit 2
      fi ;;
  esac
  shift
done
[ -z "${DISPLAY:-}" ] && auto=1

export WINE_STATE_DIR="$build/demo-wine"
. "$root/scripts/wine-env.sh"
mkdir -p "$WINE_STATE_DIR"

# The road and the build that serves it.
bits=64
can32=0
note=()
if wine_can_run_32 && [ -f "$build/win32/tools/imedemo/imedemo.exe" ]; then
  can32=1
  [ "$force_exports" = 0 ] && bits=32
elif [ "$force_exports" = 0 ]; then
  why="${WINE32_WHY:-32-bit build missing}"
  echo "run-demo: $why; using the 64-bit build through its exports"
  note=(--title-note "(64-bit exports: 32-bit programs cannot run here)")
fi
if [ "$editor" = 1 ] && [ "$can32" = 0 ]; then
  echo "run-demo: the editor is a 32-bit program and cannot run here (${WINE32_WHY:-32-bit build missing})" >&2
  exit 1
fi
demo="$build/win$bits/tools/imedemo/imedemo.exe"
package="$build/package"
for f in "$demo" "$package/GeulmaruSetup.exe"; do
  if [ ! -f "$f" ]; then
    echo "run-demo: $f is missing: build first (cmake --build --preset native-debug)" >&2
    exit 1
  fi
done
if [ "$bits" = 32 ]; then loader="$WINE32"; else loader="$WINE64"; fi

cleanup() { [ "$auto" = 1 ] && "$root/scripts/wine-fixture.sh" stop >/dev/null; }

if [ "$auto" = 1 ]; then
  # Own display and wineserver, as for the tests.
  warm="$build/win64/tests/wine/ime_exports_test.exe"
  "$root/scripts/wine-fixture.sh" start "$warm" >"$WINE_STATE_DIR/start.log" 2>&1 || {
    cat "$WINE_STATE_DIR/start.log"; exit 1; }
  trap cleanup EXIT
  . "$WINE_STATE_FILE"
  export DISPLAY
elif [ ! -f "$WINE_STATE_DIR/prefix.ready" ]; then
  echo "run-demo: creating the Wine prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  "$WINE64" wineboot -i >"$WINE_STATE_DIR/wineboot.log" 2>&1
  touch "$WINE_STATE_DIR/prefix.ready"
fi

# Install the suite with its setup program.  The keyboard road then finds
# the installed layout by the input method's file name; the exports road
# loads the installed 64-bit input method, which finds the installed
# dictionary through "Install Directory".
if [ "$can32" = 1 ]; then
  "$root/scripts/wine-install-suite.sh" "$package" >"$WINE_STATE_DIR/setup-run.log" 2>&1 || {
    echo "run-demo: installing the suite failed:"; cat "$WINE_STATE_DIR/setup-run.log"; exit 1; }
  grep 'wine-install-suite: ' "$WINE_STATE_DIR/setup-run.log" | sed 's/^wine-install-suite/run-demo/'
  echo "run-demo: the suite is installed in $WINEPREFIX (log: $WINE_STATE_DIR/setup-run.log)"
  if [ "$bits" = 32 ]; then
    road=(--keyboard --ime "$ime_name")
  else
    road=(--ime "C:\\windows\\system32\\$ime_name")
  fi
else
  # No setup program without 32-bit programs: the package's 64-bit input
  # method, told where its dictionary is.
  dic=GmV6KS.dic
  prefix=ZO
  if [ "$ime_name" = WARBENV6.IME ]; then dic=GmV6.dic; prefix=WA; fi
  wine_exec "$WINE_STATE_DIR/reg.log" "$(wine_budget 64 4)" "$WINE64" reg add "HKCU\\Software\\VALDRIMO\\GeulmaruV6\\$prefix\\DicEnv" \
    /v DicPathName /t REG_SZ /d "$(wine_path "$package/GeulmaruV6/SYSDIC/$dic")" /f || {
    echo "run-demo: registry setting failed:"; cat "$WINE_STATE_DIR/reg.log"; exit 1; }
  road=(--ime "$(wine_path "$package/System64/$ime_name")")
fi
win_demo="$(wine_path "$demo")"

if [ "$editor" = 1 ]; then
  # The editor from the program folder that the setup program reported.
  dir="$(grep -a -m1 '"Install Directory" = ' "$WINE_STATE_DIR/setup-run.log" | sed 's/.*"Install Directory" = //' | tr -d '\r')"
  editor_exe="$dir\\GeulmaruV6\\BRISELV6.EXE"
  # The editor's default view font is "KS P Mincho"; this system's Korean
  # font stands in for it.
  wine_exec "$WINE_STATE_DIR/reg.log" "$(wine_budget 64 4)" "$WINE64" reg add \
    'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "KS P Mincho" /t REG_SZ \
    /d NanumMyeongjo /f || { echo "run-demo: registry setting failed:"; cat "$WINE_STATE_DIR/reg.log"; exit 1; }
  args=()
  [ -n "$editor_file" ] && args=("$(wine_path "$editor_file")")
  if [ "$auto" = 0 ]; then
    echo "run-demo: starting $editor_exe on $DISPLAY; close its window to end"
    exec "$WINE32" "$editor_exe" "${args[@]}"
  fi
  "$WINE32" "$editor_exe" "${args[@]}" >"$WINE_STATE_DIR/editor.log" 2>&1 &
  sleep 20
  png="$build/editor.png"
  if import -display "$DISPLAY" -window root "$png" 2>/dev/null; then
    echo "run-demo: picture: $png"
  else
    echo "run-demo: no picture was saved"
  fi
  kill "$!" 2>/dev/null
  exit 0
fi

if [ "$auto" = 0 ]; then
  echo "run-demo: starting imedemo on $DISPLAY; close its window to end"
  exec "$loader" "$win_demo" "${road[@]}" "${note[@]}"
fi

bmp="$WINE_STATE_DIR/imedemo.bmp"
png="$build/imedemo.png"
out="$WINE_STATE_DIR/imedemo.txt"
rm -f "$bmp" "$out"
wine_exec "$WINE_STATE_DIR/imedemo.log" "$(wine_budget "$bits" 3)" "$loader" "$win_demo" "${road[@]}" "${note[@]}" --auto \
  --shot "$(wine_path "$bmp")" --out "$(wine_path "$out")" || {
  echo "run-demo: imedemo failed:"; cat "$WINE_STATE_DIR/imedemo.log"; exit 1; }
cat "$WINE_STATE_DIR/imedemo.log"
if [ -f "$bmp" ]; then
  if convert "$bmp" "$png" 2>/dev/null; then
    echo "run-demo: picture: $png"
  else
    echo "run-demo: picture (BMP; convert failed): $bmp"
  fi
else
  echo "run-demo: no picture was saved"
fi
if [ -f "$out" ]; then
  printf 'run-demo: committed text: %s\n' "$(cat "$out")"
fi

# The tour of the companion programs and its contact sheet.
[ "$tour" = 1 ] || exit 0
if [ "$bits" != 32 ]; then
  echo "run-demo: no tour of the companion programs: they are 32-bit programs and the 32-bit road is not used here"
  exit 0
fi
tourexe="$build/win32/tools/suitetour/suitetour.exe"
if [ ! -f "$tourexe" ]; then
  echo "run-demo: $tourexe is missing: build first (cmake --build --preset native-debug)" >&2
  exit 1
fi
pictures="$WINE_STATE_DIR/tour"
sheet="$build/suite.png"
rm -rf "$pictures"
mkdir -p "$pictures"
# The typing window's picture opens the sheet.
if [ -f "$bmp" ]; then
  cp "$bmp" "$pictures/imedemo.bmp"
  echo "imedemo.bmp|$ime_name - typing and hanja conversion" >"$pictures/typing.txt"
fi
t0=$SECONDS
rc=0
wine_exec "$WINE_STATE_DIR/tour.log" "$(wine_budget 32 24)" "$WINE32" "$(wine_path "$tourexe")" \
  "$(wine_path "$pictures")" "$(wine_path "$build/win32/tests/wine")" || rc=$?
grep -a -E 'FAIL|passed, ' "$WINE_STATE_DIR/tour.log" | sed 's/^/run-demo: /' || true
echo "run-demo: the tour took $((SECONDS - t0)) s (exit $rc; log: $WINE_STATE_DIR/tour.log)"
if [ -f "$pictures/typing.txt" ] && [ -f "$pictures/tour.txt" ]; then
  cat "$pictures/typing.txt" "$pictures/tour.txt" >"$pictures/sheet.txt" && mv "$pictures/sheet.txt" "$pictures/tour.txt"
fi
if "$root/scripts/suite-sheet.sh" "$pictures" "$sheet"; then
  echo "run-demo: contact sheet: $sheet"
else
  echo "run-demo: no contact sheet was saved"
  exit 1
fi
