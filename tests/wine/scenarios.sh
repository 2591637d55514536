#!/bin/bash
# The end-to-end scenarios: T7105Cfg.exe under Wine against the simulated
# camera. Each sets the prefix's registry to the machine it needs, checks that
# the set-up took, runs the program, and checks the exit code, the logon
# entry (present or not, type, exact bytes) and what the camera received.
#   scenarios.sh <scenario>
# Environment: T7105_WINE_ROOT (with a prefix made by prefix.sh setup),
# T7105_TEST_BIN, the program's identity as T7105_VERSION_*, and for the
# installing scenarios and the Windows smoke test T7105_EXE, T7105_REPORT,
# T7105_PACKAGE, T7105_PACKAGE_NEXT, T7105_PACKAGE_SAME_VERSION,
# T7105_PACKAGE_PRESET and T7105_PACKAGE_AUTO.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib/wine.sh
source "$here/lib/wine.sh"
# shellcheck source=lib/fixtures.sh
source "$here/lib/fixtures.sh"
# shellcheck source=lib/apply.sh
source "$here/lib/apply.sh"
# shellcheck source=lib/checks.sh
source "$here/lib/checks.sh"
# shellcheck source=lib/machines.sh
source "$here/lib/machines.sh"
source "$here/lib/installing.sh"
for group in "$here"/scenarios/*.sh; do
  # shellcheck source=/dev/null
  source "$group"
done

wine_environment "$T7105_WINE_ROOT/prefix"

# A machine is described between machine_begin and machine_ready with the
# fixture_* calls; machine_ready imports it and checks that it took. A set-up
# that does not take ends the scenario before the program runs.
machine_begin() { fixture_begin "$SCENARIO_DIR/state.reg"; }
machine_ready() { fixture_apply || { echo "FAIL  set-up"; exit 1; }; }

name=${1:?usage: scenarios.sh <scenario>}
declare -F "scenario_$name" >/dev/null || { echo "no scenario $name" >&2; exit 2; }
scenario_folder "$name"
echo "scenario $name"
"scenario_$name"
checks_result
