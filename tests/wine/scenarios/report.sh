# shellcheck shell=bash
# T7105Report.exe against the simulated camera: one table of machines, each
# with what its report must state, read back from its JSON (which must
# parse), and its exit code; the plain report must end with the same last
# line. A report changes nothing: the Run value stays as it was and the
# camera receives no property write. The program is in the System folder of
# a copy of the prefix, where the logon entry's bare name resolves.

# Runs the report, plain and as JSON, with the switches given after the
# machine is set up, and checks it changed nothing and that its two forms
# agree. REPORT_JSON is the JSON's file, REPORT_EXIT its exit code.
report_run() {
  local before
  before=$(run_value_line)
  rm -f "$CAMERA_LOG"
  REPORT_JSON=$SCENARIO_DIR/report.json
  REPORT_EXIT=0
  TZ=${TZ:-UTC} wine_program "$T7105_WINE_ROOT/bin/T7105Report.exe" /json "$@" \
    >"$REPORT_JSON" 2>"$SCENARIO_DIR/report.err" || REPORT_EXIT=$?
  TZ=${TZ:-UTC} wine_program "$T7105_WINE_ROOT/bin/T7105Report.exe" "$@" \
    >"$SCENARIO_DIR/report.txt" 2>>"$SCENARIO_DIR/report.err"
  touch "$CAMERA_LOG"
  check "Run value unchanged" "$before" "$(run_value_line)"
  check "property writes" 0 "$(camera_events set | grep -c .)"
  check "stderr" "" "$(cat "$SCENARIO_DIR/report.err")"
  check "plain last line" \
    "T7105Cfg.exe: $(/usr/bin/python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["result"])' \
      "$REPORT_JSON" 2>&1)" \
    "$(tail -n 1 "$SCENARIO_DIR/report.txt" | tr -d '\r')"
}

REPORT_FACTS_READER=$(dirname "${BASH_SOURCE[0]}")/../lib/json_facts.py

report_facts() {
  /usr/bin/python3 "$REPORT_FACTS_READER" "$REPORT_JSON" "$@"
}

# The exit code, then facts as PATH=JSON-VALUE.
expect_report() {
  local code=$1 fact
  shift
  check "report exit code" "$code" "$REPORT_EXIT"
  for fact in "$@"; do
    check "report ${fact%%=*}" "$fact" "$(report_facts "${fact%%=*}")"
  done
}

REPORT_CAMERA='"USB\\VID_5E3A&PID_2171\\6&2C4A1F0E&0&3"'

# The camera found and bound, reported from the logon entry; its driver
# answers no get. Small enough for an Intune remediation's output.
report_bound() {
  machine_begin
  typical_machine
  fixture_run_value 'T7105Cfg.exe /d:2'
  machine_ready
  report_run
  expect_report 0 'program.path="C:\\windows\\system32\\T7105Cfg.exe"' \
    'program.version="'"$T7105_VERSION_FILE"'"' 'program.entry="T7105Cfg.exe /d:2"' \
    'program.entryType=1' 'program.startupMachine="no switch"' \
    'program.switches="/d:2"' 'program.from="the logon entry, run at the next logon"' \
    'camera.found=true' 'camera.nodes.0.id='"$REPORT_CAMERA" 'camera.nodes.0.class="Image"' \
    'camera.taken='"$REPORT_CAMERA" 'camera.why="first with its driver loaded"' \
    'sources.sources.1.name="TX7105 USB Camera #2"' 'sources.match=2' \
    'sources.bind="0x00000000"' 'sources.propertySet=true' 'sources.supported="0x80004001"' \
    'sources.held=null' 'region.class=1' \
    'result="would write class 1 (50 Hz) to \"TX7105 USB Camera #2\""'
  check_true "JSON under 2048 bytes" "$(stat -c %s "$REPORT_JSON") bytes" \
    test "$(stat -c %s "$REPORT_JSON")" -lt 2048
}

# No camera and no entry: a bare run, which finds no node.
report_no_camera() {
  machine_begin
  scanner_device
  machine_ready
  report_run
  expect_report 1 'program.entry=null' 'program.from="no logon entry"' 'camera.found=false' \
    'camera.nodes=[]' 'camera.taken=null' 'sources.match=null'
}

# The entry of another program under the program's name: reported as it
# is, not parsed, and a bare run reported.
report_entry_not_the_program() {
  machine_begin
  typical_machine
  fixture_run_value 'C:\Tools\other.exe /d:2'
  machine_ready
  report_run
  expect_report 0 'program.entry="C:\\Tools\\other.exe /d:2"' 'program.switches=""' \
    'program.from="the logon entry does not start T7105Cfg.exe"' 'sources.match=1'
}

