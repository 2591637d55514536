#!/usr/bin/env bash
# Times T7105Cfg.exe under Wine against a GUI program that only ends
# (tests/bench/empty_gui.cpp, built and linked the same way): a configuration
# run on a machine without the camera, one with the simulated camera, the
# same with /hz:auto, and a /patchreg run. All run in one private prefix whose wineserver stays up;
# each timed run is paired with a run of the yardstick, their order swapped
# from round to round, and the report gives the median time of each and the
# median of its ratios to the yardstick of its pair.
#
# A configuration run begins COM use, whose apartment needs a desktop; under
# Wine the first process that needs one starts explorer.exe for it, which
# stays about a second after the last such process ends. By default each
# configuration run is timed with the desktop up, as it always is at a
# Windows logon (an unmeasured run just before starts it); --cold waits for
# it to go first, so that its start is timed too.
#
# --against OLD.exe takes another build of T7105Cfg.exe as the yardstick
# instead: each run is paired with the same run of OLD.exe, on the same
# machine, with the same exit code.
#
#   scripts/time-under-wine.sh [--cold] [--against OLD.exe] [rounds]   (default 15 rounds)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
wine_tests=$root/tests/wine
# shellcheck source=../tests/wine/lib/wine.sh
source "$wine_tests/lib/wine.sh"
# shellcheck source=../tests/wine/lib/fixtures.sh
source "$wine_tests/lib/fixtures.sh"
# shellcheck source=../tests/wine/lib/apply.sh
source "$wine_tests/lib/apply.sh"
# shellcheck source=../tests/wine/lib/machines.sh
source "$wine_tests/lib/machines.sh"

desktop=up
against=""
while [[ ${1:-} == --* ]]; do
  case $1 in
  --cold) desktop=cold ;;
  --against)
    against=$(realpath "${2:?--against needs an executable}")
    shift
    ;;
  *) echo "unknown option $1" >&2; exit 2 ;;
  esac
  shift
done
rounds=${1:-15}
[[ $rounds =~ ^[1-9][0-9]*$ ]] || { echo "rounds: a positive number" >&2; exit 2; }

build=${T7105_BUILD_DIR:-$root/build}/windows
export T7105_WINE_ROOT=$build/tests/bench/timing
export T7105_TEST_BIN=$build/tests/wine
export T7105_EXE=$build/app/T7105Cfg.exe

"$root/scripts/install-deps.sh" demo
cmake -S "$root" --preset windows -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target T7105Cfg empty_gui t7105_camera t7105_cfgmgr32 \
  reg_value machine_probe >/dev/null

echo "== Making a private Wine prefix in $T7105_WINE_ROOT/prefix"
mkdir -p "$T7105_WINE_ROOT"
trap 'bash "$wine_tests/prefix.sh" cleanup >/dev/null 2>&1 || true' EXIT
bash "$wine_tests/prefix.sh" setup >"$T7105_WINE_ROOT/setup.log" 2>&1 ||
  { cat "$T7105_WINE_ROOT/setup.log"; echo "the prefix could not be made" >&2; exit 1; }
cp "$build/tests/bench/empty_gui.exe" "$T7105_WINE_ROOT/bin/"
[[ -z $against ]] || cp "$against" "$T7105_WINE_ROOT/bin/T7105Cfg-against.exe"
wine_environment "$T7105_WINE_ROOT/prefix"
export T7105_CAMERA_LOG
T7105_CAMERA_LOG=$(windows_path "$T7105_WINE_ROOT/camera.log")

# The two machines, written and checked once; later rounds import them
# again, and the exit code of every run shows that the import took.
machine_file() { echo "$T7105_WINE_ROOT/$1.reg"; }
describe_machine() {
  fixture_begin "$(machine_file "$1")"
  fixture_run_value 'T7105Cfg.exe /d:2'
  [[ $1 == camera ]] && typical_machine
  fixture_apply || { echo "the $1 machine did not take" >&2; exit 1; }
}
describe_machine without_camera
describe_machine camera
use_machine() { reg_import "$(machine_file "$1")" || { echo "import of $1 failed" >&2; exit 1; }; }

