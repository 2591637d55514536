# shellcheck shell=bash
# The test doubles on their own, before the program meets them.

# The simulated camera on its own, before the program meets it: each
# behaviour as a probe sees it, and what the camera logged.
scenario_simulated_camera() {
  machine_begin
  fixture_camera plain normal 'Camera A'
  fixture_camera refusing refuses-bind 'Camera B'
  fixture_camera bare no-property-set 'Camera C'
  fixture_camera false set-false 'Camera D'
  fixture_camera failing set-fails 'Camera E'
  machine_ready
  rm -f "$CAMERA_LOG"
  local probes
  probes=$(wine_program "$T7105_TEST_BIN/camera_probe.exe" 'Camera A' 'Camera B' 'Camera C' \
    'Camera D' 'Camera E' | tr -d '\r' | grep '^probe ')
  touch "$CAMERA_LOG"
  check "camera probes" "$(printf '%s\n' \
    "probe name=Camera A bind=0x00000000 property-set=0x00000000 write=0x00000000" \
    "probe name=Camera B bind=0x80004005" \
    "probe name=Camera C bind=0x00000000 property-set=0x80004002" \
    "probe name=Camera D bind=0x00000000 property-set=0x00000000 write=0x00000001" \
    "probe name=Camera E bind=0x00000000 property-set=0x00000000 write=0x80004005")" "$probes"
  expect_bound "plain bare false failing"
  check "refused" "camera=refusing" "$(camera_events refuse | grep -o 'camera=[^ ]*')"
  expect_released
  check "logged write" \
    "set camera=failing behaviour=set-fails set={01234567-89AB-CDEF-0123-456789ABCDEF} id=99 instance_length=4 data_length=3 instance=DEADBEEF data=010203 answer=0x80004005" \
    "$(camera_events set | grep camera=failing)"
}

# Device nodes read back through the test-only configuration manager: present
# and absent, loaded and not, Image class and USB enumerator alone.
scenario_simulated_devices() {
  machine_begin
  scanner_device
  fixture_device id='USB\VID_5E3A&PID_2170\6&5D0E7A1&0&2' class=usb driver=0102 \
    present=0 loaded=0 hwids='USB\VID_5E3A&PID_2170' desc='Absent Camera'
  camera_device loaded=0
  machine_ready
  echo "ok    device nodes read back through the configuration manager"
}
