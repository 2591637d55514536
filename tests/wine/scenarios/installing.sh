# shellcheck shell=bash
# The program as Windows Installer deploys it: the package installed, the
# user's next logon, an unplugged camera, upgrades and removal. Each
# scenario works in its own copy of the suite's prefix, removed at its end,
# so that the prefix the other scenarios share stays as they expect it.

OTHER_RUN_VALUE_NAME='Other Tool'
OTHER_RUN_VALUE='C:\Tools\other.exe /quiet'

# A copy of the suite's prefix, and the test-only configuration manager
# where the installed program finds it.
installing_prefix() {
  scenario_prefix installing
  place_configuration_manager || { echo "FAIL  configuration manager"; exit 1; }
}

other_run_value_line() {
  wine_program "$T7105_TEST_BIN/reg_value.exe" HKLM "$RUN_KEY" "$OTHER_RUN_VALUE_NAME" |
    tr -d '\r' || true
}

# Installed with DEVICENUMBER=2, the program is in the System folder, the
# report beside it, and its entry carries /d:2; the installation does not
# reach the camera. At the next logon the entry configures the second camera
# and, the key being writable, goes. Removed, neither the program, the report
# nor the entry is left.
scenario_package_install_logon_remove() {
  installing_prefix
  machine_begin
  typical_machine
  fixture_country KOR
  machine_ready
  package_install "$T7105_PACKAGE" DEVICENUMBER=2
  check "install" 0 "$MSI_EXIT"
  expect_installed_program "the build's"
  expect_run_value 'T7105Cfg.exe /d:2'
  expect_bound ""
  expect_nothing_written
  TZ=Asia/Seoul logon
  expect_entry_gone_after_logon
  expect_bound second
  expect_property_written second 2
  package_remove "$T7105_PACKAGE"
  check "remove" 0 "$MSI_EXIT"
  expect_installed_program absent
  expect_run_value absent
  expect_registered "$T7105_PACKAGE" no
}

# Installed without DEVICENUMBER, the entry is the bare name. The camera is
# unplugged at the next logon: the run from the entry cannot open it,
# removes the entry (the key being writable) and does not write it back.
scenario_package_logon_unplugged() {
  installing_prefix
  machine_begin
  scanner_device
  machine_ready
  package_install "$T7105_PACKAGE"
  check "install" 0 "$MSI_EXIT"
  expect_run_value 'T7105Cfg.exe'
  logon
  expect_entry_gone_after_logon
  expect_bound ""
  expect_nothing_written
}

# A higher version replaces the installed one: one product among the
# installed programs, its program and report, and the entry the new
# installation wrote. A lower version is refused and changes nothing. Removal
# takes the program, the report and the entry, and leaves another program's
# Run value as it was.
scenario_package_upgrade_remove() {
  installing_prefix
  machine_begin
  typical_machine
  machine_ready
  wine_program reg add "HKLM\\$RUN_KEY" /v "$OTHER_RUN_VALUE_NAME" /t REG_SZ \
    /d "$OTHER_RUN_VALUE" /f >/dev/null 2>&1
  local other
  other=$(other_run_value_line)
  check "another Run value" "$(reg_sz_line "$OTHER_RUN_VALUE")" "$other"
  package_install "$T7105_PACKAGE" DEVICENUMBER=2
  check "install" 0 "$MSI_EXIT"
  expect_registered "$T7105_PACKAGE" yes
  package_install "$T7105_PACKAGE_NEXT" DEVICENUMBER=3
  check "upgrade" 0 "$MSI_EXIT"
  expect_registered "$T7105_PACKAGE" no
  expect_registered "$T7105_PACKAGE_NEXT" yes
  expect_installed_program other
  expect_run_value 'T7105Cfg.exe /d:3'
  package_install "$T7105_PACKAGE" DEVICENUMBER=4
  # 1603, ERROR_INSTALL_FAILURE, of which Wine passes on the low byte.
  check "downgrade refused" 67 "$MSI_EXIT"
  expect_registered "$T7105_PACKAGE" no
  expect_registered "$T7105_PACKAGE_NEXT" yes
  expect_run_value 'T7105Cfg.exe /d:3'
  package_remove "$T7105_PACKAGE_NEXT"
  check "remove" 0 "$MSI_EXIT"
  expect_registered "$T7105_PACKAGE_NEXT" no
  expect_installed_program absent
  expect_run_value absent
  check "another Run value" "$other" "$(other_run_value_line)"
}

