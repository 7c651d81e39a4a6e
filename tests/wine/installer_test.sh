#!/usr/bin/env bash
# The suite's setup program on a fresh Wine prefix of its own, on the display
# of the shared Wine fixture:
#
#   installer_test.sh <package folder> <folder of the 32-bit test programs> <state folder>
#
# 1. a new prefix (wineboot), 2. GeulmaruSetup.exe /quiet, and the check of
# what it left, 3. the same again: the check passes and nothing changed,
# 4. the 32-bit keyboard road types Korean through the installed input
# method, and every installed program a user (or the input method) starts
# shows its main window and closes again, 5. the installed setup program that the uninstall entry names, run
# with /uninstall /quiet, leaves nothing of the suite, 6. installed once more,
# GeulmaruSetup.exe /uninstall /quiet from the package leaves nothing either.
# The prefix is removed at the end. Exits 77 (skipped) where 32-bit programs
# cannot run at all.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
package="$1" programs="$2" state="$3"

# The shared fixture gives the display.
. "$root/scripts/wine-env.sh"
if [ ! -f "$WINE_STATE_FILE" ]; then
  echo "installer_test: the Wine environment is not started (run wine-fixture.sh start)"
  exit 1
fi
# shellcheck disable=SC1090
. "$WINE_STATE_FILE"
export DISPLAY
wine_require_32 installer_test "the setup program is a 32-bit Windows program"

# A prefix of our own, with its own wineserver.
export WINE_STATE_DIR="$state"
export WINEPREFIX="$state/prefix"
cleanup() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  rm -rf "$state"
}
trap cleanup EXIT
rm -rf "$state"
mkdir -p "$WINEPREFIX"
setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1

failures=0
# A step's run time: 5 allowances, or the step's own number in $allowances.
step() {
  local what="$1" t0=$SECONDS rc
  shift
  wine_exec "$state/step.log" "$(wine_budget 32 "${allowances:-5}")" "$@"
  rc=$?
  cat "$state/step.log"
  echo "installer_test: $what: exit $rc, $((SECONDS - t0)) s"
  [ "$rc" = 0 ] || failures=$((failures + 1))
  return $rc
}

setup="$(wine_path "$package/GeulmaruSetup.exe")"
check="$(wine_path "$programs/install_check.exe")"
pkg="$(wine_path "$package")"
installed='C:\Program Files (x86)\VALDRIMO'

step "fresh prefix" "$WINE64" wineboot -i || exit 1
step "install" "$WINE32" "$setup" /quiet
step "check after installing" "$WINE32" "$check" installed "$installed" "$pkg" "$(wine_path "$state/first.txt")"
step "install again" "$WINE32" "$setup" /quiet
step "check after installing again" "$WINE32" "$check" installed "$installed" "$pkg" "$(wine_path "$state/second.txt")"
if diff -u "$state/first.txt" "$state/second.txt"; then
  echo "installer_test: ok: the second run changed nothing of the installation"
else
  echo "installer_test: FAIL: the second run changed the installation (above)"
  failures=$((failures + 1))
fi
step "typing through the installed input method" "$WINE32" "$(wine_path "$programs/ime_keyboard_test.exe")"
# Seven programs, each with a start and an end.
allowances=14 step "every installed program starts and closes" "$WINE32" "$(wine_path "$programs/start_check.exe")"
# The command of the uninstall entry (its path is checked above).
step "uninstall by the installed entry" "$WINE32" "$installed\\GeulmaruV6\\GeulmaruSetup.exe" /uninstall /quiet
step "check after uninstalling" "$WINE32" "$check" removed "$installed" "$pkg"
step "install once more" "$WINE32" "$setup" /quiet
step "check after installing once more" "$WINE32" "$check" installed "$installed" "$pkg" "$(wine_path "$state/third.txt")"
step "uninstall from the package" "$WINE32" "$setup" /uninstall /quiet
step "check after uninstalling from the package" "$WINE32" "$check" removed "$installed" "$pkg"
echo "installer_test: $failures failed steps"
[ "$failures" = 0 ]
