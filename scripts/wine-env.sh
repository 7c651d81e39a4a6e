# Sourced by the Wine scripts: the Wine programs, the environment of every
# Wine run, and helpers.  WINE_STATE_DIR names the folder that holds the
# prefix and the state of the running display and wineserver.
WINE64=/usr/lib/wine/wine64
WINE32=/usr/lib/wine/wine
WINESERVER=/usr/lib/wine/wineserver
WINE_SCRIPTS="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

# The Wine tests run in lanes, each a state folder WINE_LANES_DIR/lane<K>
# with its own prefix, display and wineserver.  Under CTest the lane is the
# one that CTest's resource allocation gave the test (resource "lane", see
# tests/wine/CMakeLists.txt); by hand it is lane 0 unless WINE_LANE says.
# wine_lane_of_group <group number>: the lane CTest gave that resource group.
wine_lane_of_group() {
  local spec var="CTEST_RESOURCE_GROUP_$1_LANE"
  spec="${!var:-}"
  spec="${spec#id:}"
  printf '%s' "${spec%%,*}"
}
if [ -z "${WINE_STATE_DIR:-}" ] && [ -n "${WINE_LANES_DIR:-}" ]; then
  WINE_LANE="${WINE_LANE:-$(wine_lane_of_group 0)}"
  WINE_LANE="${WINE_LANE:-0}"
  export WINE_LANE WINE_STATE_DIR="$WINE_LANES_DIR/lane$WINE_LANE"
fi
: "${WINE_STATE_DIR:?WINE_STATE_DIR (or WINE_LANES_DIR) must name the Wine state folder}"
export WINEPREFIX="${WINEPREFIX:-$WINE_STATE_DIR/prefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LC_ALL="${LC_ALL:-ja_JP.UTF-8}"
# No program run in a test prefix may end the session: the font setup holds
# its log-off back where this is set (and says so by its exit code).
export GEULMARU_NO_LOGOFF=1
# Where 32-bit Linux programs run through qemu-i386 (binfmt_misc, registered
# by setup.sh), the emulator gets a guest address space of 2 GB + 16 MB: room
# for a 32-bit program that is not large-address-aware and for Wine's own
# mappings.  Its default (the whole 4 GB) makes each 32-bit process start in
# about a minute, since Wine then searches the whole space for free room.
# It is set on every machine (the kernel's own loader ignores it), so that a
# registration made while a run goes on does not leave later processes with
# the emulator's slow default.
export QEMU_RESERVED_VA="${QEMU_RESERVED_VA:-0x81000000}"
if grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null; then
  WINE32_EMULATED=1
else
  WINE32_EMULATED=0
fi
# How long things may take: the start allowances of scripts/wine-timing.env,
# in force for this machine, and handed to the Windows test programs.
# shellcheck disable=SC1091
. "$WINE_SCRIPTS/wine-timing.env"
if [ "$WINE32_EMULATED" = 1 ]; then WINE_START_32=$WINE_START_32_EMULATED; else WINE_START_32=$WINE_START_32_NATIVE; fi
export WTEST_START_MS_32=$((WINE_START_32 * 1000)) WTEST_START_MS_64=$((WINE_START_64 * 1000))
# wine_allowance <32|64> <n>: seconds for n start allowances of that kind
# on this machine.
wine_allowance() {
  if [ "$1" = 32 ]; then echo $(($2 * WINE_START_32)); else echo $(($2 * WINE_START_64)); fi
}
# wine_budget <32|64> <n>: the whole run time of a test of n allowances, at
# the slowest machine's rate whatever this one is (the test's CTest timeout
# is this and 30 s more): a test's own work, not only its process starts,
# takes longer on a loaded machine, and a run stopped here still shows what
# the program printed.
wine_budget() {
  local per=$WINE_START_64
  if [ "$1" = 32 ]; then
    per=$WINE_START_32_EMULATED
    [ "$WINE_START_32_NATIVE" -gt "$per" ] && per=$WINE_START_32_NATIVE
  fi
  echo $(($2 * per))
}
WINE_STATE_FILE="$WINE_STATE_DIR/fixture.env"
WINE_LOG="$WINE_STATE_DIR/fixture.log"

# Whether 32-bit programs run here: the 32-bit loader is actually started.
# Sets WINE32_WHY to the reason when they do not.
wine_can_run_32() {
  local out
  if out=$(LC_ALL=C; "$WINE32" --version 2>&1); then
    return 0
  fi
  WINE32_WHY="$WINE32 --version failed: ${out:-no output}"
  return 1
}

# Exits when 32-bit programs cannot run here: 77 (skipped) on a machine where
# neither the kernel nor qemu-i386 runs them, 1 where the emulator is
# registered (a skip there would hide a broken set-up).
# wine_require_32 <who> <what needs them>
wine_require_32() {
  wine_can_run_32 && return 0
  if [ "$WINE32_EMULATED" = 1 ]; then
    echo "$1: qemu-i386 is registered but the 32-bit loader fails ($WINE32_WHY)"
    exit 1
  fi
  echo "SKIP: $2, and 32-bit Windows programs cannot run on this machine ($WINE32_WHY; scripts/setup.sh registers qemu-i386 where it can)"
  exit 77
}

# Windows path of a Unix path (drive Z: is the Unix root in a Wine prefix).
wine_path() {
  local p="$1"
  case "$p" in
    /*) p="Z:${p//\//\\}" ;;
  esac
  printf '%s' "$p"
}

# Runs one Wine program with its output in a file, so that the Wine service
# processes that it may start do not hold the caller's pipes open.
# wine_exec <log> <timeout seconds> <loader> <program> [args...]
wine_exec() {
  local log="$1" secs="$2"
  shift 2
  timeout -k 5 "$secs" "$@" >"$log" 2>&1 </dev/null
}

# Removes the suite's settings for the user of the prefix (HKCU
# "Software\VALDRIMO"), as a fresh installation has none: what an earlier
# program wrote there (a dictionary path to a file since removed, a window
# placement) would otherwise decide what the next one does.
wine_reset_user_settings() {
  wine_exec "$WINE_STATE_DIR/reset.log" "$(wine_budget 64 2)" "$WINE64" reg delete 'HKCU\Software\VALDRIMO' /f
  local rc=$?
  # 0: removed, 1: there was nothing to remove.
  [ "$rc" -le 1 ] || echo "wine-env: the reset of the user settings gave no answer (exit $rc): $(cat "$WINE_STATE_DIR/reset.log")"
  return 0
}

# Ends a process the fixture started, by its id, when it is still the
# program named (a reused id is left alone); waits up to 2 s for it to go.
# wine_stop_process <pid> <program name>
wine_stop_process() {
  local pid="$1" name="$2"
  [ -n "$pid" ] && grep -q "$name" "/proc/$pid/cmdline" 2>/dev/null || return 0
  kill "$pid" 2>/dev/null || true
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
}

# Stops what an earlier start left running: its wineserver (which ends the
# Wine processes of the prefix) and the Xvfb it started, by its process id.
wine_stop_fixture() {
  if [ -d "$WINEPREFIX" ]; then
    "$WINESERVER" -k >/dev/null 2>&1 || true
  fi
  if [ -f "$WINE_STATE_FILE" ]; then
    local XVFB_PID=""
    # shellcheck disable=SC1090
    . "$WINE_STATE_FILE"
    wine_stop_process "$XVFB_PID" Xvfb
    rm -f "$WINE_STATE_FILE"
  fi
}
