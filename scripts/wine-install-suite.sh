#!/usr/bin/env bash
# Installs the suite into the Wine prefix of WINE_STATE_DIR with its setup
# program, the way a user installs it on Windows:
#
#   wine-install-suite.sh [--keep] <package folder>
#
# The package folder is the one the build lays out (build/<preset>/package:
# GeulmaruSetup.exe beside its payload). By default this is a reinstall: the
# setup program first removes an earlier installation, so that the layouts
# that Wine's ImmInstallIME adds on every registration do not pile up in a
# prefix that is kept from run to run; --keep installs over what is there.
# Exits 77 (skipped) where 32-bit programs cannot run at all.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/wine-env.sh"

reinstall=1
if [ "${1:-}" = --keep ]; then reinstall=0; shift; fi
package="${1:?usage: wine-install-suite.sh [--keep] <package folder>}"
setup="$package/GeulmaruSetup.exe"
if [ ! -f "$setup" ]; then
  echo "wine-install-suite: $setup is missing: build first (cmake --build --preset native-debug)"
  exit 1
fi
wine_require_32 wine-install-suite "the setup program is a 32-bit Windows program"
if [ -f "$WINE_STATE_FILE" ]; then
  # shellcheck disable=SC1090
  . "$WINE_STATE_FILE"
  export DISPLAY
fi

log="$WINE_STATE_DIR/setup.log"
run_setup() {
  local t0=$SECONDS rc
  wine_exec "$log" "$(wine_budget 32 4)" "$WINE32" "$(wine_path "$setup")" "$@" /quiet
  rc=$?
  cat "$log"
  echo "wine-install-suite: GeulmaruSetup.exe ${*:+$* }/quiet took $((SECONDS - t0)) s (exit $rc)"
  return $rc
}
if [ "$reinstall" = 1 ]; then
  run_setup /uninstall || exit $?
fi
run_setup
