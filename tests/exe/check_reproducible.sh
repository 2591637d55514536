#!/usr/bin/env bash
# Builds T7105Cfg.exe, T7105Report.exe and T7105Cfg.msi from two copies of
# the source tree in different folders, one after the other, and compares the
# bytes: none may depend on where or when it was built. A package that differs is shown in
# its summary information and as the differing bytes.
#   check_reproducible.sh SOURCE_DIR
set -euo pipefail

source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for copy in first second/deeper; do
  mkdir -p "$work/$copy"
  tar -C "$source_dir" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$work/$copy" -xf -
  cmake -S "$work/$copy" --preset windows -B "$work/$copy/out" >/dev/null
  cmake --build "$work/$copy/out" --target T7105Cfg T7105Report T7105Cfg_package -j2 >/dev/null
done

failed=0
for file in app/T7105Cfg.exe report/T7105Report.exe app/T7105Cfg.msi; do
  first=$work/first/out/$file
  second=$work/second/deeper/out/$file
  if cmp -s "$first" "$second"; then
    echo "identical $file: $(sha256sum <"$first" | cut -d' ' -f1) ($(stat -c %s "$first") bytes)"
  else
    echo "FAIL: the two builds of $file differ"
    [[ $file != *.msi ]] || diff <(msiinfo suminfo "$first") <(msiinfo suminfo "$second") || true
    cmp -l "$first" "$second" | head -20 || true
    failed=1
  fi
done
exit $failed
