#!/usr/bin/env bash
# The program's main job, shown end to end: installs what it needs, builds
# T7105Cfg.exe, makes a private Wine prefix with a simulated camera, runs the
# program with the switches given, and reports what happened.
#
#   scripts/demo.sh [options] [switches...]      (default switches: /d:2)
#     --tz ZONE        time zone of the run (default Asia/Seoul)
#     --country CODE   the user's country, three letters (default KOR)
#     --no-camera      no camera on the machine
#     --keep           keep the prefix afterwards (its wineserver is stopped)
#     --logon          the way a machine gets it instead: installs T7105Cfg.msi
#                      with DEVICENUMBER=2 (no switches then), simulates the
#                      user's next logon, and reports the Run value the package
#                      left, what the camera received and the Run value after
#     --report         runs T7105Report.exe with the switches instead (none: it
#                      reports on the logon entry, T7105Cfg.exe /d:2), with
#                      T7105Cfg.exe in the System folder, and prints its report
#   For example: scripts/demo.sh --tz America/Argentina/Buenos_Aires --country ARG /hz:auto
#   (/hz:auto corrects the region rule there: class 1, where the rule alone gives 2)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
wine_tests=$root/tests/wine
# shellcheck source=../tests/wine/lib/wine.sh
source "$wine_tests/lib/wine.sh"
# shellcheck source=../tests/wine/lib/fixtures.sh
source "$wine_tests/lib/fixtures.sh"
# shellcheck source=../tests/wine/lib/apply.sh
source "$wine_tests/lib/apply.sh"
# shellcheck source=../tests/wine/lib/checks.sh
source "$wine_tests/lib/checks.sh"
# shellcheck source=../tests/wine/lib/machines.sh
source "$wine_tests/lib/machines.sh"
# shellcheck source=../tests/wine/lib/installing.sh
source "$wine_tests/lib/installing.sh"

zone=Asia/Seoul
country=KOR
camera=yes
keep=no
logon=no
report=no
switches=()
while (($#)); do
  case $1 in
  --tz) zone=${2:?--tz needs a zone}; shift ;;
  --country) country=${2:?--country needs a code}; shift ;;
  --no-camera) camera=no ;;
  --keep) keep=yes ;;
  --logon) logon=yes ;;
  --report) report=yes ;;
  -h | --help) sed -n '2,19p' "$0"; exit 0 ;;
  --*) echo "unknown option $1" >&2; exit 2 ;;
  *) switches+=("$1") ;;
  esac
  shift
