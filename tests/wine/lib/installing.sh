# shellcheck shell=bash
# The program as a machine gets it: the Windows Installer package installed
# and removed with msiexec, and the user's next logon simulated.
#
# Needs lib/wine.sh and lib/checks.sh (SCENARIO_DIR, CAMERA_LOG), and
# T7105_TEST_BIN (the test-only cfgmgr32.dll, reg_value and process_wait).

# Where the package puts the program: the 64-bit System folder, where the
# logon entry's bare name resolves.
installed_program() {
  printf '%s/drive_c/windows/system32/T7105Cfg.exe' "$WINEPREFIX"
}

# The test-only configuration manager beside the installed program, which
# loads it from its own folder first. The DLL it replaces may be a hard link
# into the prefix this one was copied from: it is removed, not written
# through.
place_configuration_manager() {
  local dll=$WINEPREFIX/drive_c/windows/system32/cfgmgr32.dll
  rm -f "$dll" && cp "$T7105_TEST_BIN/cfgmgr32.dll" "$dll"
}

# msiexec, silent, with a fresh camera log: what the camera received during
# the run is then in the log. Sets MSI_EXIT and MSI_MS.
msiexec_run() {
  rm -f "$CAMERA_LOG"
  local start
  start=$(now_ms)
  MSI_EXIT=0
  wine_program msiexec "$@" /qn >"$SCENARIO_DIR/msiexec.txt" 2>&1 || MSI_EXIT=$?
  MSI_MS=$(($(now_ms) - start))
  touch "$CAMERA_LOG"
  printf '      ran   msiexec %s: exit %d in %d ms\n' "$*" "$MSI_EXIT" "$MSI_MS"
}

# Installs a package, with properties as NAME=value.
package_install() {
  local package=$1
  shift
  msiexec_run /i "$(windows_path "$package")" "$@"
}

package_remove() { msiexec_run /x "$(windows_path "$1")"; }

# A property of a package's Property table.
package_property() {
  msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v name="$2" '$1 == name { print $2 }'
}

# The package's entry among the installed programs: its DisplayVersion, as
# reg_value prints it, or "missing".
registered_version() {
  wine_program "$T7105_TEST_BIN/reg_value.exe" HKLM \
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$(package_property "$1" ProductCode)" \
    DisplayVersion | tr -d '\r' || true
}

# Whether the package is among the installed programs: yes or no.
expect_registered() {
  local expected=missing
  [[ $2 == yes ]] && expected=$(reg_sz_line "$(package_property "$1" ProductVersion)")
  check "installed programs: version $(package_property "$1" ProductVersion)" "$expected" \
    "$(registered_version "$1")"
}

# The installed program: the same bytes as the given executable, or absent.
expect_installed_program() {
  local actual=absent
  if [[ -e $(installed_program) ]]; then
    actual="$(cmp -s "$(installed_program)" "$T7105_EXE" && echo "the build's" || echo other)"
  fi
  check "program in system32" "$1" "$actual"
}

# The user's next logon: wineboot starts the Run values as a logon does,
# without waiting for them. The prefix's wineserver is persistent and never
# ends, so the wait is for the started program itself. The time zone is TZ's.
# Sets LOGON_MS.
logon() {
  rm -f "$CAMERA_LOG"
  local start waited
  start=$(now_ms)
  TZ=${TZ:-UTC} wine_program wineboot >"$SCENARIO_DIR/logon.txt" 2>&1
  wine_program "$T7105_TEST_BIN/process_wait.exe" T7105Cfg.exe 30 >"$SCENARIO_DIR/wait.txt" 2>&1
  LOGON_MS=$(($(now_ms) - start))
  touch "$CAMERA_LOG"
  waited=$(tr -d '\r' <"$SCENARIO_DIR/wait.txt")
  printf '      ran   wineboot (the next logon), then waited (%s): %d ms\n' "$waited" "$LOGON_MS"
  check "logon runs ended" yes "$([[ $waited == ended:* ]] && echo yes || echo "$waited")"
}
