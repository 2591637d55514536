#!/usr/bin/env bash
# Shipping with scripts/package.sh: makes a throwaway self-signed
# code-signing certificate (never kept) and runs a timestamp authority on the
# loopback address (stopped at the end); signs with the certificate given
# once as a PFX with its password, timestamped and with a preset device
# number, and once as a certificate and an encrypted key with a preset mains
# frequency; and checks that the executable and the package verify against
# it, carry the product's name and the timestamp, that the package holds the
# signed executable and the presets, and that the build's own files are left
# as they were; and in each way that SHA256SUMS beside the two files checks
# them. A preset package needs no signer; a mains frequency that the package
# would refuse is refused at once, by package.sh and by package.cmake called
# directly; a timestamp authority that does not answer fails the
# script with the signing tool's words and leaves no file behind.
#   check_signing.sh SOURCE_DIR BUILD_DIR PRODUCT_NAME
set -uo pipefail
source_dir=$1 build=$2 product_name=$3
here=$(dirname "$0")
# shellcheck source=../wine/lib/checks.sh
source "$here/../wine/lib/checks.sh"
# shellcheck source=../wine/lib/installing.sh
source "$here/../wine/lib/installing.sh"
work=$(mktemp -d)
authority=""
trap '[[ -z $authority ]] || kill "$authority"; rm -rf "$work"' EXIT

# osslsigncode's verdict on a signed file, with the self-signed certificate
# and the timestamp authority's as the trusted roots: "verified", and
# "timestamped" when the timestamp verifies too; its whole report when the
# signature does not verify, "unsigned" when there is none. (Its exit code
# says nothing of the timestamp.)
verdict() {
  if osslsigncode verify -CAfile "$work/cert.pem" -TSA-CAfile "$work/tsa/tsa.pem" -in "$1" \
    >"$work/verify.txt" 2>&1; then
    grep -q '^Timestamp Server Signature verification: ok' "$work/verify.txt" &&
      echo "verified, timestamped" || echo verified
  elif grep -qi 'no signature' "$work/verify.txt"; then
    echo unsigned
  else
    cat "$work/verify.txt"
  fi
}

# The description that the signature of the file last verified carries.
description() { sed -n 's/^\tText description: //p' "$work/verify.txt"; }

make_certificate() {
  # openssl reads the input and output passwords from one file as two lines.
  printf 'throwaway password\n' | tee "$work/password-copy.txt" >"$work/password.txt"
  openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -subj "/CN=T7105Cfg test signer" \
    -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
    -passout "file:$work/password.txt" -keyout "$work/key.pem" -out "$work/cert.pem" &&
    openssl pkcs12 -export -in "$work/cert.pem" -inkey "$work/key.pem" \
      -passin "file:$work/password.txt" -passout "file:$work/password-copy.txt" \
      -out "$work/signer.pfx"
}
make_certificate >"$work/openssl.txt" 2>&1 || { cat "$work/openssl.txt"; echo "FAIL: no test certificate"; exit 1; }
mkdir "$work/tsa"
/usr/bin/python3 "$here/timestamp_authority.py" "$work/tsa" >"$work/tsa/url.txt" 2>"$work/tsa/log.txt" &
authority=$!
for _ in $(seq 50); do [[ -s $work/tsa/url.txt ]] && break; sleep 0.1; done
timestamp_url=$(cat "$work/tsa/url.txt")
[[ -n $timestamp_url ]] || { cat "$work/tsa/log.txt"; echo "FAIL: no timestamp authority"; exit 1; }

