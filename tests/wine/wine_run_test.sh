#!/usr/bin/env bash
# wine-run.sh takes a program's exit code 0 as a pass only with the totals a
# test program prints at its end: a program that ends some other way before
# all its checks ran (as a test that overflowed its stack under Wine did,
# exiting 0) fails.  Wine's own hostname.exe exits 0 and prints no totals.
#
#   wine_run_test.sh      (run through wine-lane.sh run)
set -u
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
program=$(ls /usr/lib/x86_64-linux-gnu/wine/x86_64-windows/hostname.exe /usr/lib/wine/x86_64-windows/hostname.exe 2>/dev/null | head -1)
[ -n "$program" ] || { echo "FAIL: Wine's hostname.exe is not installed"; exit 1; }
out=$(WINE_RUN_ALLOWANCES=1 "$root/scripts/wine-run.sh" 64 "$program" 2>&1)
rc=$?
echo "$out"
if [ "$rc" != 0 ] && grep -q "exited 0 without its totals" <<<"$out"; then
  echo "ok: a program that exits 0 without its totals fails (exit $rc)"
else
  echo "FAIL: wine-run.sh gave $rc for a program without totals"
  exit 1
fi