# A deployed copy's later lives, in order: installed with DEVICENUMBER=2 and
# MAINSFREQUENCY=50, installed again without properties, which keeps both;
# given MAINSFREQUENCY=AUTO (auto in any case; the entry has it in lower
# case), then reinstalled (Wine's stand-in for a repair, which its msiexec
# cannot do) and upgraded to a package with other bytes without properties:
# each keeps the second camera and auto. A value given again wins and is
# remembered in its turn; the logon configures the third camera at 60 Hz
# where the rule says 50, and an install after it, where the logon's run
# removed the entry, brings the entry back with the remembered values.
# MAINSFREQUENCY=0 returns to the rule. Removed, nothing of the product is
# left in the registry.
scenario_package_later_lives() {
  installing_prefix
  machine_begin
  typical_machine
  fixture_camera third normal "$CAMERA_DESC #3"
  fixture_country JPN
  machine_ready
  local step package=$T7105_PACKAGE
  while IFS='|' read -r step properties program entry; do
    [[ $step == upgrade ]] && package=$T7105_PACKAGE_NEXT
    # shellcheck disable=SC2086
    package_install "$package" $properties
    check "$step" 0 "$MSI_EXIT"
    expect_installed_program "$program"
    expect_run_value "$entry"
  done <<EOF_LIVES
install|DEVICENUMBER=2 MAINSFREQUENCY=50|the build's|T7105Cfg.exe /d:2 /hz:50
second install||the build's|T7105Cfg.exe /d:2 /hz:50
auto given|MAINSFREQUENCY=AUTO|the build's|T7105Cfg.exe /d:2 /hz:auto
reinstall|REINSTALL=ALL REINSTALLMODE=omus|the build's|T7105Cfg.exe /d:2 /hz:auto
upgrade||other|T7105Cfg.exe /d:2 /hz:auto
number given again|DEVICENUMBER=3|other|T7105Cfg.exe /d:3 /hz:auto
frequency given again|MAINSFREQUENCY=60|other|T7105Cfg.exe /d:3 /hz:60
EOF_LIVES
  expect_registered "$T7105_PACKAGE" no
  expect_registered "$T7105_PACKAGE_NEXT" yes
  TZ=Asia/Tokyo logon
  expect_bound third
  expect_property_written third 2
  expect_entry_gone_after_logon
  package_install "$T7105_PACKAGE_NEXT"
  check "install after the logon" 0 "$MSI_EXIT"
  expect_run_value 'T7105Cfg.exe /d:3 /hz:60'
  package_install "$T7105_PACKAGE_NEXT" MAINSFREQUENCY=0
  check "MAINSFREQUENCY=0" 0 "$MSI_EXIT"
  expect_run_value 'T7105Cfg.exe /d:3'
  # Remembered values changed by hand get the program's own rules: a device
  # number that is not a number, /d:'s; a mains frequency the package would
  # not take, /hz:'s, recalled after the launch condition that would refuse it.
  wine_program reg add 'HKLM\Software\T7105Cfg' /v DeviceNumber /d x3 /f /reg:64 >/dev/null 2>&1
  wine_program reg add 'HKLM\Software\T7105Cfg' /v MainsFrequency /d 55 /f /reg:64 >/dev/null 2>&1
  package_install "$T7105_PACKAGE_NEXT"
  check "install remembering x3 and 55" 0 "$MSI_EXIT"
  expect_run_value 'T7105Cfg.exe'
  package_remove "$T7105_PACKAGE_NEXT"
  check "remove" 0 "$MSI_EXIT"
  expect_installed_program absent
  check "the product in HKLM" "" "$(product_registry_traces "$T7105_PACKAGE" "$T7105_PACKAGE_NEXT")"
}

