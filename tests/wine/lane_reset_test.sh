#!/usr/bin/env bash
# A lane's tests do not inherit the user settings of the test before them:
# a dictionary path left behind by a test whose temporary dictionary is gone
# made every later program of the lane that loads the input method stop on
# the box of a missing dictionary.  The lane's start of a test removes the
# suite's user settings; the installation's own (HKLM) stay.
#
#   lane_reset_test.sh      (run through wine-lane.sh run)
set -u
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
. "$root/scripts/wine-env.sh"

fail=0
bad() { echo "FAIL: $*"; fail=1; }
ok() { echo "ok: $*"; }
key='HKCU\Software\VALDRIMO\GeulmaruV6\ZO\DicEnv'
# reg.exe answers 0 (found) or 1 (not found); anything else (124: its time
# ran out on a loaded machine) is no answer at all.
query() {
  wine_exec "$WINE_STATE_DIR/reset-test.log" "$(wine_budget 64 2)" "$WINE64" reg query "$@"
  local rc=$?
  [ "$rc" -le 1 ] || { echo "FAIL: reg query $* gave no answer (exit $rc): $(cat "$WINE_STATE_DIR/reset-test.log")"; exit 1; }
  return $rc
}

wine_exec "$WINE_STATE_DIR/reset-test.log" "$(wine_budget 64 2)" "$WINE64" reg add "$key" /v DicPathName /d 'C:\gone\user.dic' /f
query "$key" /v DicPathName && ok "a dictionary path is written as a test would leave it" ||
  bad "the dictionary path could not be written: $(cat "$WINE_STATE_DIR/reset-test.log")"
wine_reset_user_settings
if query 'HKCU\Software\VALDRIMO'; then
  bad "the suite's user settings are still there after the reset: $(cat "$WINE_STATE_DIR/reset-test.log")"
else
  ok "the reset removes the suite's user settings"
fi
query 'HKLM\Software\VALDRIMO\GeulmaruV6' /v 'Install Directory' /reg:32 && ok "the installation's Install Directory stays" ||
  bad "the installation's Install Directory is not there after the reset: $(cat "$WINE_STATE_DIR/reset-test.log")"
exit $fail
