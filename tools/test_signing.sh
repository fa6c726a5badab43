#!/bin/sh
# make test-windows: signs a copy of the executable and of an installer with a
# certificate made here and now, through the same script make windows uses,
# and checks both signatures with osslsigncode.
#   test_signing.sh EXE MSI
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/tessaro-signing.XXXXXX")
trap 'rm -rf "$work"' EXIT
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tessaro Test/O=Velt" \
    -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
printf 'Geheim 1\n' >"$work/password"
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/cert.p12" \
    -passout "file:$work/password"
cp "$1" "$work/tessaro.exe"
cp "$2" "$work/tessaro.msi"
for f in "$work"/tessaro.*; do
    # unsigned without a certificate, signed with one
    SIGN_PKCS12= sh "$here/tools/sign_windows.sh" "$f" | grep -q unsigned
    SIGN_PKCS12="$work/cert.p12" SIGN_PASSWORD_FILE="$work/password" \
        sh "$here/tools/sign_windows.sh" "$f" | grep -q signed
    osslsigncode verify -CAfile "$work/cert.pem" -in "$f" >"$work/verify.out" 2>&1 ||
        { cat "$work/verify.out" >&2; echo "signing: $(basename "$f") does not verify" >&2; exit 1; }
    grep -q "Signature verification: ok" "$work/verify.out" ||
        { cat "$work/verify.out" >&2; echo "signing: $(basename "$f") not ok" >&2; exit 1; }
    echo "signing: $(basename "$f") signed and verified"
done