# Runs a program of the prefix's bin/ and prints its wall time in
# microseconds; its exit code must be the one given.
timed_run() {
  local program=$1 exit_code=$2 start end code=0
  shift 2
  start=$(date +%s%N)
  TZ=UTC wine_program "$T7105_WINE_ROOT/bin/$program" "$@" >/dev/null 2>&1 || code=$?
  end=$(date +%s%N)
  [[ $code == "$exit_code" ]] ||
    { echo "$program $*: exit $code, expected $exit_code" >&2; exit 1; }
  echo $(((end - start) / 1000))
}

# One pair: the run named $1 (the rest: program, exit code, switches) and a
# run of the yardstick, in the order that the round's parity gives. Appends
# "<time> <yardstick's time> <ratio>" to $1's file.
pair() {
  local name=$1 round=$2 run yardstick
  shift 2
  local -a measure=(empty_gui.exe 0)
  [[ -z $against ]] || measure=(T7105Cfg-against.exe "${@:2}")
  if ((round % 2)); then
    run=$(timed_run "$@")
    yardstick=$(timed_run "${measure[@]}")
  else
    yardstick=$(timed_run "${measure[@]}")
    run=$(timed_run "$@")
  fi
  echo "$run $yardstick $(awk -v a="$run" -v b="$yardstick" 'BEGIN { printf "%.3f", a / b }')" \
    >>"$T7105_WINE_ROOT/$name.times"
}

# Brings the desktop to the state asked for, before a configuration run
# whose exit code is $1.
ready_desktop() {
  if [[ $desktop == up ]]; then
    timed_run T7105Cfg.exe "$1" /d:2 >/dev/null
  else
    sleep 2
  fi
}

rm -f "$T7105_WINE_ROOT"/*.times
echo "== $rounds rounds, desktop $desktop (after one unmeasured run of each)"
use_machine camera
timed_run T7105Cfg.exe 1 /d:2 >/dev/null
timed_run empty_gui.exe 0 >/dev/null
[[ -z $against ]] || timed_run T7105Cfg-against.exe 1 /d:2 >/dev/null
for ((round = 0; round < rounds; round++)); do
  use_machine without_camera
  ready_desktop 0
  pair without_camera "$round" T7105Cfg.exe 0 /d:2
  use_machine camera
  ready_desktop 1
  pair camera "$round" T7105Cfg.exe 1 /d:2
  pair camera_auto "$round" T7105Cfg.exe 1 /d:2 /hz:auto
  pair patchreg "$round" T7105Cfg.exe 0 /patchreg
  printf '.'
done
echo

# The median of column $2 of file $1.
median() {
  sort -g -k"$2,$2" "$1" | awk -v c="$2" '{ v[NR] = $c }
    END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
milliseconds() { awk -v us="$1" 'BEGIN { printf "%.1f", us / 1000 }'; }
report() {
  local file=$T7105_WINE_ROOT/$2.times
  printf '%-40s %9s ms %9s ms %8s\n' "$1" "$(milliseconds "$(median "$file" 1)")" \
    "$(milliseconds "$(median "$file" 2)")" "$(median "$file" 3)"
}
yardstick="empty_gui.exe (a GUI program that only ends)"
[[ -z $against ]] || yardstick="$(basename "$against"), the same run"
echo "== Wall time of one run: wineserver up, desktop $desktop ($(wine_program --version 2>/dev/null), $rounds rounds)"
echo "   yardstick: $yardstick"
printf '%-40s %12s %12s %8s\n' "run" "median" "yardstick" "ratio"
report "T7105Cfg.exe /d:2, no camera" without_camera
report "T7105Cfg.exe /d:2, the simulated camera" camera
report "T7105Cfg.exe /d:2 /hz:auto, the camera" camera_auto
report "T7105Cfg.exe /patchreg" patchreg
