#!/usr/bin/env bash
# Signs T7105Cfg.exe and its Windows Installer package for shipping: signs a
# copy of the executable, packages the signed copy, then signs the package
# (Authenticode, SHA-256, with osslsigncode). The build's own T7105Cfg.exe
# and T7105Cfg.msi stay unsigned and unchanged.
#
#   scripts/package.sh --pfx FILE [--pass-file FILE] [--build DIR] [--out DIR]
#   scripts/package.sh --cert FILE --key FILE [--pass-file FILE] [--build DIR] [--out DIR]
#     --pfx FILE        the certificate and its private key, PKCS#12
#     --cert FILE       the certificate, with its chain (PEM or DER)
#     --key FILE        its private key (PEM or DER)
#     --pass-file FILE  the password of the PFX or of the key, on its first line
#     --build DIR       the Windows build (default build/windows; configured if new)
#     --out DIR         where the signed files go (default: DIR/signed of the build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${T7105_BUILD_DIR:-$root/build}/windows
out=""
signer=()
password=()
while (($#)); do
  case $1 in
  --pfx) signer+=(-pkcs12 "${2:?--pfx needs a file}"); shift ;;
  --cert) signer+=(-certs "${2:?--cert needs a file}"); shift ;;
  --key) signer+=(-key "${2:?--key needs a file}"); shift ;;
  --pass-file) password=(-readpass "${2:?--pass-file needs a file}"); shift ;;
  --build) build=${2:?--build needs a folder}; shift ;;
  --out) out=${2:?--out needs a folder}; shift ;;
  -h | --help) sed -n '2,15p' "$0"; exit 0 ;;
  *) echo "unknown option $1 (see --help)" >&2; exit 2 ;;
  esac
  shift
done
((${#signer[@]})) || { echo "give --pfx, or --cert and --key (see --help)" >&2; exit 2; }
out=${out:-$build/signed}

[[ -f $build/CMakeCache.txt ]] ||
  cmake -S "$root" --preset windows -B "$build" >/dev/null
cmake --build "$build" --target T7105Cfg_package >/dev/null

sign() {
  rm -f "$2"
  osslsigncode sign "${signer[@]}" "${password[@]}" -h sha256 -in "$1" -out "$2" >/dev/null
}

mkdir -p "$out"
sign "$build/app/T7105Cfg.exe" "$out/T7105Cfg.exe"
cmake -D EXECUTABLE="$out/T7105Cfg.exe" -D PACKAGE="$out/unsigned.msi" \
  -P "$build/installer/package.cmake"
sign "$out/unsigned.msi" "$out/T7105Cfg.msi"
rm -f "$out/unsigned.msi"
echo "signed: $out/T7105Cfg.exe"
echo "signed: $out/T7105Cfg.msi"
