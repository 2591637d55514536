#!/usr/bin/env bash
# Runs every test: installs what is needed, then configures, builds and tests
# each build of CMakePresets.json in turn: native, native under
# AddressSanitizer and UndefinedBehaviorSanitizer, Windows (the executable's
# checks and the Wine suite), the fuzz targets run briefly, and the coverage
# of the product code by the native tests. A suite that fails does not stop
# the others; the summary at the end gives each one's result, and the exit
# code is non-zero when any failed.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${T7105_BUILD_DIR:-$root/build}
jobs=$(nproc)

"$root/scripts/install-deps.sh" || exit 1

# Configures preset $1 into its folder, builds it and runs its tests.
preset_suite() {
  local preset=$1
  cmake -S "$root" --preset "$preset" -B "$build/$preset" &&
    cmake --build "$build/$preset" -j"$jobs" &&
    ctest --test-dir "$build/$preset" --output-on-failure -j"$jobs"
}

summary=()
failed=0
# Runs suite $1, the command that follows or else the preset of that name,
# and notes how it ended.
suite() {
  local name=$1 start=$SECONDS outcome=passed
  shift
  echo "== Suite: $name"
  if (($#)); then "$@"; else preset_suite "$name"; fi || { outcome=FAILED; failed=1; }
  summary+=("$(printf '%-7s %-10s %4d s' "$outcome" "$name" $((SECONDS - start)))")
}

suite native
suite sanitized
suite windows
suite fuzz
suite coverage "$root/scripts/coverage.sh"

echo "== Summary"
printf '%s\n' "${summary[@]}"
exit "$failed"
