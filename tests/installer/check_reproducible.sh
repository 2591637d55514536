#!/usr/bin/env bash
# The package is the same bytes whenever and wherever it is made: configures
# a copy of the source tree in another folder, makes the package there, now,
# from a copy of the executable dated otherwise, and compares it with the
# build's. A difference is shown in the summary information and as the
# differing bytes.
#   check_reproducible.sh SOURCE_DIR PACKAGE EXECUTABLE
set -euo pipefail
source_dir=$1 package=$2 executable=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

copy=$work/elsewhere/deeper
mkdir -p "$copy/src"
tar -C "$source_dir" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$copy/src" -xf -
cmake -S "$copy/src" -B "$copy/out" -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_TOOLCHAIN_FILE="$copy/src/cmake/mingw-w64-x86_64.cmake" >/dev/null
cp "$executable" "$copy/T7105Cfg.exe"
touch -d '2001-02-03 04:05:06' "$copy/T7105Cfg.exe"
cmake -D EXECUTABLE="$copy/T7105Cfg.exe" -D PACKAGE="$work/T7105Cfg.msi" \
  -P "$copy/out/installer/package.cmake"

if cmp -s "$package" "$work/T7105Cfg.msi"; then
  echo "identical: $(sha256sum <"$package" | cut -d' ' -f1) ($(stat -c %s "$package") bytes)"
else
  echo "FAIL: the two packages differ"
  diff <(msiinfo suminfo "$package") <(msiinfo suminfo "$work/T7105Cfg.msi") || true
  cmp -l "$package" "$work/T7105Cfg.msi" | head -20 || true
  exit 1
fi
