#!/usr/bin/env bash
# Installs the built input method into a Wine prefix and starts imedemo, a
# window in which one can type Korean with it.  Builds nothing: run
# `cmake --build --preset native-debug` first.
#
#   scripts/run-demo.sh [--gm] [--auto] [--exports] [--build-dir DIR]
#
#   --gm        the GM-code edition (WARBENV6.IME) instead of ZORBENV6.IME
#   --auto      type a fixed sentence, save a picture of the screen (the demo
#               window and the input method's windows) and exit, even when a
#               display is available (without $DISPLAY this is the default:
#               the demo then runs on its own Xvfb)
#   --exports   drive the input method through its exports even where the
#               32-bit keyboard road would work
#
# The 32-bit keyboard road (the input method installed as a keyboard layout)
# is used when 32-bit Windows programs run here; otherwise the 64-bit build
# is driven through its exports, which works with Wine 8 everywhere.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/debug"
ime_name=ZORBENV6.IME
auto=0
force_exports=0
while [ $# -gt 0 ]; do
  case "$1" in
    --gm) ime_name=WARBENV6.IME ;;
    --auto) auto=1 ;;
    --exports) force_exports=1 ;;
    --build-dir) build="$(cd "$2" && pwd)"; shift ;;
    -h|--help) sed -n '2,18p' "$0"; exit 0 ;;
    *) echo "run-demo: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done
[ -z "${DISPLAY:-}" ] && auto=1

export WINE_STATE_DIR="$build/demo-wine"
. "$root/scripts/wine-env.sh"
mkdir -p "$WINE_STATE_DIR"

# The road and the build that serves it.
bits=64
road=(--ime)
note=()
if [ "$force_exports" = 0 ] && wine_can_run_32 && [ -f "$build/win32/tools/imedemo/imedemo.exe" ]; then
  bits=32
elif [ "$force_exports" = 0 ]; then
  why="${WINE32_WHY:-32-bit build missing}"
  echo "run-demo: $why; using the 64-bit build through its exports"
  note=(--title-note "(64-bit exports: 32-bit programs cannot run here)")
fi
demo="$build/win$bits/tools/imedemo/imedemo.exe"
ime="$build/win$bits/ime/win/$ime_name"
for f in "$demo" "$ime"; do
  if [ ! -f "$f" ]; then
    echo "run-demo: $f is missing: build first (cmake --build --preset native-debug)" >&2
    exit 1
  fi
done
if [ "$bits" = 32 ]; then loader="$WINE32"; sysdir=syswow64; road=(--keyboard --ime); else loader="$WINE64"; sysdir=system32; fi

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

# Install: the input method into the prefix's system folder (where the input
# method manager looks for it), the demo beside it.
target="$WINEPREFIX/drive_c/windows/$sysdir"
mkdir -p "$target"
cp -f "$ime" "$target/$ime_name"
cp -f "$demo" "$target/imedemo.exe"
# The hanja dictionaries under the program folder ("Install Directory" plus
# GeulmaruV6), for 32-bit and 64-bit readers of the registry.
sysdic="$WINEPREFIX/drive_c/Program Files/VALDRIMO/GeulmaruV6/SYSDIC"
mkdir -p "$sysdic"
for f in GmV6KS.dic GmV6.dic libhangul-hanja-COPYING.txt; do
  if [ ! -f "$build/data/SYSDIC/$f" ]; then
    echo "run-demo: $build/data/SYSDIC/$f is missing: build first (cmake --build --preset native-debug)" >&2
    exit 1
  fi
  cp -f "$build/data/SYSDIC/$f" "$sysdic/$f"
done
for view in 32 64; do
  wine_exec "$WINE_STATE_DIR/reg.log" 60 "$WINE64" reg add 'HKLM\Software\VALDRIMO\GeulmaruV6' \
    /v 'Install Directory' /t REG_SZ /d 'C:\Program Files\VALDRIMO' /f /reg:$view || {
    echo "run-demo: registry setting failed:"; cat "$WINE_STATE_DIR/reg.log"; exit 1; }
done
echo "run-demo: hanja dictionaries installed in $sysdic"
win_ime="C:\\windows\\$sysdir\\$ime_name"
win_demo="C:\\windows\\$sysdir\\imedemo.exe"
echo "run-demo: $ime_name (win$bits) installed in $target"

if [ "$auto" = 0 ]; then
  echo "run-demo: starting imedemo on $DISPLAY; close its window to end"
  exec "$loader" "$win_demo" "${road[@]}" "$win_ime" "${note[@]}"
fi

bmp="$WINE_STATE_DIR/imedemo.bmp"
png="$build/imedemo.png"
out="$WINE_STATE_DIR/imedemo.txt"
rm -f "$bmp" "$out"
wine_exec "$WINE_STATE_DIR/imedemo.log" 90 "$loader" "$win_demo" "${road[@]}" "$win_ime" "${note[@]}" --auto \
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
