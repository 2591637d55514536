#!/bin/bash
# The suite's prefix, as a CTest fixture.
#   prefix.sh setup    makes and boots a private prefix under T7105_WINE_ROOT,
#                      puts T7105Cfg.exe and T7105Report.exe beside the
#                      test-only cfgmgr32.dll,
#                      registers the simulated camera's classes and records
#                      what the booted prefix already lists
#   prefix.sh cleanup  stops this prefix's wineserver and removes the prefix,
#                      and the copies that an installing scenario or the
#                      Windows smoke test left
# Environment: T7105_WINE_ROOT, T7105_TEST_BIN, T7105_EXE, T7105_REPORT.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib/wine.sh
source "$here/lib/wine.sh"
# shellcheck source=lib/fixtures.sh
source "$here/lib/fixtures.sh"
# shellcheck source=lib/apply.sh
source "$here/lib/apply.sh"

root=$T7105_WINE_ROOT
prefix=$root/prefix

setup() {
  mkdir -p "$root/logs" "$root/bin"
  local start
  start=$(now_ms)
  prefix_create "$prefix" "$root/logs/boot.log" || {
    echo "the prefix did not boot; see $root/logs/boot.log" >&2
    return 1
  }
  echo "prefix booted in $(($(now_ms) - start)) ms: $prefix"
  cp "$T7105_EXE" "$T7105_REPORT" "$T7105_TEST_BIN/cfgmgr32.dll" "$root/bin/" || return 1
  machine_lines | grep -E '^(image|usb|source) ' >"$root/baseline.txt"
  echo "devices and capture sources of the fresh prefix:"
  cat "$root/baseline.txt"
  fixture_register_camera_classes || return 1
  echo "simulated camera registered: $(windows_path "$T7105_TEST_BIN/t7105_camera.dll")"
}

cleanup() {
  prefix_destroy "$prefix"
  prefix_destroy "$root/installing"
  prefix_destroy "$root/smoke"
  prefix_destroy "$root/report"
  rm -rf "${root:?}/bin"
  [[ ! -e $prefix ]]
}

case ${1:-} in
setup) setup ;;
cleanup) cleanup ;;
*) echo "usage: prefix.sh setup|cleanup" >&2; exit 2 ;;
esac
