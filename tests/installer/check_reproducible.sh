#!/usr/bin/env bash
# The package is the same bytes whenever and wherever it is made: makes it
# again, now, from a copy of the executable in another folder and with
# another date, and compares it with the build's. A difference is shown in
# the summary information and as the differing bytes.
#   check_reproducible.sh PACKAGE EXECUTABLE PACKAGE_SCRIPT
set -euo pipefail
package=$1 executable=$2 script=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/elsewhere"
cp "$executable" "$work/elsewhere/T7105Cfg.exe"
touch -d '2001-02-03 04:05:06' "$work/elsewhere/T7105Cfg.exe"
cmake -D EXECUTABLE="$work/elsewhere/T7105Cfg.exe" -D PACKAGE="$work/T7105Cfg.msi" -P "$script"

if cmp -s "$package" "$work/T7105Cfg.msi"; then
  echo "identical: $(sha256sum <"$package" | cut -d' ' -f1) ($(stat -c %s "$package") bytes)"
else
  echo "FAIL: the two packages differ"
  diff <(msiinfo suminfo "$package") <(msiinfo suminfo "$work/T7105Cfg.msi") || true
  cmp -l "$package" "$work/T7105Cfg.msi" | head -20 || true
  exit 1
fi