done
[[ $logon == no || ${#switches[@]} == 0 ]] ||
  { echo "--logon takes no switches: the package's entry gives them" >&2; exit 2; }
[[ $logon == no || $report == no ]] || { echo "--logon or --report, not both" >&2; exit 2; }
((${#switches[@]})) || [[ $report == yes ]] || switches=(/d:2)
[[ -n ${GEO_ID[$country]:-} ]] ||
  { echo "--country: one of ${!GEO_ID[*]}" >&2; exit 2; }

build=${T7105_BUILD_DIR:-$root/build}/windows
export T7105_WINE_ROOT=$build/tests/wine/demo
export T7105_TEST_BIN=$build/tests/wine
export T7105_EXE=$build/app/T7105Cfg.exe
export T7105_REPORT=$build/report/T7105Report.exe
msi_package=$build/app/T7105Cfg.msi
entry_before='T7105Cfg.exe /d:2'
targets=(T7105Cfg T7105Report t7105_camera t7105_cfgmgr32 reg_value machine_probe camera_probe
  region_probe mains_decision_probe)
if [[ $logon == yes ]]; then
  entry_before=absent
  targets+=(T7105Cfg_package process_wait)
fi

step() { printf '== %s\n' "$*"; }

step "Installing what is needed (Debian packages)"
"$root/scripts/install-deps.sh" demo

step "Building T7105Cfg.exe and the simulated camera"
cmake -S "$root" --preset windows -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}" >/dev/null

step "Making a private Wine prefix with a simulated camera"
mkdir -p "$T7105_WINE_ROOT"
setup_log=$T7105_WINE_ROOT/setup.log
start=$(now_ms)
bash "$wine_tests/prefix.sh" setup >"$setup_log" 2>&1 &
setup=$!
printf '   booting Wine in %s ' "$T7105_WINE_ROOT/prefix"
while kill -0 "$setup" 2>/dev/null; do
  printf '.'
  sleep 1
done
wait "$setup" || { echo; cat "$setup_log"; echo "the prefix could not be made" >&2; exit 1; }
printf ' ready in %d s\n' $((($(now_ms) - start) / 1000))
stop_prefix() {
  if [[ $keep == yes ]]; then
    WINEPREFIX=$T7105_WINE_ROOT/prefix "$WINESERVER" -k >/dev/null 2>&1 || true
  else
    bash "$wine_tests/prefix.sh" cleanup >/dev/null 2>&1 || true
  fi
}
trap stop_prefix EXIT

wine_environment "$T7105_WINE_ROOT/prefix"
scenario_folder demo
fixture_begin "$SCENARIO_DIR/state.reg"
scanner_device
if [[ $camera == yes ]]; then
  camera_device
  camera_sources
fi
fixture_run_value "$entry_before"
fixture_country "$country"
printf '   setting up the machine: devices, capture sources, logon entry, country\n'
fixture_apply 2>"$SCENARIO_DIR/setup-errors.txt" ||
  { cat "$SCENARIO_DIR/setup-errors.txt"; echo "the set-up did not take" >&2; exit 1; }
region_apply "$zone" "$country" ||
  { echo "the time zone and country did not take" >&2; exit 1; }
bias=$(sed -n 's/^bias=\([^ ]*\).*/\1/p' <<<"$REGION_SEEN")
before=$(run_value_line)

# The Run value as reg_value printed it, in words.
describe_entry() {
  [[ $1 == missing ]] && { echo "absent"; return; }
  local size=${1#*size=}
  printf '"%s" (REG_SZ, %s bytes with the NUL)' "$(entry_text "$1")" "${size%% *}"
}

# The text of a Run value as reg_value printed it.
entry_text() {
  printf '%b' "$(sed 's/.*bytes=//; s/00$//; s/../\\x&/g' <<<"$1")"
}

# The report, as a deployer runs it on the machine, and what it changed.
if [[ $report == yes ]]; then
  cp "$T7105_EXE" "$WINEPREFIX/drive_c/windows/system32/"
  step "Running T7105Report.exe ${switches[*]:-(no switches: it reports on the logon entry)}"
  rm -f "$CAMERA_LOG"
  report_exit=0
  TZ=$zone wine_program "$T7105_WINE_ROOT/bin/T7105Report.exe" "${switches[@]}" \
    >"$SCENARIO_DIR/report.txt" 2>&1 || report_exit=$?
  touch "$CAMERA_LOG"
  echo
  tr -d '\r' <"$SCENARIO_DIR/report.txt"
  echo
  step "What the report changed"
  cat <<EOF
exit code:        $report_exit (0: T7105Cfg.exe would write the property; docs/installing.md lists the others)
Run value before: $(describe_entry "$before")
Run value after:  $(describe_entry "$(run_value_line)")
property writes:  $(camera_events set | grep -c .)
EOF
  exit 0
fi

if [[ $logon == yes ]]; then
  step "Installing T7105Cfg.msi: msiexec /i T7105Cfg.msi /qn DEVICENUMBER=2"
  place_configuration_manager
  package_install "$msi_package" DEVICENUMBER=2 >/dev/null
  installed=$(run_value_line)
  step "The user's next logon: wineboot runs the Run values"
  TZ=$zone logon >/dev/null
else
  step "Running T7105Cfg.exe ${switches[*]}"
  TZ=$zone run_program "${switches[@]}" >/dev/null
fi
after=$(run_value_line)


# What decides the class, as the program's own code reads the switches of the
# run: those given, or at a logon those of the entry the package left.
decided_by=("${switches[@]}")
if [[ $logon == yes ]]; then
  decided_by=()
  [[ $installed == missing ]] || read -ra decided_by <<<"$(entry_text "$installed")"
  decided_by=("${decided_by[@]:1}")
fi
TZ=$zone wine_program "$T7105_TEST_BIN/mains_decision_probe.exe" "${decided_by[@]}" \
  >"$SCENARIO_DIR/decision.txt"
decision=$(tr -d '\r' <"$SCENARIO_DIR/decision.txt")
rule_class=$(sed -n 's/^rule=//p' <<<"$decision")

# A bias in minutes (UTC = local time + bias) as a UTC offset.
describe_bias() {
  local bias=$1 sign=+
  ((bias > 0)) && sign=-
  bias=${bias#-}
  printf 'UTC%s%02d:%02d' "$sign" $((bias / 60)) $((bias % 60))
}

describe_installed() {
  [[ -e $(installed_program) ]] || { echo "no program in the System folder"; return; }
  echo 'C:\windows\system32\T7105Cfg.exe'
}

describe_exit() {
  case $1 in
  1) echo "1: the capture source was opened and the property write attempted" ;;
  0) echo "0: no capture source was opened (nothing found or bound, or /patchreg)" ;;
  *) echo "$1: not an exit code the program gives" ;;
  esac
}

# The FriendlyName of the capture source with a CameraId.
source_name() {
  local line
  for line in "${FIXTURE_CAMERA_LINES[@]}"; do
    [[ $line == "source id=$1 name="* ]] && { echo "${line#*name=}"; return; }
  done
  echo "$1"
}

# What decided the class, as the decision probe told it.
describe_decision() {
  local decided where="on the command line" field country bias hertz
  decided=$(sed -n 's/^decided=//p' <<<"$decision")
  [[ $logon == yes ]] && where="in the logon entry"
  for field in $decided; do
    case $field in
    country=*) country=${field#*=} ;;
    bias=*) bias=${field#*=} ;;
    hertz=*) hertz=${field#*=} ;;
    esac
  done
  case $decided in
  switch*)
    printf '/hz:%s %s, without asking the region rule (it gives class %s here)\n' \
      "$hertz" "$where" "$rule_class" ;;
  correction*)
    printf '/hz:auto %s: the correction for %s at bias %s (%s Hz mains), over the region rule'"'"'s class %s\n' \
      "$where" "$country" "$bias" "$hertz" "$rule_class" ;;
  *auto=yes)
    printf '/hz:auto %s: no correction for this country at this bias; the region rule, from the time zone and country above\n' \
      "$where" ;;
  *) printf 'the region rule, from the time zone and country above\n' ;;
  esac
}

