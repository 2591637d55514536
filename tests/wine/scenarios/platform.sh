# shellcheck shell=bash
# The program as the platform sees it: under Wine's own configuration
# manager, with its start delay, its silence and its version block.

# Wine's own configuration manager: its stubs report success without output.
# The program must find nothing, bind nothing and end normally.
scenario_plain_wine() {
  machine_begin
  typical_machine
  fixture_run_value 'T7105Cfg.exe /d:2'
  machine_ready
  local plain="mscoree,mshtml=;cfgmgr32=b" ids
  ids=$(WINEDLLOVERRIDES=$plain machine_lines | grep -o 'hwids=[^ ]*' | sort -u)
  [[ $ids == hwids=none ]] || { check "Wine's own configuration manager" "hwids=none" "$ids"; return; }
  WINEDLLOVERRIDES=$plain run_program /d:2
  expect_exit 0
  expect_run_value absent
  expect_bound ""
  expect_nothing_written
  expect_silent
}

# /s: the search starts 5 seconds after the start.
scenario_start_delay() {
  machine_begin
  typical_machine
  machine_ready
  run_program /s /d:2
  expect_exit 1
  expect_run_value absent
  check_true "delay" "$RUN_MS ms >= 5000 ms" test "$RUN_MS" -ge 5000
  expect_property_written second 1
  expect_silent
}

# Nothing on stdout or stderr. Every run of every scenario checks it; these
# are the paths no other scenario takes: an empty command tail, a failed
# /first run with another number, switches the program does not know.
scenario_silence() {
  machine_begin
  typical_machine
  machine_ready
  run_program
  expect_silent
  expect_exit 1
  expect_bound first
  expect_property_written first 1
  run_program /first /d:7
  expect_silent
  expect_exit 0
  expect_run_value 'T7105Cfg.exe /d:7'
  expect_bound ""
  run_program /x /d:abc /dd:2
  expect_silent
  expect_exit 1
  expect_run_value absent
  expect_bound first
  expect_property_written first 1
}

# One executable's version block, read back through GetFileVersionInfoA,
# against the identity the build gives it (T7105_VERSION_* in the
# environment), and its own names and description.
expect_version_block() {
  local name=$1 description=$2 block line
  block=$(wine_program "$T7105_TEST_BIN/version_block.exe" \
    "$(windows_path "$T7105_WINE_ROOT/bin/$name.exe")" | tr -d '\r')
  printf '%s\n' "$block" | sed 's/^/      /'
  for line in "translation=0409/04B0" \
    "fixed_file_version=$T7105_VERSION_FILE" \
    "fixed_product_version=$T7105_VERSION_PRODUCT" \
    "CompanyName=$T7105_VERSION_COMPANY" \
    "FileDescription=$description" \
    "FileVersion=$T7105_VERSION_FILE_TEXT" \
    "InternalName=$name" \
    "LegalCopyright=$T7105_VERSION_COPYRIGHT" \
    "OriginalFilename=$name.exe" \
    "ProductName=$T7105_VERSION_PRODUCT_NAME" \
    "ProductVersion=$T7105_VERSION_PRODUCT_TEXT" \
    "Model Number=$T7105_VERSION_MODEL"; do
    check "$name ${line%%=*}" "$line" "$(grep -xF "$line" <<<"$block")"
  done
}

scenario_version_block() {
  expect_version_block T7105Cfg "$T7105_VERSION_DESCRIPTION"
  expect_version_block T7105Report "$T7105_VERSION_REPORT_DESCRIPTION"
}
