#!/usr/bin/env bash
# Measures how much of the product code (app/, device/, capture/, region/) the
# native tests run: builds them with coverage counters, runs them, and reports
# lines and branches with gcovr. Fails below 100% of lines or 95% of
# branches. The report, file by file with the missing lines, is printed and
# left as HTML in the build folder (coverage/index.html).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${T7105_BUILD_DIR:-$root/build}/coverage
jobs=$(nproc)

"$root/scripts/install-deps.sh"

cmake -S "$root" --preset coverage -B "$build"
cmake --build "$build" -j"$jobs"
# Counts from an earlier run would be added to this one's.
find "$build" -name '*.gcda' -delete
# The static analysis tests run no product code.
ctest --test-dir "$build" --output-on-failure -j"$jobs" -E '^analysis\.'

filters=()
for folder in app device capture region; do filters+=(--filter "$root/$folder/"); done
mkdir -p "$build/coverage"
echo "== Coverage of the product code by the native tests"
gcovr --root "$root" "${filters[@]}" --exclude-unreachable-branches --branches \
  --txt --html-details "$build/coverage/index.html" --print-summary \
  --fail-under-line 100 --fail-under-branch 95 "$build"
