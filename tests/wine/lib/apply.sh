# shellcheck shell=bash
# Importing a state described with lib/fixtures.sh and reading it back
# through the same Windows calls the program makes, so that a scenario runs
# only on a state that took; the user's country; the camera DLL's classes.
#
# Needs lib/wine.sh and lib/fixtures.sh, T7105_WINE_ROOT (the run's folder:
# prefix/, baseline.txt) and T7105_TEST_BIN (the test-only binaries).

indent() { sed 's/^/    /'; }

# Compares what a probe printed with what the state should show; prints both
# when they differ.
fixture_compare() {
  local what=$1 expected=$2 actual=$3
  [[ $expected == "$actual" ]] && return 0
  printf 'set-up did not take: %s\n  expected:\n%s\n  got:\n%s\n' "$what" \
    "$(indent <<<"$expected")" "$(indent <<<"$actual")" >&2
  return 1
}

# The machine as machine_probe reads it, one process for everything.
machine_lines() {
  wine_program "$T7105_TEST_BIN/machine_probe.exe" | tr -d '\r' || true
}

# Device and capture-source lines of a machine_probe output, less those the
# freshly booted prefix already had (prefix.sh records them).
own_lines() {
  grep -E "^($1) " | grep -vxF -f "$T7105_WINE_ROOT/baseline.txt" || true
}

# Reads the state back through the calls the program makes: the Run value,
# the country, the device nodes through the configuration manager, the
# capture sources through the device enumerator.
fixture_took() {
  local took=0 expected seen
  seen=$(machine_lines)
  expected=missing
  [[ $FIXTURE_RUN_VALUE != absent ]] && expected=$(reg_sz_line "$FIXTURE_RUN_VALUE")
  fixture_compare "Run value" "$expected" "$(sed -n 's/^run: //p' <<<"$seen")" || took=1
  fixture_compare "country" "$(reg_sz_line "$FIXTURE_NATION")" \
    "$(sed -n 's/^country: //p' <<<"$seen")" || took=1
  expected=$(printf '%s\n' "${FIXTURE_IMAGE_LINES[@]}" "${FIXTURE_USB_LINES[@]}" | sed '/^$/d')
  fixture_compare "device nodes" "$expected" "$(own_lines 'image|usb' <<<"$seen")" || took=1
  expected=$(printf '%s\n' "${FIXTURE_CAMERA_LINES[@]}" | sed '/^$/d')
  fixture_compare "capture sources" "$expected" "$(own_lines source <<<"$seen")" || took=1
  return $took
}

# Imports a REGEDIT4 file. Wine has been seen to return success from an
# import that imported nothing, so the caller checks, and may import again.
reg_import() {
  wine_program reg import "$(windows_path "$1")" >/dev/null 2>&1
}

# Writes, imports and checks the state. Only the import is repeated, and
# only when the check shows it did not take.
fixture_apply() {
  fixture_write
  local attempt
  for attempt in 1 2 3; do
    reg_import "$FIXTURE_FILE" && fixture_took && return 0
    echo "set-up: import attempt $attempt did not take" >&2
  done
  return 1
}

# Sets the user's country, and reads back in the same process, in the time
# zone the program will run in, the bias and the country through the calls
# the program makes; they must be as expected (the bias only when one is
# given). REGION_SEEN holds what was read.
region_apply() {
  local zone=$1 country=$2 bias=${3:-} want_bias
  [[ -n ${GEO_ID[$country]:-} ]] || fixture_error "unknown country $country"
  REGION_SEEN=$(TZ=$zone wine_program "$T7105_TEST_BIN/region_probe.exe" "${GEO_ID[$country]}" |
    tr -d '\r')
  want_bias=${bias:-$(sed -n 's/^bias=\([^ ]*\).*/\1/p' <<<"$REGION_SEEN")}
  fixture_compare "time zone and country" \
    "bias=$want_bias nation=${GEO_ID[$country]} iso3=$country" "$REGION_SEEN"
}

# Registers the camera DLL's classes (once per prefix) and checks each one.
fixture_register_camera_classes() {
  local file=$T7105_WINE_ROOT/camera-classes.reg dll behaviour attempt
  dll=$(windows_path "$T7105_TEST_BIN/t7105_camera.dll")
  {
    printf 'REGEDIT4\n'
    for behaviour in "${!CAMERA_CLSID[@]}"; do
      printf '\n[HKEY_CLASSES_ROOT\\CLSID\\%s\\InprocServer32]\n@=%s\n"ThreadingModel"="Both"\n' \
        "${CAMERA_CLSID[$behaviour]}" "$(reg_string "$dll")"
    done
  } | sed 's/$/\r/' >"$file"
  local expected
  expected=$(reg_sz_line "$dll")
  for attempt in 1 2 3; do
    if reg_import "$file"; then
      local took=0
      for behaviour in "${!CAMERA_CLSID[@]}"; do
        fixture_compare "camera class $behaviour" "$expected" \
          "$(wine_program "$T7105_TEST_BIN/reg_value.exe" HKCR \
            "CLSID\\${CAMERA_CLSID[$behaviour]}\\InprocServer32" "" | tr -d '\r')" || took=1
      done
      [[ $took == 0 ]] && return 0
    fi
    echo "set-up: camera classes, import attempt $attempt did not take" >&2
  done
  return 1
}
