# shellcheck shell=bash
# The program as a machine gets it: the Windows Installer package installed
# and removed with msiexec, and the user's next logon simulated.
#
# Needs lib/wine.sh and lib/checks.sh (SCENARIO_DIR, CAMERA_LOG), and
# T7105_TEST_BIN (the test-only cfgmgr32.dll, reg_value and process_wait).

# Where the package puts the program: the 64-bit System folder, where the
# logon entry's bare name resolves; and the report beside it.
installed_program() {
  printf '%s/drive_c/windows/system32/T7105Cfg.exe' "$WINEPREFIX"
}
installed_report() {
  printf '%s/drive_c/windows/system32/T7105Report.exe' "$WINEPREFIX"
}

# A scenario's own copy of the suite's prefix, T7105_WINE_ROOT/NAME, with its
# own wineserver, removed when the scenario ends (prefix.sh cleanup removes
# one that a scenario left).
scenario_prefix() {
  local copy=$T7105_WINE_ROOT/$1
  prefix_clone "$T7105_WINE_ROOT/prefix" "$copy" || { echo "FAIL  prefix copy"; exit 1; }
  # shellcheck disable=SC2064  # the copy's path, fixed now
  trap "prefix_destroy '$copy'" EXIT
  wine_environment "$copy"
  prefix_start "$copy" || { echo "FAIL  prefix copy's wineserver"; exit 1; }
}

# The test-only configuration manager beside the installed program, which
# loads it from its own folder first. The DLL it replaces may be a hard link
# into the prefix this one was copied from: it is removed, not written
# through.
place_configuration_manager() {
  local dll=$WINEPREFIX/drive_c/windows/system32/cfgmgr32.dll
  rm -f "$dll" && cp "$T7105_TEST_BIN/cfgmgr32.dll" "$dll"
}

# A Windows Installer run (a program and its arguments) with a fresh camera
# log: what the camera received during the run is then in the log. Sets
# MSI_EXIT and MSI_MS.
installer_run() {
  rm -f "$CAMERA_LOG"
  local start
  start=$(now_ms)
  MSI_EXIT=0
  wine_program "$@" >"$SCENARIO_DIR/msiexec.txt" 2>&1 || MSI_EXIT=$?
  MSI_MS=$(($(now_ms) - start))
  touch "$CAMERA_LOG"
  printf '      ran   %s %s: exit %d in %d ms\n' "$(basename "$1")" "${*:2}" "$MSI_EXIT" "$MSI_MS"
}

# msiexec, silent.
msiexec_run() { installer_run msiexec "$@" /qn; }

# Installs a package, with properties as NAME=value.
package_install() {
  local package=$1
  shift
  msiexec_run /i "$(windows_path "$package")" "$@"
}

# Installs a package silently with the properties' text $2 as a deployer
# writes it on Windows' msiexec command line, which hands it on as it is
# (PROPERTY="" clears the property there): Wine's msiexec drops the quotes of
# an empty value, so the text goes to Windows Installer through msi_install.
package_install_text() {
  installer_run "$T7105_TEST_BIN/msi_install.exe" "$(windows_path "$1")" "$2"
}

package_remove() { msiexec_run /x "$(windows_path "$1")"; }

# An installation of the build's package with MAINSFREQUENCY=$1, which its
# launch condition refuses: 1603, ERROR_INSTALL_FAILURE, of which Wine passes
# on the low byte. (Windows writes the condition's message into a verbose
# log; Wine's msiexec writes none at /qn, so check_tables reads it from the
# package.)
expect_mains_frequency_refused() {
  package_install "$T7105_PACKAGE" "MAINSFREQUENCY=$1"
  check "MAINSFREQUENCY=$1 refused" 67 "$MSI_EXIT"
}

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
  local expected=missing version
  version=$(package_property "$1" ProductVersion)
  [[ $2 == yes ]] && expected=$(reg_sz_line "$version")
  check "installed programs: $(basename "$1"), version $version" "$expected" \
    "$(registered_version "$1")"
}

# The installed program: the build's executable, the other one
# (T7105_EXE_OTHER), or absent. Every package here holds the build's report
# (T7105_REPORT): it is installed with the program and removed with it.
expect_installed_program() {
  local actual=absent program report=absent expected_report="the build's"
  program=$(installed_program)
  if [[ -e $program ]]; then
    actual=unknown
    cmp -s "$program" "$T7105_EXE" && actual="the build's"
    cmp -s "$program" "$T7105_EXE_OTHER" && actual=other
  fi
  check "program in system32" "$1" "$actual"
  [[ ! -e $(installed_report) ]] || report=unknown
  cmp -s "$(installed_report)" "$T7105_REPORT" && report="the build's"
  [[ $1 != absent ]] || expected_report=absent
  check "report in system32" "$expected_report" "$report"
}

# What HKLM still holds of the product after its removal: every line of the
# hive's export that names the program, the report, the product or one of
# the given packages' product codes (as written, and packed as Windows
# Installer keys them). Empty when nothing is left.
product_registry_traces() {
  local export=$SCENARIO_DIR/hklm.reg
  local patterns=(T7105Cfg T7105Report "$(package_property "$1" ProductName)")
  local package code
  for package in "$@"; do
    code=$(package_property "$package" ProductCode)
    patterns+=("$code" "$(packed_guid "$code")")
  done
  rm -f "$export"
  wine_program reg export HKLM "$(windows_path "$export")" /y >/dev/null 2>&1
  [[ -s $export ]] || { echo "no export of HKLM"; return; }
  iconv -f UTF-16 -t UTF-8 "$export" | tr -d '\r' | grep -iF "${patterns[@]/#/-e}" || true
}

# A GUID as Windows Installer writes it in its registry keys: the first three
# fields reversed, each byte of the last two with its digits swapped.
packed_guid() {
  local hex=${1//[\{\}-]/} packed i
  packed=$(rev <<<"${hex:0:8}")$(rev <<<"${hex:8:4}")$(rev <<<"${hex:12:4}")
  for ((i = 16; i < 32; i += 2)); do packed+=${hex:i+1:1}${hex:i:1}; done
  echo "$packed"
}

# The entry after the logon's run removed it, as it does where it may write
# the machine-wide Run key: under Wine, which has no registry ACLs, and on
# Windows at a logon with full administrator rights (by default the built-in
# Administrator's, and any administrator's with UAC off). At a logon with a
# standard user token (a standard user, an administrator in UAC's Admin
# Approval Mode) the run cannot open the key for writing, and the entry stays
# (docs/installing.md).
expect_entry_gone_after_logon() {
  expect_run_value absent "Run value after the logon, the key writable"
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
