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
