#!/usr/bin/env bash
# Runs one Windows program under the Wine environment started by
# wine-fixture.sh:  wine-run.sh <32|64> <program.exe> [args...]
# Arguments that are absolute Unix paths are given to the program as Windows
# paths.  The program may run for WINE_RUN_ALLOWANCES (default 3) start
# allowances of its kind (scripts/wine-timing.env); a run that exits 0
# without the program's totals ("[...] N passed, 0 failed") fails.  Exits 77 (skipped) when a 32-bit program cannot run here, neither
# natively nor through qemu-i386.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/wine-env.sh"

bits="$1" program="$2"
shift 2
if [ ! -f "$WINE_STATE_FILE" ]; then
  echo "wine-run: the Wine environment is not started (run wine-fixture.sh start)"
  exit 1
fi
# shellcheck disable=SC1090
. "$WINE_STATE_FILE"
export DISPLAY
# The fixture's printer server, for Wine's CUPS client.
if [ -n "${CUPS_SERVER:-}" ]; then export CUPS_SERVER PRINT_PDF_DIR; fi

case "$bits" in
  32)
    wine_require_32 wine-run "$(basename "$program") is a 32-bit program"
    loader="$WINE32" ;;
  64) loader="$WINE64" ;;
  *) echo "wine-run: bits must be 32 or 64"; exit 2 ;;
esac
if [ ! -f "$program" ]; then
  echo "wine-run: $program has not been built"
  exit 1
fi

args=()
for a in "$@"; do
  case "$a" in
    /*) args+=("$(wine_path "$a")") ;;
    *) args+=("$a") ;;
  esac
done
log="$(mktemp "$WINE_STATE_DIR/run.XXXXXX")"
# The program may run for WINE_RUN_ALLOWANCES start allowances of its kind
# at the slowest machine's rate (scripts/wine-timing.env); the test's CTest
# timeout leaves 30 s more, so that what it printed is shown.
secs=$(wine_budget "$bits" "${WINE_RUN_ALLOWANCES:-3}")
wine_exec "$log" "$secs" "$loader" "$(wine_path "$program")" "${args[@]}"
rc=$?
cat "$log"
# A test program ends by printing its totals; one that exits 0 without them
# ended some other way (a stack overflow under Wine can give 0) before its
# remaining checks ran.
if [ "$rc" = 0 ] && ! grep -Eq '\] [0-9]+ passed, 0 failed' "$log"; then
  echo "wine-run: $(basename "$program") exited 0 without its totals: it ended before all its checks ran"
  rc=1
fi
rm -f "$log"
[ "$rc" = 124 ] && echo "wine-run: timed out after $secs s ($(basename "$program"), ${WINE_RUN_ALLOWANCES:-3} start allowances of a ${bits}-bit process)"
exit "$rc"
