#!/usr/bin/env bash
# Runs the benchmarks of the device search (tests/bench/) in a release build
# of the native code and prints their report: time per node on simulated
# machines of 1,000 to 100,000 device nodes, calls and heap allocations per
# search, and the hardware-ID walk in bytes per second. Arguments go to the
# benchmark program, e.g. scripts/bench.sh --benchmark_filter=no_camera
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${T7105_BUILD_DIR:-$root/build}/bench

"$root/scripts/install-deps.sh"
cmake -S "$root" --preset bench -B "$build" >/dev/null
cmake --build "$build" --target device_search_bench -j"$(nproc)"
"$build/tests/bench/device_search_bench" --benchmark_counters_tabular=true "$@"
