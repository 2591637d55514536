#!/usr/bin/env bash
# Runs every test: installs what is needed, then configures, builds and tests
# the native build, the native build under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the Windows build (under Wine).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${T7105_BUILD_DIR:-$root/build}
jobs=$(nproc)

"$root/scripts/install-deps.sh"

configure_and_build() {
  local dir=$1
  shift
  cmake -S "$root" -B "$build/$dir" "$@"
  cmake --build "$build/$dir" -j"$jobs"
}

configure_and_build native -DCMAKE_BUILD_TYPE=Debug
configure_and_build sanitized -DCMAKE_BUILD_TYPE=Debug -DT7105_SANITIZE=ON
configure_and_build windows -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"

for dir in native sanitized windows; do
  echo "== Tests: $dir build"
  ctest --test-dir "$build/$dir" --output-on-failure -j"$jobs"
done

# Hardening: the fuzz targets, each run briefly from its seeds (libFuzzer,
# clang only), then the product code's coverage by the native tests.
configure_and_build fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DT7105_FUZZ=ON
echo "== Tests: fuzz build"
ctest --test-dir "$build/fuzz" --output-on-failure -j"$jobs"
"$root/scripts/coverage.sh"
