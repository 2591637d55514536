# shellcheck shell=bash
# tests/windows/smoke.cmd, the smoke test written for a real Windows, run
# under Wine's cmd in a copy of the suite's prefix of its own, from a folder
# holding the build's executables, its package and the package with
# MAINSFREQUENCY=auto preset: the bytes of scripts/package.sh --with-auto
# unsigned, which CI's Windows job runs the script on. Wine's own
# configuration manager finds no camera: the machine without one that the
# script expects.

SMOKE_SCRIPT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../windows" && pwd)/smoke.cmd

scenario_windows_smoke() {
  local folder=$SCENARIO_DIR/dist code=0
  scenario_prefix smoke
  mkdir -p "$folder" && cp "$T7105_EXE" "$T7105_REPORT" "$T7105_PACKAGE" "$folder/" &&
    cp "$T7105_PACKAGE_AUTO" "$folder/T7105Cfg-auto.msi"
  (cd "$folder" && wine_program cmd /c "$(windows_path "$SMOKE_SCRIPT")" >smoke.txt 2>&1) ||
    code=$?
  tr -d '\r' <"$folder/smoke.txt" | indent
  check "smoke.cmd exit code" 0 "$code"
  # Every check counted: a line that Wine's cmd skipped would pass unseen.
  check "smoke.cmd closing line" "25 passed, 0 failed" "$(tail -n 1 "$folder/smoke.txt" | tr -d '\r')"
}
