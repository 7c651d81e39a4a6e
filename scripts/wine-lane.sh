#!/usr/bin/env bash
# The lanes of the Wine tests: each lane is a state folder
# WINE_LANES_DIR/lane<K> with its own prefix (made once, then kept), its own
# Xvfb display, wineserver and printer daemon, and the suite installed into
# its prefix by the setup program.  CTest runs one Wine test per lane at a
# time (resource "lane" of the build's resource file), so tests in different
# lanes run side by side without sharing anything.
#
#   wine-lane.sh setup <K> <package folder> [warm-up program]
#                        starts lane K and installs the suite into it
#   wine-lane.sh stop <K>
#                        stops lane K's wineserver, display and printer
#   wine-lane.sh run <command> [args...]
#                        runs the command in the lane CTest gave the test
#                        (WINE_LANE, else lane 0 by hand), holding the lane
#                        so that nothing else runs in it meanwhile, after
#                        removing the suite's settings for the user
set -u
here="$(cd "$(dirname "$0")" && pwd)"
: "${WINE_LANES_DIR:?WINE_LANES_DIR must name the folder of the lanes}"

verb="${1:-}"
shift || true
case "$verb" in
  setup|stop)
    lane="${1:?lane number}"
    shift
    export WINE_LANE="$lane" WINE_STATE_DIR="$WINE_LANES_DIR/lane$lane"
    unset WINEPREFIX
    mkdir -p "$WINE_STATE_DIR"
    if [ "$verb" = stop ]; then
      exec "$here/wine-fixture.sh" stop
    fi
    package="${1:?package folder}"
    warm="${2:-}"
    t0=$SECONDS
    exec 9>"$WINE_STATE_DIR/lane.lock"
    flock 9
    # The daemons that the start leaves running must not inherit the lock.
    "$here/wine-fixture.sh" start $warm 9>&- || exit 1
    "$here/wine-install-suite.sh" "$package" 9>&-
    rc=$?
    echo "wine-lane: lane $lane ready in $((SECONDS - t0)) s (exit $rc)"
    exit $rc ;;
  run)
    unset WINE_STATE_DIR WINEPREFIX
    . "$here/wine-env.sh"
    mkdir -p "$WINE_STATE_DIR"
    exec 9>"$WINE_STATE_DIR/lane.lock"
    if ! flock -n 9; then
      # CTest gave this lane to this test alone: whatever holds it is left
      # over from an earlier test, and is named (looked for with the lock
      # file closed here, so that only the others show).
      exec 9>&-
      holders=$(for f in /proc/[0-9]*/fd/*; do
          [ "$(readlink "$f" 2>/dev/null)" = "$WINE_STATE_DIR/lane.lock" ] && echo "${f#/proc/}"
        done | cut -d/ -f1 | sort -u | while read -r p; do
          printf '%s(%s) ' "$p" "$(2>/dev/null tr '\0' ' ' <"/proc/$p/cmdline" | cut -c1-60)"
        done)
      echo "wine-lane: lane $WINE_LANE is held by: ${holders:-?}; waiting for it"
      exec 9>"$WINE_STATE_DIR/lane.lock"
      flock 9
    fi
    echo "wine-lane: lane $WINE_LANE ($WINE_STATE_DIR)"
    # Every test starts from the user settings of a fresh installation.
    [ -d "$WINEPREFIX" ] && wine_reset_user_settings 9>&-
    "$@" 9>&-
    exit $? ;;
  *)
    echo "usage: $0 setup <K> <package> [warm-up] | stop <K> | run <command...>" >&2
    exit 2 ;;
esac
