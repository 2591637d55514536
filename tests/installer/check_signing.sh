#!/usr/bin/env bash
# Shipping with scripts/package.sh: makes a throwaway self-signed
# code-signing certificate (never kept) and runs a timestamp authority on the
# loopback address (stopped at the end); signs with the certificate given
# once as a PFX with its password, timestamped and with --with-auto, as a
# release is made, and once as a certificate and an encrypted key with a
# preset mains frequency; and checks that the executables and the packages
# verify against it, carry the product's name and the timestamp, that each
# package holds the signed executables and its presets (T7105Cfg-auto.msi
# MAINSFREQUENCY=auto), and that the build's own files are left as they were;
# and in each way that SHA256SUMS beside the files checks them. A preset
# package needs no signer; a mains frequency that the package would refuse is
# refused at once, by package.sh and by package.cmake called directly; a
# timestamp authority that does not answer fails the script with the signing
# tool's words and leaves no file behind. The package's product and package
# codes follow the versions of the tools that make it, and the report's bytes.
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

own_files() { sha256sum "$build"/app/T7105Cfg.{exe,msi} "$build/report/T7105Report.exe"; }
before=$(own_files)
# A package's presets, as package.cmake keeps them: "device number, mains
# frequency".
presets() {
  echo "$(package_property "$1" PresetDeviceNumber), $(package_property "$1" PresetMainsFrequency)"
}

# way|package.sh's options|the signatures|the presets of T7105Cfg.msi|and of T7105Cfg-auto.msi, when made
while IFS='|' read -r way options signatures msi_presets auto_presets; do
  # shellcheck disable=SC2086
  "$source_dir/scripts/package.sh" $options --build "$build" --out "$work/$way" \
    >"$work/package.txt" 2>&1 ||
    { cat "$work/package.txt"; check "package.sh ($way)" "exit 0" "failed"; continue; }
  files=(T7105Cfg.exe T7105Report.exe T7105Cfg.msi)
  [[ -z $auto_presets ]] || files+=(T7105Cfg-auto.msi)
  check "the files made ($way)" "$(printf '%s\n' "${files[@]}" SHA256SUMS | sort | paste -sd' ')" \
    "$(find "$work/$way" -mindepth 1 -printf '%f\n' | sort | paste -sd' ')"
  check "sha256sum -c SHA256SUMS ($way)" "$(printf '%s: OK\n' "${files[@]}" | paste -sd' ')" \
    "$(cd "$work/$way" && sha256sum -c SHA256SUMS 2>&1 | paste -sd' ')"
  for file in "${files[@]}"; do
    check "$file ($way)" "$signatures" "$(verdict "$work/$way/$file")"
    [[ $signatures == unsigned* ]] ||
      check "$file's description ($way)" "$product_name" "$(description)"
    [[ $file == *.msi ]] || continue
    expected=$msi_presets
    [[ $file == T7105Cfg.msi ]] || expected=$auto_presets
    check "$file's presets ($way)" "$expected" "$(presets "$work/$way/$file")"
    msiextract -C "$work/$way.extracted/$file" "$work/$way/$file" >/dev/null
    for executable in T7105Cfg.exe T7105Report.exe; do
      check "$file's $executable ($way)" "the shipped one" "$(cmp -s "$work/$way/$executable" \
        "$(find "$work/$way.extracted/$file" -name "$executable")" && echo "the shipped one" || echo "another")"
    done
  done
done <<EOF_WAYS
pfx|--pfx $work/signer.pfx --pass-file $work/password.txt --timestamp $timestamp_url --with-auto|verified, timestamped|, |, auto
key|--cert $work/cert.pem --key $work/key.pem --pass-file $work/password.txt --mains-frequency 50|verified|, 50|
preset|--device-number 3 --mains-frequency 60|unsigned|3, 60|
auto|--device-number 7 --mains-frequency Auto|unsigned|7, auto|
with-auto|--device-number 2 --with-auto|unsigned|2, |2, auto
EOF_WAYS
check "the build's own files" "unchanged" "$([[ $(own_files) == "$before" ]] && echo unchanged || echo changed)"

# A mains frequency the package would refuse, or two for one package, is
# refused before anything is made.
while IFS='|' read -r options message; do
  # shellcheck disable=SC2086
  "$source_dir/scripts/package.sh" $options --build "$build" --out "$work/refused" \
    >"$work/package.txt" 2>&1
  check "package.sh $options" "exit 2" "exit $?"
  check "its message" "$message" "$(cat "$work/package.txt")"
  check "the files made" "none" "$([[ -e $work/refused ]] && ls -A "$work/refused" || echo none)"
