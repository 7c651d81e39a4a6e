#!/usr/bin/env bash
# Two lanes at once (a test with two lane resources): in each lane the
# 32-bit keyboard test types through the suite installed there while a probe
# shows a window and leaves a marker file; each lane's display shows only its
# own probe, each prefix holds only its own marker, and both keyboard tests
# pass although they run side by side.
#
#   lanes_test.sh <folder of the 32-bit test programs>
set -u
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
programs="$1"
. "$root/scripts/wine-env.sh"

lane_a="$(wine_lane_of_group 0)" lane_b="$(wine_lane_of_group 1)"
fail=0
bad() { echo "FAIL: $*"; fail=1; }
ok() { echo "ok: $*"; }
if [ -z "$lane_a" ] || [ -z "$lane_b" ]; then
  echo "FAIL: CTest gave this test no two lanes (CTEST_RESOURCE_GROUP_0_LANE='${CTEST_RESOURCE_GROUP_0_LANE:-}', CTEST_RESOURCE_GROUP_1_LANE='${CTEST_RESOURCE_GROUP_1_LANE:-}'): run it through the test preset"
  exit 1
fi
[ "$lane_a" != "$lane_b" ] && ok "two lanes: $lane_a and $lane_b" || bad "both groups got lane $lane_a"
# wine-lane.sh holds the first lane; this test holds the second as well.
exec 8>"$WINE_LANES_DIR/lane$lane_b/lane.lock"
flock 8

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
stop="$work/stop"
declare -A display prefix pids
for lane in "$lane_a" "$lane_b"; do
  dir="$WINE_LANES_DIR/lane$lane"
  DISPLAY=""
  # shellcheck disable=SC1091
  . "$dir/fixture.env"
  display[$lane]="$DISPLAY"
  prefix[$lane]="$dir/prefix"
  # The programs must not inherit the second lane's lock: a Wine process
  # that outlives the test would hold the lane from the next test.
  (
    export WINE_STATE_DIR="$dir" WINEPREFIX="$dir/prefix"
    "$root/scripts/wine-run.sh" 32 "$programs/lane_probe.exe" "$lane" "$stop" >"$work/probe$lane.log" 2>&1 &
    "$root/scripts/wine-run.sh" 32 "$programs/ime_keyboard_test.exe" >"$work/keyboard$lane.log" 2>&1 &
    wait
  ) 8>&- &
  pids[$lane]=$!
done
[ "${display[$lane_a]}" != "${display[$lane_b]}" ] && ok "displays ${display[$lane_a]} and ${display[$lane_b]}" ||
  bad "one display for both lanes: ${display[$lane_a]}"
[ "${prefix[$lane_a]}" != "${prefix[$lane_b]}" ] && ok "prefixes apart" || bad "one prefix for both lanes"

# Both probes up at once: each lane's display shows its own window only,
# each prefix holds its own marker only.
shown() { xwininfo -display "$1" -root -tree 2>/dev/null | grep -c "\"lane-probe $2\""; }
deadline=$((SECONDS + $(wine_allowance 32 2)))
until [ "$(shown "${display[$lane_a]}" "$lane_a")" -gt 0 ] && [ "$(shown "${display[$lane_b]}" "$lane_b")" -gt 0 ] &&
      [ -f "${prefix[$lane_a]}/drive_c/lane-probe-$lane_a.txt" ] && [ -f "${prefix[$lane_b]}/drive_c/lane-probe-$lane_b.txt" ]; do
  [ $SECONDS -lt $deadline ] || break
  sleep 0.5
done
for lane in "$lane_a" "$lane_b"; do
  other="$lane_b"; [ "$lane" = "$lane_b" ] && other="$lane_a"
  [ "$(shown "${display[$lane]}" "$lane")" -gt 0 ] && ok "lane $lane's display shows its probe" ||
    bad "lane $lane's display ${display[$lane]} does not show \"lane-probe $lane\""
  [ "$(shown "${display[$lane]}" "$other")" = 0 ] && ok "lane $lane's display does not show lane $other's probe" ||
    bad "lane $lane's display shows lane $other's probe"
  [ -f "${prefix[$lane]}/drive_c/lane-probe-$lane.txt" ] && ok "lane $lane's prefix holds its marker" ||
    bad "lane $lane's prefix has no marker of its probe"
  [ ! -f "${prefix[$lane]}/drive_c/lane-probe-$other.txt" ] && ok "lane $lane's prefix holds no marker of lane $other" ||
    bad "lane $lane's prefix holds lane $other's marker"
done
touch "$stop"
for lane in "$lane_a" "$lane_b"; do
  wait "${pids[$lane]}"
  for what in probe keyboard; do
    sed "s/^/[lane $lane] /" "$work/$what$lane.log"
    grep -q ' 0 failed' "$work/$what$lane.log" && ok "lane $lane: $what passed" || bad "lane $lane: $what failed"
  done
done
exit $fail
