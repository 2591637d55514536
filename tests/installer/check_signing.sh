#!/usr/bin/env bash
# Signing for shipping: makes a throwaway self-signed code-signing
# certificate (never kept), has scripts/package.sh sign with it, given once
# as a PFX with its password and once as a certificate and an encrypted key,
# and checks that the executable and the package verify against it, that the
# package holds the signed executable, and that the build's own files are
# left as they were.
#   check_signing.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
source_dir=$1 build=$2
# shellcheck source=../wine/lib/checks.sh
source "$(dirname "$0")/../wine/lib/checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# osslsigncode's verdict on a signed file, with the self-signed certificate
# as the trusted root; its whole report when it is not a pass.
verdict() {
  if osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.txt" 2>&1; then
    echo verified
  else
    cat "$work/verify.txt"
  fi
}

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

own_files() { sha256sum "$build/app/T7105Cfg.exe" "$build/app/T7105Cfg.msi"; }
before=$(own_files)
for way in pfx key; do
  signer=(--pfx "$work/signer.pfx")
  [[ $way == key ]] && signer=(--cert "$work/cert.pem" --key "$work/key.pem")
  "$source_dir/scripts/package.sh" "${signer[@]}" --pass-file "$work/password.txt" \
    --build "$build" --out "$work/$way" >"$work/package.txt" 2>&1 ||
    { cat "$work/package.txt"; check "package.sh with --$way" "exit 0" "failed"; continue; }
  check "executable signed with --$way" verified "$(verdict "$work/$way/T7105Cfg.exe")"
  check "package signed with --$way" verified "$(verdict "$work/$way/T7105Cfg.msi")"
  msiextract -C "$work/$way/extracted" "$work/$way/T7105Cfg.msi" >/dev/null
  check "packaged executable (--$way)" "the signed one" "$(cmp -s "$work/$way/T7105Cfg.exe" \
    "$(find "$work/$way/extracted" -name T7105Cfg.exe)" && echo "the signed one" || echo "another")"
done
check "the build's own files" "unchanged" "$([[ $(own_files) == "$before" ]] && echo unchanged || echo changed)"
checks_result