done <<EOF_REFUSED
--mains-frequency 55|--mains-frequency: 50 or 60 (hertz) or auto, not '55'
--mains-frequency autox|--mains-frequency: 50 or 60 (hertz) or auto, not 'autox'
--with-auto --mains-frequency 60|--with-auto presets MAINSFREQUENCY=auto in a package of its own: not with --mains-frequency
EOF_REFUSED

# package.cmake, called directly, refuses a preset that is not what the
# package takes before it reaches the package's SQL.
for preset in "DEVICE_NUMBER=2') --" "DEVICE_NUMBER=0x10" "MAINS_FREQUENCY=55" \
  "MAINS_FREQUENCY=autox"; do
  cmake -D EXECUTABLE="$build/app/T7105Cfg.exe" -D REPORT="$build/report/T7105Report.exe" \
    -D PACKAGE="$work/direct.msi" -D "$preset" -P "$build/installer/package.cmake" \
    >"$work/package.txt" 2>&1
  if grep -q "${preset%%=*}: " "$work/package.txt" && [[ ! -e $work/direct.msi ]]; then
    check "package.cmake with $preset" refused refused
  else
    check "package.cmake with $preset" refused "$(cat "$work/package.txt")"
  fi
done

# The product and package codes follow the tools' versions and the report's
# bytes: a package made with a wixl or an msiinfo that reports another
# version (a wrapper that runs the real tool otherwise), or of the report with
# 512 more bytes at its end, is another product, whose codes differ from
# those of the package the build's tools make of the build's files, which are
# the build's own.
codes() { echo "$(package_property "$1" ProductCode) $(msiinfo suminfo "$1" | sed -n 's/^Revision number (UUID): //p')"; }
make_package() {
  cmake -D EXECUTABLE="$build/app/T7105Cfg.exe" -D REPORT="$build/report/T7105Report.exe" \
    -D PACKAGE="$work/tools/$1.msi" "${@:2}" -P "$build/installer/package.cmake" \
    >"$work/tools/$1.txt" 2>&1 ||
    cat "$work/tools/$1.txt"
}
mkdir "$work/tools"
make_package same
build_codes=$(codes "$build/app/T7105Cfg.msi")
check "the build's tools: the build's codes" "$build_codes" "$(codes "$work/tools/same.msi")"
# "yes" when $2 is a code and not $1; what it is otherwise.
differs() { [[ -n $2 && $2 != "$1" ]] && echo yes || echo "${2:-(none)}"; }
for tool in wixl msiinfo; do
  cat >"$work/tools/$tool" <<EOF_WRAPPER
#!/bin/sh
[ "\$1" != --version ] || { echo "$tool 0.0"; exit 0; }
exec $(command -v "$tool") "\$@"
EOF_WRAPPER
  chmod +x "$work/tools/$tool"
done
cp "$build/report/T7105Report.exe" "$work/tools/T7105Report.exe"
truncate -s +512 "$work/tools/T7105Report.exe"
while IFS='|' read -r other define; do
  make_package "${define%%=*}" -D "$define"
  actual=$(codes "$work/tools/${define%%=*}.msi")
  check "another $other: another product code" yes "$(differs "${build_codes% *}" "${actual% *}")"
  check "another $other: another package code" yes "$(differs "${build_codes#* }" "${actual#* }")"
done <<EOF_OTHERS
wixl version|T7105_WIXL=$work/tools/wixl
msiinfo version|T7105_MSIINFO=$work/tools/msiinfo
report|REPORT=$work/tools/T7105Report.exe
EOF_OTHERS

# Port 9 of the loopback address: no timestamp authority answers there. The
# files of the run before are gone too, so that none can pass for this run's.
"$source_dir/scripts/package.sh" --pfx "$work/signer.pfx" --pass-file "$work/password.txt" \
  --timestamp http://127.0.0.1:9/ --build "$build" --out "$work/pfx" >"$work/package.txt" 2>&1
check "package.sh with an unanswered timestamp URL" "exit 1" "exit $?"
check "its message" "RFC 3161 timestamping failed" \
  "$(grep -o 'RFC 3161 timestamping failed' "$work/package.txt" | head -n 1)"
check "the files left" "" "$(ls -A "$work/pfx")"
checks_result
