#!/usr/bin/env bash
# The program's main job. For now this builds T7105Cfg.exe and says where it is;
# running it against a simulated camera under Wine comes with the Wine suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build/windows" -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$root/build/windows" --target T7105Cfg -j"$(nproc)"
echo "Built $root/build/windows/app/T7105Cfg.exe (running it against a simulated camera is not wired up yet)."