# A camera with a microphone: the parent taken, the camera's function read.
report_composite() {
  local parent='USB\VID_5E3A&PID_2171\6&2C4A1F0E&0&3'
  machine_begin
  fixture_device id="$parent" class=usb driver=0103 \
    hwids='USB\VID_5E3A&PID_2171&REV_0100|USB\VID_5E3A&PID_2171' \
    compat='USB\DevClass_EF|USB\COMPOSITE' desc='USB Composite Device'
  fixture_device id='USB\VID_5E3A&PID_2171&MI_00\7&1D2E3F4&0&0000' class=camera driver=0101 \
    hwids='USB\VID_5E3A&PID_2171&MI_00' parent="$parent" desc="$CAMERA_DESC"
  camera_sources
  machine_ready
  report_run /d:2
  expect_report 0 'program.from="the command line given"' 'camera.nodes.0.pass=2' \
    'camera.taken='"$REPORT_CAMERA" 'camera.composite=true' \
    'camera.functions.0.id="USB\\VID_5E3A&PID_2171&MI_00\\7&1D2E3F4&0&0000"' \
    'camera.read="USB\\VID_5E3A&PID_2171&MI_00\\7&1D2E3F4&0&0000"' \
    'camera.description="TX7105 USB Camera"'
}

# Capture sources of other names than the one composed, more than a list
# shows, the first with characters that JSON escapes.
report_other_name() {
  local source
  machine_begin
  camera_device
  fixture_camera quoted normal 'TX7105 "Camera" \ 1'
  for source in 2 3 4 5 6 7 8 9; do fixture_camera "other$source" normal "TX7105 Camera $source"; done
  machine_ready
  report_run /d:2
  expect_report 2 'camera.found=true' 'sources.sources.0.name="TX7105 \"Camera\" \\ 1"' \
    'sources.sources.7.name="TX7105 Camera 8"' 'sources.sources.8.name="(missing)"' 'sources.count=9' \
    'sources.name="TX7105 USB Camera #2"' 'sources.match=null' \
    'result="would stop: no capture source is named \"TX7105 USB Camera #2\""'
}

# Camera access turned off for desktop apps: the bind is refused.
report_access_denied() {
  machine_begin
  camera_device
  fixture_camera denied access-denied "$CAMERA_DESC #2"
  machine_ready
  report_run /first /d:2
  expect_report 3 'sources.match=1' 'sources.bind="0x80070005"' 'sources.propertySet=null' \
    'result="would stop: \"TX7105 USB Camera #2\" does not open (0x80070005: camera access is off for desktop apps), and write its logon entry back (/first)"'
}

# A filter without the property interface.
report_no_property_set() {
  machine_begin
  camera_device
  fixture_camera bare no-property-set "$CAMERA_DESC #2"
  machine_ready
  report_run /d:2
  expect_report 4 'sources.bind="0x00000000"' 'sources.propertySet=false' 'sources.supported="(missing)"'
}

# A driver that says it answers a get, and the class it holds.
report_answers_get() {
  machine_begin
  camera_device
  fixture_camera answering answers-get "$CAMERA_DESC #2"
  machine_ready
  report_run /d:2
  expect_report 0 'sources.supported="0x00000000"' 'sources.support=3' 'sources.held=2'
  check "camera asked, by each form" "query-supported get query-supported get" \
    "$(grep -E '^(query-supported|get) ' "$CAMERA_LOG" | cut -d' ' -f1 | paste -sd' ')"
}

# The entry turned off by the Startup apps switch: the next logon does not
# run it, whatever the camera.
report_entry_disabled() {
  machine_begin
  typical_machine
  fixture_run_value 'T7105Cfg.exe /d:2'
  fixture_startup_switch disabled
  machine_ready
  report_run
  expect_report 6 'program.startupMachine="disabled"' 'program.startupUser="no switch"' \
    'result="would not run at the next logon: the Startup apps switch disables its entry"'
}

# No country set: the rule without one.
report_no_country() {
  machine_begin
  typical_machine
  fixture_no_country
  machine_ready
  report_run /d:2
  expect_report 0 'region.geo=-1' 'region.country=null' 'region.noCountry="not set"' \
    'region.rule=1' 'region.class=1'
}

# Buenos Aires for a user in Argentina with /hz:auto: the correction gives
# 50 Hz where the rule says 60.
report_buenos_aires() {
  machine_begin
  typical_machine
  fixture_country ARG
  machine_ready
  TZ=America/Argentina/Buenos_Aires report_run /d:2 /hz:auto
  expect_report 0 'region.zone="Argentina Standard Time"' 'region.bias=180' 'region.country="ARG"' \
    'region.rule=2' 'region.auto=1' 'region.correction="ARG at bias 180: 50 Hz"' \
    'region.hz="auto"' 'region.decides="/hz:auto: its correction"' 'region.class=1'
}

# Every machine of the table, in a copy of the prefix with the program in
# its System folder.
scenario_report() {
  scenario_prefix report
  cp "$T7105_EXE" "$WINEPREFIX/drive_c/windows/system32/" || { echo "FAIL  program copy"; exit 1; }
  local machine
  for machine in bound no_camera entry_not_the_program composite other_name access_denied \
    no_property_set answers_get entry_disabled no_country buenos_aires; do
    echo "      machine: $machine"
    "report_$machine"
  done
}
