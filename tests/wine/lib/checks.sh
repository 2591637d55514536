# shellcheck shell=bash
# Running T7105Cfg.exe in the prefix and checking what a user, the registry
# and the camera saw. Every check prints what it expected and what it got; a
# scenario fails at its end if any check failed.
#
# Needs lib/wine.sh and lib/fixtures.sh, T7105_WINE_ROOT and T7105_TEST_BIN.

CHECKS_FAILED=0
POWER_LINE_SET='{4B1E93D2-6C07-4F5A-9E21-7D38A0C4B615}'

check() {
  local what=$1 expected=$2 actual=$3
  if [[ $expected == "$actual" ]]; then
    printf 'ok    %s: %s\n' "$what" "${actual:-(none)}"
  else
    printf 'FAIL  %s\n      expected: %s\n      got:      %s\n' "$what" "${expected:-(none)}" \
      "${actual:-(none)}"
    CHECKS_FAILED=1
  fi
}

check_true() {
  local what=$1 detail=$2
  shift 2
  if "$@"; then
    printf 'ok    %s: %s\n' "$what" "$detail"
  else
    printf 'FAIL  %s: %s\n' "$what" "$detail"
    CHECKS_FAILED=1
  fi
}

checks_result() {
  [[ $CHECKS_FAILED == 0 ]] && echo "PASSED" || echo "FAILED"
  return $CHECKS_FAILED
}

# The folder of one scenario's files (camera log, outputs, state file).
scenario_folder() {
  SCENARIO_DIR=$T7105_WINE_ROOT/scenarios/$1
  rm -rf "$SCENARIO_DIR"
  mkdir -p "$SCENARIO_DIR"
  CAMERA_LOG=$SCENARIO_DIR/camera.log
  export T7105_CAMERA_LOG
  T7105_CAMERA_LOG=$(windows_path "$CAMERA_LOG")
}

# Runs the program under test with the given switches, a fresh camera log and
# the time zone in TZ (UTC when unset). Sets RUN_EXIT, RUN_MS, RUN_OUT and
# RUN_ERR (files holding what it printed).
run_program() {
  rm -f "$CAMERA_LOG"
  RUN_OUT=$SCENARIO_DIR/stdout.txt
  RUN_ERR=$SCENARIO_DIR/stderr.txt
  local start
  start=$(now_ms)
  RUN_EXIT=0
  TZ=${TZ:-UTC} wine_program "$T7105_WINE_ROOT/bin/T7105Cfg.exe" "$@" \
    >"$RUN_OUT" 2>"$RUN_ERR" || RUN_EXIT=$?
  RUN_MS=$(($(now_ms) - start))
  touch "$CAMERA_LOG"
  printf '      ran   T7105Cfg.exe %s: exit %d in %d ms\n' "$*" "$RUN_EXIT" "$RUN_MS"
}

expect_exit() { check "exit code" "$1" "$RUN_EXIT"; }

# The program shows and prints nothing, on any path.
expect_silent() {
  check "stdout" "" "$(cat "$RUN_OUT")"
  check "stderr" "" "$(cat "$RUN_ERR")"
}

# The logon entry after the run: its exact text (REG_SZ, with its NUL), or
# "absent".
run_value_line() {
  wine_program "$T7105_TEST_BIN/reg_value.exe" HKLM "$RUN_KEY" "$RUN_VALUE_NAME" | tr -d '\r' || true
}

expect_run_value() {
  local expected=missing
  [[ $1 != absent ]] && expected=$(reg_sz_line "$1")
  check "${2:-Run value}" "$expected" "$(run_value_line)"
}

# Lines of the camera log of one event: bind, refuse, set, release.
camera_events() { grep "^$1 " "$CAMERA_LOG" || true; }

camera_field() { sed -n "s/.* $1=\\([^ ]*\\).*/\\1/p" <<<"$2"; }

# The 72-byte power-line block for a frequency class, as hex.
power_line_block() {
  printf '%048d%02X000000%088d' 0 "$1" 0
}

# Exactly one property write reached the camera with the given CameraId:
# the vendor set, property 15, and the same 72-byte block as instance and
# property data, holding the class at byte 24. A write needs a bound filter,
# so every filter must have been let go by the end of the run too.
expect_property_written() {
  local camera_id=$1 class=$2 writes
  writes=$(camera_events set)
  check "property writes" 1 "$(grep -c . <<<"$writes")"
  check "written to camera" "$camera_id" "$(camera_field camera "$writes")"
  check "property set" "$POWER_LINE_SET" "$(camera_field set "$writes")"
  check "property id" 15 "$(camera_field id "$writes")"
  check "instance length" 72 "$(camera_field instance_length "$writes")"
  check "data length" 72 "$(camera_field data_length "$writes")"
  check "instance data" "$(power_line_block "$class")" "$(camera_field instance "$writes")"
  check "property data" "$(power_line_block "$class")" "$(camera_field data "$writes")"
  check "reads and support queries" "" "$(camera_events get; camera_events query-supported)"
  expect_released
}

expect_nothing_written() {
  check "property writes" "" "$(camera_events set)"
}

# Which cameras the program bound, in order (their CameraIds, blank between).
expect_bound() {
  check "bound cameras" "$1" "$(camera_events bind | sed 's/.*camera=\([^ ]*\).*/\1/' | paste -sd' ')"
}

# Every filter that was created was let go by the end of the run.
expect_released() {
  local created released
  created=$(($(camera_events bind | grep -c .) + $(camera_events refuse | grep -c .)))
  released=$(camera_events release | grep -c .)
  check "filters released" "$created" "$released"
}
