# shellcheck shell=bash
# The run as the logon entry sees it: the typical run, /patchreg, /first.

# The typical run: started at logon by its entry with /d:2, the camera found
# in the Image class, capture source "<DriverDesc> #2", entry removed,
# property written, exit 1.
scenario_typical_run() {
  machine_begin
  typical_machine
  fixture_run_value 'T7105Cfg.exe /d:2'
  fixture_country KOR
  machine_ready
  TZ=Asia/Seoul run_program /d:2
  expect_exit 1
  expect_run_value absent
  expect_bound second
  expect_property_written second 2
  expect_silent
}

# /patchreg writes the entry and touches no device.
scenario_patchreg() {
  machine_begin
  typical_machine
  machine_ready
  run_program /patchreg
  expect_exit 0
  expect_run_value 'T7105Cfg.exe'
  expect_bound ""
  expect_nothing_written
  expect_silent
}

# /patchreg with /d: carries the device number, whatever the order and case,
# and /hz: the mains frequency after it.
scenario_patchreg_device_number() {
  machine_begin
  typical_machine
  fixture_run_value 'T7105Cfg.exe'
  machine_ready
  run_program /PATCHREG /D:3
  expect_exit 0
  expect_run_value 'T7105Cfg.exe /d:3'
  expect_bound ""
  expect_silent
  run_program /d:-1 /patchreg
  expect_exit 0
  expect_run_value 'T7105Cfg.exe /d:-1'
  expect_bound ""
  expect_nothing_written
  expect_silent
  run_program /patchreg /d:2 /hz:50
  expect_exit 0
  expect_run_value 'T7105Cfg.exe /d:2 /hz:50'
  expect_nothing_written
  expect_silent
}

# /patchreg /hz:auto leaves an entry that carries auto, in lower case, to the
# next logon, whose run corrects the rule for a user in Argentina in Buenos
# Aires: 50 Hz where the rule says 60. The program is where the entry's bare
# name resolves, in the System folder of a copy of the prefix. The logon's
# run removes the entry as it may where it can write the machine-wide Run
# key (Wine; on Windows, a logon with full administrator rights); at a logon
# with a standard user token the entry stays (docs/installing.md).
scenario_patchreg_auto_logon() {
  scenario_prefix patchreg_auto_logon
  place_configuration_manager || { echo "FAIL  configuration manager"; exit 1; }
  machine_begin
  typical_machine
  fixture_country ARG
  machine_ready
  cp "$T7105_EXE" "$(installed_program)"
  run_program /patchreg /d:2 /HZ:AUTO
  expect_exit 0
  expect_run_value 'T7105Cfg.exe /d:2 /hz:auto'
  expect_nothing_written
  TZ=America/Argentina/Buenos_Aires logon
  expect_entry_gone_after_logon
  expect_bound second
  expect_property_written second 1
}

# /first without a camera: the entry is written back for the next logon.
scenario_first_without_camera() {
  machine_begin
  scanner_device
  machine_ready
  run_program /first /d:2
  expect_exit 0
  expect_run_value 'T7105Cfg.exe /d:2'
  expect_bound ""
  expect_nothing_written
  expect_silent
}

# A successful /first run leaves no entry.
scenario_first_with_camera() {
  machine_begin
  typical_machine
  fixture_run_value 'T7105Cfg.exe /d:2'
  machine_ready
  run_program /first /d:2
  expect_exit 1
  expect_run_value absent
  expect_bound second
  expect_property_written second 1
  expect_silent
}