# A package of the same version with other bytes replaces the installed one
# and keeps the remembered number; a package with DEVICENUMBER and
# MAINSFREQUENCY preset gives its values without properties, over the
# remembered ones, and values on the command line win over the preset (0:
# the bare entry). An empty value on the command line counts as none given
# and leaves the preset, as one command line with a blank variable for every
# site gives it; before each, the remembered values are 0, so that only the
# preset gives the entry's. The package that presets MAINSFREQUENCY=auto, as
# a release's T7105Cfg-auto.msi, installed with MAINSFREQUENCY="", leaves
# the entry with /hz:auto.
scenario_package_rebuilt_and_preset() {
  installing_prefix
  machine_begin
  typical_machine
  machine_ready
  package_install "$T7105_PACKAGE" DEVICENUMBER=2
  check "install" 0 "$MSI_EXIT"
  package_install "$T7105_PACKAGE_SAME_VERSION"
  check "the same version rebuilt" 0 "$MSI_EXIT"
  expect_registered "$T7105_PACKAGE" no
  expect_registered "$T7105_PACKAGE_SAME_VERSION" yes
  expect_installed_program other
  expect_run_value 'T7105Cfg.exe /d:2'
  package_install "$T7105_PACKAGE_PRESET"
  check "the preset package" 0 "$MSI_EXIT"
  expect_registered "$T7105_PACKAGE_SAME_VERSION" no
  expect_registered "$T7105_PACKAGE_PRESET" yes
  expect_installed_program "the build's"
  expect_run_value 'T7105Cfg.exe /d:5 /hz:60'
  package_install "$T7105_PACKAGE_PRESET" DEVICENUMBER=0 MAINSFREQUENCY=0
  check "the preset package with DEVICENUMBER=0 MAINSFREQUENCY=0" 0 "$MSI_EXIT"
  expect_run_value 'T7105Cfg.exe'
  local properties
  for properties in 'DEVICENUMBER=""' 'MAINSFREQUENCY=""'; do
    package_install_text "$T7105_PACKAGE_PRESET" "$properties"
    check "the preset package with $properties" 0 "$MSI_EXIT"
    expect_run_value 'T7105Cfg.exe /d:5 /hz:60'
    package_install "$T7105_PACKAGE_PRESET" DEVICENUMBER=0 MAINSFREQUENCY=0
    check "the preset package with DEVICENUMBER=0 MAINSFREQUENCY=0" 0 "$MSI_EXIT"
    expect_run_value 'T7105Cfg.exe'
  done
  package_install_text "$T7105_PACKAGE_AUTO" 'MAINSFREQUENCY=""'
  check "the auto package with MAINSFREQUENCY=\"\"" 0 "$MSI_EXIT"
  expect_registered "$T7105_PACKAGE_PRESET" no
  expect_registered "$T7105_PACKAGE_AUTO" yes
  expect_run_value 'T7105Cfg.exe /hz:auto'
  package_remove "$T7105_PACKAGE_AUTO"
  check "remove" 0 "$MSI_EXIT"
  check "the product in HKLM" "" "$(product_registry_traces "$T7105_PACKAGE" \
    "$T7105_PACKAGE_SAME_VERSION" "$T7105_PACKAGE_PRESET" "$T7105_PACKAGE_AUTO")"
}

# A MAINSFREQUENCY the package does not take fails the installation before
# anything is changed: on a clean machine nothing is installed, and an
# installed copy stays as it was, its remembered values too. A removal is not
# refused for it.
scenario_package_mains_frequency_refused() {
  installing_prefix
  machine_begin
  typical_machine
  machine_ready
  expect_mains_frequency_refused 55
  expect_installed_program absent
  expect_run_value absent
  expect_registered "$T7105_PACKAGE" no
  package_install "$T7105_PACKAGE" DEVICENUMBER=2 MAINSFREQUENCY=50
  check "install" 0 "$MSI_EXIT"
  expect_mains_frequency_refused 5O
  expect_mains_frequency_refused 60Hz
  expect_mains_frequency_refused autox
  expect_installed_program "the build's"
  expect_run_value 'T7105Cfg.exe /d:2 /hz:50'
  expect_registered "$T7105_PACKAGE" yes
  package_install "$T7105_PACKAGE"
  check "install without properties" 0 "$MSI_EXIT"
  expect_run_value 'T7105Cfg.exe /d:2 /hz:50'
  msiexec_run /x "$(windows_path "$T7105_PACKAGE")" MAINSFREQUENCY=55
  check "remove with MAINSFREQUENCY=55" 0 "$MSI_EXIT"
  expect_installed_program absent
}
