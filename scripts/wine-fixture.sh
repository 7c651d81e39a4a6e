#!/usr/bin/env bash
# Start and stop of the shared Wine environment of the Wine tests and the demo.
#
#   wine-fixture.sh start [warm-up program]   one Xvfb display, the prefix
#                                             (created once, then reused), one
#                                             persistent wineserver and a
#                                             warm-up run
#   wine-fixture.sh stop                      stops the wineserver and Xvfb
#
# WINE_STATE_DIR names the state folder (the prefix is WINE_STATE_DIR/prefix);
# the display of the running Xvfb is kept in WINE_STATE_DIR/fixture.env for
# wine-run.sh. A private CUPS daemon with a PDF printer runs beside them
# (cups-fixture.sh).
set -u
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/wine-env.sh"
. "$here/cups-fixture.sh"

start() {
  local warm="${1:-}"
  mkdir -p "$WINE_STATE_DIR"
  cups_fixture_stop
  wine_stop_fixture
  : >"$WINE_LOG"

  # One display for every run; Xvfb picks a free display number.
  local fdfile="$WINE_STATE_DIR/display.tmp"
  rm -f "$fdfile"
  setsid Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$fdfile" </dev/null >>"$WINE_LOG" 2>&1 &
  local xpid=$!
  local display=""
  for _ in $(seq 1 100); do
    display=$(tr -d '\n' <"$fdfile" 2>/dev/null)
    [ -n "$display" ] && break
    kill -0 "$xpid" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$fdfile"
  if [ -z "$display" ]; then
    echo "wine-fixture: Xvfb did not start (log: $WINE_LOG)"
    cat "$WINE_LOG"
    return 1
  fi
  export DISPLAY=":$display"
  local can32=0
  if wine_can_run_32; then can32=1; else echo "wine-fixture: no 32-bit programs here ($WINE32_WHY)"; fi
  printf 'XVFB_PID=%s\nDISPLAY=%s\nWINE_CAN32=%s\n' "$xpid" "$DISPLAY" "$can32" >"$WINE_STATE_FILE"
  echo "wine-fixture: Xvfb pid $xpid on $DISPLAY"
  cups_fixture_start || return 1

  # The prefix: created once; a prefix whose creation did not finish is made again.
  local marker="$WINE_STATE_DIR/prefix.ready"
  if [ ! -f "$marker" ]; then
    rm -rf "$WINEPREFIX"
  fi
  mkdir -p "$WINEPREFIX"

  # One persistent wineserver for all runs (it detaches itself).
  setsid "$WINESERVER" -p </dev/null >>"$WINE_LOG" 2>&1
  if [ ! -f "$marker" ]; then
    echo "wine-fixture: creating the prefix $WINEPREFIX"
    local t0=$SECONDS
    if ! wine_exec "$WINE_STATE_DIR/wineboot.log" "$(wine_budget 64 16)" "$WINE64" wineboot -i; then
      echo "wine-fixture: wineboot failed"
      cat "$WINE_STATE_DIR/wineboot.log"
      return 1
    fi
    touch "$marker"
    echo "wine-fixture: prefix ready in $((SECONDS - t0)) s"
  fi

  # Warm-up: the first program after start-up may fail to create a window.
  local ok=0
  for attempt in 1 2 3; do
    if [ -n "$warm" ] && [ -f "$warm" ]; then
      wine_exec "$WINE_STATE_DIR/warmup.log" "$(wine_budget 64 4)" "$WINE64" "$(wine_path "$warm")" warmup && ok=1
    else
      wine_exec "$WINE_STATE_DIR/warmup.log" "$(wine_budget 64 4)" "$WINE64" cmd /c exit 0 && ok=1
    fi
    cat "$WINE_STATE_DIR/warmup.log"
    [ "$ok" = 1 ] && break
    echo "wine-fixture: warm-up run $attempt failed, trying again"
  done
  if [ "$can32" = 1 ]; then
    wine_exec "$WINE_STATE_DIR/warmup32.log" "$(wine_budget 32 2)" "$WINE32" cmd /c exit 0 || echo "wine-fixture: 32-bit warm-up failed"
  fi
  [ "$ok" = 1 ] || { echo "wine-fixture: warm-up failed"; return 1; }
  echo "wine-fixture: ready"
}

case "${1:-}" in
  start) shift; start "$@" ;;
  stop) cups_fixture_stop; wine_stop_fixture; echo "wine-fixture: stopped" ;;
  *) echo "usage: $0 start [warm-up program] | stop" >&2; exit 2 ;;
esac
