#!/usr/bin/env bash
# Makes T7105Cfg.exe, T7105Report.exe and their Windows Installer package
# ready for shipping, as copies of the build's: signed when a signer is given
# (Authenticode, SHA-256, with osslsigncode: the executables are signed,
# packaged, and the package signed), all signatures described by the
# product's name and timestamped when a timestamp authority is given, and the
# package with DEVICENUMBER or MAINSFREQUENCY preset when a device number or
# a mains frequency is given, for deployment tools that pass no properties;
# with --with-auto, beside it T7105Cfg-auto.msi, the same package of the same
# executables with MAINSFREQUENCY=auto preset (a release holds both). Beside
# them SHA256SUMS, their checksums in sha256sum's format (`sha256sum -c
# SHA256SUMS` in their folder checks them); it names every file made, and
# CI's Windows job and the release take the files from it. The build's own
# files stay as they are. All the files are written, or none: a failure
# leaves none behind.
#
#   scripts/package.sh [--device-number N] [--mains-frequency 50|60|auto | --with-auto]
#                      [SIGNER [--pass-file FILE] [--timestamp URL]] [--build DIR] [--out DIR]
#     --device-number N  the package presets DEVICENUMBER=N (0 to 999999999);
#                        a DEVICENUMBER on msiexec's command line still wins,
#                        unless empty, and the preset wins over the
#                        remembered value (as for MAINSFREQUENCY)
#     --mains-frequency 50|60|auto
#                        the package presets MAINSFREQUENCY: the camera is set
#                        for that mains frequency, whatever the region rule
#                        says, or with auto (any case) for the rule's answer
#                        corrected by the user's country and time zone
#     --with-auto        also T7105Cfg-auto.msi, with MAINSFREQUENCY=auto preset
#     --pfx FILE         SIGNER: the certificate and its private key, PKCS#12
#     --cert FILE --key FILE
#                        SIGNER: the certificate with its chain, and its private
#                        key (PEM or DER)
#     --pass-file FILE   the password of the PFX or of the key, on its first line
#     --timestamp URL    an RFC 3161 timestamp authority, so that the signatures
#                        stay valid after the certificate has expired
#     --build DIR        the Windows build (default build/windows; configured if new)
#     --out DIR          where the files go (default: DIR/shipping of the build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${T7105_BUILD_DIR:-$root/build}/windows
out=""
device_number=""
mains_frequency=""
with_auto=0
signer=()
password=()
timestamp=()
while (($#)); do
  case $1 in
  --device-number) device_number=${2:?--device-number needs a number}; shift ;;
  --mains-frequency) mains_frequency=${2:?--mains-frequency needs 50, 60 or auto}; shift ;;
  --with-auto) with_auto=1 ;;
  --pfx) signer+=(-pkcs12 "${2:?--pfx needs a file}"); shift ;;
  --cert) signer+=(-certs "${2:?--cert needs a file}"); shift ;;
  --key) signer+=(-key "${2:?--key needs a file}"); shift ;;
  --pass-file) password=(-readpass "${2:?--pass-file needs a file}"); shift ;;
  --timestamp) timestamp=(-ts "${2:?--timestamp needs a URL}"); shift ;;
  --build) build=${2:?--build needs a folder}; shift ;;
  --out) out=${2:?--out needs a folder}; shift ;;
  -h | --help) sed -n '2,37p' "$0"; exit 0 ;;
  *) echo "unknown option $1 (see --help)" >&2; exit 2 ;;
  esac
  shift
done
[[ -z $device_number || $device_number =~ ^[0-9]{1,9}$ ]] ||
  { echo "--device-number: a number from 0 to 999999999, not '$device_number'" >&2; exit 2; }
[[ ${mains_frequency,,} != auto ]] || mains_frequency=auto
[[ -z $mains_frequency || $mains_frequency =~ ^(50|60|auto)$ ]] ||
  { echo "--mains-frequency: 50 or 60 (hertz) or auto, not '$mains_frequency'" >&2; exit 2; }
((with_auto == 0)) || [[ -z $mains_frequency ]] ||
  { echo "--with-auto presets MAINSFREQUENCY=auto in a package of its own: not with --mains-frequency" >&2; exit 2; }
((${#signer[@]})) || ((${#password[@]} + ${#timestamp[@]} == 0)) ||
  { echo "--pass-file and --timestamp need a signer: --pfx, or --cert and --key" >&2; exit 2; }
out=${out:-$build/shipping}

[[ -f $build/CMakeCache.txt ]] ||
  cmake -S "$root" --preset windows -B "$build" >/dev/null
cmake --build "$build" --target T7105Cfg_package >/dev/null
product_name=$(msiinfo export "$build/app/T7105Cfg.msi" Property | tr -d '\r' |
  awk -F'\t' '$1 == "ProductName" { print $2 }')

# The executables that ship, from the build folder: each is signed, shipped
# beside the packages and named in SHA256SUMS, which CI's Windows job and the
# release follow, so that one added here is in the folder the Windows job runs
# and in the release with no other change (the package installs those its
# source lists).
executables=(app/T7105Cfg.exe report/T7105Report.exe)

mkdir -p "$out"
for file in "${executables[@]##*/}" T7105Cfg.msi T7105Cfg-auto.msi SHA256SUMS; do
  rm -f "$out/$file"
done
staging=$(mktemp -d "$out/.staging.XXXXXX")
trap 'rm -rf "$staging"' EXIT

# Signs $1 as $2, or copies it when there is no signer. The signing tool's
# own words when it fails.
sign() {
  if ((${#signer[@]} == 0)); then
    cp "$1" "$2"
  elif ! osslsigncode sign "${signer[@]}" "${password[@]}" "${timestamp[@]}" -h sha256 \
    -n "$product_name" -in "$1" -out "$2" >"$staging/osslsigncode.txt" 2>&1; then
    cat "$staging/osslsigncode.txt" >&2
    echo "signing $(basename "$2") failed: nothing written to $out" >&2
    return 1
  fi
}

# Packages the shipped executables as $1, signed, with $2 as MAINSFREQUENCY's
# preset.
package() {
  cmake -D EXECUTABLE="$staging/T7105Cfg.exe" -D REPORT="$staging/T7105Report.exe" \
    -D PACKAGE="$staging/unsigned.msi" \
    -D DEVICE_NUMBER="$device_number" -D MAINS_FREQUENCY="$2" \
    -P "$build/installer/package.cmake"
  sign "$staging/unsigned.msi" "$staging/$1"
  rm "$staging/unsigned.msi"
}

files=()
for executable in "${executables[@]}"; do
  sign "$build/$executable" "$staging/${executable##*/}"
  files+=("${executable##*/}")
done
package T7105Cfg.msi "$mains_frequency"
files+=(T7105Cfg.msi)
if ((with_auto)); then
  package T7105Cfg-auto.msi auto
  files+=(T7105Cfg-auto.msi)
fi
(cd "$staging" && sha256sum "${files[@]}" >SHA256SUMS)
files+=(SHA256SUMS)
mv "${files[@]/#/$staging/}" "$out/"
for file in "${files[@]}"; do echo "$out/$file"; done
