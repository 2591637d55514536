#!/usr/bin/env bash
# Builds T7105Cfg.exe from two copies of the source tree in different folders
# and compares the bytes: the executable must not depend on where it was built.
set -euo pipefail

source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for copy in first second/deeper; do
  mkdir -p "$work/$copy"
  tar -C "$source_dir" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$work/$copy" -xf -
  cmake -S "$work/$copy" --preset windows -B "$work/$copy/out" >/dev/null
  cmake --build "$work/$copy/out" --target T7105Cfg -j2 >/dev/null
done

first=$work/first/out/app/T7105Cfg.exe
second=$work/second/deeper/out/app/T7105Cfg.exe
if cmp "$first" "$second"; then
  echo "identical: $(sha256sum <"$first" | cut -d' ' -f1) ($(stat -c %s "$first") bytes)"
else
  echo "FAIL: the two builds differ"
  exit 1
fi