own_files() { sha256sum "$build/app/T7105Cfg.exe" "$build/app/T7105Cfg.msi"; }
before=$(own_files)
# way|package.sh's options|the signatures|the presets: device number, mains frequency
while IFS='|' read -r way options signatures number frequency; do
  # shellcheck disable=SC2086
  "$source_dir/scripts/package.sh" $options --build "$build" --out "$work/$way" \
    >"$work/package.txt" 2>&1 ||
    { cat "$work/package.txt"; check "package.sh ($way)" "exit 0" "failed"; continue; }
  check "sha256sum -c SHA256SUMS ($way)" "T7105Cfg.exe: OK T7105Cfg.msi: OK" \
    "$(cd "$work/$way" && sha256sum -c SHA256SUMS 2>&1 | paste -sd' ')"
  for file in T7105Cfg.exe T7105Cfg.msi; do
    check "$file ($way)" "$signatures" "$(verdict "$work/$way/$file")"
    [[ $signatures == unsigned* ]] ||
      check "$file's description ($way)" "$product_name" "$(description)"
  done
  check "preset DEVICENUMBER ($way)" "$number" \
    "$(package_property "$work/$way/T7105Cfg.msi" DEVICENUMBER)"
  check "preset MAINSFREQUENCY ($way)" "$frequency" \
    "$(package_property "$work/$way/T7105Cfg.msi" MAINSFREQUENCY)"
  msiextract -C "$work/$way/extracted" "$work/$way/T7105Cfg.msi" >/dev/null
  check "packaged executable ($way)" "the shipped one" "$(cmp -s "$work/$way/T7105Cfg.exe" \
    "$(find "$work/$way/extracted" -name T7105Cfg.exe)" && echo "the shipped one" || echo "another")"
done <<EOF_WAYS
pfx|--pfx $work/signer.pfx --pass-file $work/password.txt --timestamp $timestamp_url --device-number 7|verified, timestamped|7|
key|--cert $work/cert.pem --key $work/key.pem --pass-file $work/password.txt --mains-frequency 50|verified||50
preset|--device-number 3 --mains-frequency 60|unsigned|3|60
EOF_WAYS
check "the build's own files" "unchanged" "$([[ $(own_files) == "$before" ]] && echo unchanged || echo changed)"

# A mains frequency the package would refuse is refused before anything is made.
"$source_dir/scripts/package.sh" --mains-frequency 55 --build "$build" --out "$work/refused" \
  >"$work/package.txt" 2>&1
check "package.sh --mains-frequency 55" "exit 2" "exit $?"
check "its message" "--mains-frequency: 50 or 60 (hertz), not '55'" "$(cat "$work/package.txt")"
check "the files made" "none" "$([[ -e $work/refused ]] && ls -A "$work/refused" || echo none)"

# package.cmake, called directly, refuses a preset that is not what the
# package takes before it reaches the package's SQL.
for preset in "DEVICE_NUMBER=2') --" "DEVICE_NUMBER=0x10" "MAINS_FREQUENCY=55"; do
  cmake -D EXECUTABLE="$build/app/T7105Cfg.exe" -D PACKAGE="$work/direct.msi" -D "$preset" \
    -P "$build/installer/package.cmake" >"$work/package.txt" 2>&1
  if grep -q "${preset%%=*}: " "$work/package.txt" && [[ ! -e $work/direct.msi ]]; then
    check "package.cmake with $preset" refused refused
  else
    check "package.cmake with $preset" refused "$(cat "$work/package.txt")"
  fi
done

# Port 9 of the loopback address: no timestamp authority answers there. The
# files of the run before are gone too, so that none can pass for this run's.
"$source_dir/scripts/package.sh" --pfx "$work/signer.pfx" --pass-file "$work/password.txt" \
  --timestamp http://127.0.0.1:9/ --build "$build" --out "$work/pfx" >"$work/package.txt" 2>&1
check "package.sh with an unanswered timestamp URL" "exit 1" "exit $?"
check "its message" "RFC 3161 timestamping failed" \
  "$(grep -o 'RFC 3161 timestamping failed' "$work/package.txt" | head -n 1)"
rm -rf "$work/pfx/extracted"
check "the files left" "" "$(ls -A "$work/pfx")"
checks_result
