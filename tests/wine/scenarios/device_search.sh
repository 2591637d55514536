# shellcheck shell=bash
# Which camera the program finds and binds, and what the camera answers.

# The Image class lists only the scanner; the camera is found by the second
# pass, over every device of the USB enumerator.
scenario_second_pass() {
  machine_begin
  scanner_device
  camera_device class=usb
  camera_sources
  machine_ready
  run_program /d:2
  expect_exit 1
  expect_run_value absent
  expect_bound second
  expect_property_written second 1
  expect_silent
}

# Two matching nodes: the first without a loaded driver, the second with
# one. The second's description names the capture source.
scenario_loaded_preferred() {
  machine_begin
  fixture_device id='USB\VID_5E3A&PID_2170\6&5D0E7A1&0&2' driver=0102 loaded=0 \
    hwids='USB\VID_5E3A&PID_2170' desc='TX7105 Camera (old driver)' product=TX7105
  camera_device
  fixture_camera unloaded normal 'TX7105 Camera (old driver) #2'
  fixture_camera loaded normal "$CAMERA_DESC #2"
  machine_ready
  run_program /d:2
  expect_exit 1
  expect_run_value absent
  expect_bound loaded
  expect_property_written loaded 1
  expect_silent
}

# Two capture sources of the camera's name: the first refuses to bind. The
# search ends there; the second is never tried.
scenario_same_name_first_refuses() {
  machine_begin
  scanner_device
  camera_device
  fixture_camera first normal "$CAMERA_DESC"
  fixture_camera refusing refuses-bind "$CAMERA_DESC #2"
  fixture_camera willing normal "$CAMERA_DESC #2"
  fixture_run_value 'T7105Cfg.exe /d:2'
  machine_ready
  run_program /d:2
  expect_exit 0
  expect_run_value absent
  check "refused" "camera=refusing" "$(camera_events refuse | grep -o 'camera=[^ ]*')"
  expect_bound ""
  expect_nothing_written
  expect_released
  expect_silent
}

# What the camera answers does not change the exit code once it is bound;
# a camera without the property interface counts as not opened.
scenario_camera_answers() {
  machine_begin
  camera_device
  fixture_camera false set-false "$CAMERA_DESC #2"
  machine_ready
  run_program /d:2
  expect_exit 1
  expect_run_value absent
  expect_property_written false 1
  check "answer" 0x00000001 "$(camera_field answer "$(camera_events set)")"
  expect_silent
  machine_begin
  camera_device
  fixture_camera failing set-fails "$CAMERA_DESC #2"
  machine_ready
  run_program /d:2
  expect_exit 1
  expect_run_value absent
  expect_property_written failing 1
  check "answer" 0x80004005 "$(camera_field answer "$(camera_events set)")"
  expect_silent
  machine_begin
  camera_device
  fixture_camera bare no-property-set "$CAMERA_DESC #2"
  machine_ready
  run_program /first /d:2
  expect_exit 0
  expect_run_value 'T7105Cfg.exe /d:2'
  expect_bound bare
  expect_nothing_written
  expect_released
  expect_silent
}

# A camera with a microphone, as Windows enumerates a composite USB device:
# the parent node, in the USB class with the composite driver loaded
# (compatible ID USB\COMPOSITE), carries the bare IDs; the camera's driver
# and description sit on its function &MI_00, in the Camera class, and the
# microphone is function &MI_02. Wine has no composite devices: the test-only
# configuration manager links the functions to their parent. Only the second
# pass meets them; it takes the parent, and the description is read from its
# camera function, so the camera is configured as a plain one is.
scenario_composite_camera() {
  local parent='USB\VID_5E3A&PID_2171\6&2C4A1F0E&0&3'
  machine_begin
  scanner_device
  fixture_device id="$parent" class=usb driver=0103 \
    hwids='USB\VID_5E3A&PID_2171&REV_0100|USB\VID_5E3A&PID_2171' \
    compat='USB\DevClass_EF&SubClass_02&Prot_01|USB\DevClass_EF&SubClass_02|USB\DevClass_EF|USB\COMPOSITE' \
    desc='USB Composite Device'
  fixture_device id='USB\VID_5E3A&PID_2171&MI_00\7&1D2E3F4&0&0000' class=camera driver=0101 \
    hwids='USB\VID_5E3A&PID_2171&REV_0100&MI_00|USB\VID_5E3A&PID_2171&MI_00' \
    parent="$parent" desc="$CAMERA_DESC" product=TX7105
  fixture_device id='USB\VID_5E3A&PID_2171&MI_02\7&1D2E3F4&0&0002' class=usb driver=0102 \
    hwids='USB\VID_5E3A&PID_2171&REV_0100&MI_02|USB\VID_5E3A&PID_2171&MI_02' \
    parent="$parent" desc='USB Audio Device'
  camera_sources
  machine_ready
  run_program /d:2
  expect_exit 1
  expect_run_value absent
  expect_bound second
  expect_property_written second 1
  expect_silent
}