describe_writes() {
  local writes line block class
  writes=$(camera_events set)
  if [[ -z $writes ]]; then
    echo "   nothing"
    return
  fi
  while read -r line; do
    block=$(camera_field data "$line")
    class=$((16#${block:48:2}))
    printf '   "%s": set %s, property %s\n' "$(source_name "$(camera_field camera "$line")")" \
      "$(camera_field set "$line")" "$(camera_field id "$line")"
    printf '   instance data %s bytes, property data %s bytes, answer %s\n' \
      "$(camera_field instance_length "$line")" "$(camera_field data_length "$line")" \
      "$(camera_field answer "$line")"
    case $class in
    1) printf '   frequency class 1: 50 Hz\n' ;;
    2) printf '   frequency class 2: 60 Hz\n' ;;
    *) printf '   frequency class %d: unexpected\n' "$class" ;;
    esac
    printf '   decided by: %s\n' "$(describe_decision)"
    printf '   the 72 bytes:\n'
    fold -w 48 <<<"$block" | sed 's/../ &/g' | awk '{printf "     %2d:%s\n", (NR - 1) * 24, $0}'
  done <<<"$writes"
}

echo
step "Report"
if [[ $logon == yes ]]; then
  cat <<EOF
package:          $msi_package
installed:        msiexec exit $MSI_EXIT in $MSI_MS ms, $(describe_installed)
Run value before: $(describe_entry "$before")
Run value left:   $(describe_entry "$installed")
the next logon:   wineboot started the Run values; they ran and ended: $LOGON_MS ms in all
Run value after:  $(describe_entry "$after")
on Windows:       stays at logons with a standard user token (standard users, administrators in UAC's Admin Approval Mode), configuring the camera at each; goes, as here under Wine, at the first logon with full administrator rights (by default the built-in Administrator's; any administrator's with UAC off): docs/installing.md
EOF
else
  cat <<EOF
command line:     T7105Cfg.exe ${switches[*]}
exit code:        $(describe_exit "$RUN_EXIT")
Run value before: $(describe_entry "$before")
Run value after:  $(describe_entry "$after")
EOF
fi
cat <<EOF
time zone:        $zone: bias $bias minutes, $(describe_bias "$bias"), as the program reads it
country:          $country (geo id ${GEO_ID[$country]})
region rule:      class $rule_class ($([[ $rule_class == 2 ]] && echo 60 || echo 50) Hz) for this time zone and country
camera:           $([[ $camera == yes ]] && echo "present, driver description \"$CAMERA_DESC\"" || echo "none")
EOF
if [[ $logon == no ]]; then
  printed=$(cat "$RUN_OUT" "$RUN_ERR")
  cat <<EOF
the run took:     $RUN_MS ms
printed:          ${printed:-nothing}
EOF
fi
echo "the camera received:"
describe_writes
