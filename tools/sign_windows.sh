#!/bin/sh
# Signs a Windows executable or installer with Authenticode (Debian's
# osslsigncode) when a certificate is given, so that Windows and the practice's
# IT can tell who built it and that nothing changed it since.
#   sign_windows.sh FILE
# SIGN_PKCS12         the certificate with its private key (.p12 / .pfx)
# SIGN_PASSWORD_FILE  a file holding its password, or
# SIGN_PASSWORD       the password itself, from the environment
# SIGN_TIMESTAMP_URL  a timestamp server (optional), so that the signature
#                     outlives the certificate
# Without SIGN_PKCS12 the file stays unsigned, and this says so.
set -eu
file=$1
name=$(basename "$file")
if [ -z "${SIGN_PKCS12:-}" ]; then
    echo "$name: unsigned (no SIGN_PKCS12 given)"
    exit 0
fi
[ -f "$SIGN_PKCS12" ] || { echo "sign: no certificate at $SIGN_PKCS12" >&2; exit 1; }
# The password goes to osslsigncode in a file of our own, never on a command
# line that anyone on the machine could read.
umask 077
pass=$(mktemp "${TMPDIR:-/tmp}/tessaro-sign.XXXXXX")
trap 'rm -f "$pass" "$file.signed"' EXIT
if [ -n "${SIGN_PASSWORD_FILE:-}" ]; then
    head -n 1 "$SIGN_PASSWORD_FILE" | tr -d '\r\n' >"$pass"
else
    printf '%s' "${SIGN_PASSWORD:-}" >"$pass"
fi
set -- -pkcs12 "$SIGN_PKCS12" -readpass "$pass" -h sha256 -n "Velt - Tessaro"
[ -z "${SIGN_TIMESTAMP_URL:-}" ] || set -- "$@" -ts "$SIGN_TIMESTAMP_URL"
rm -f "$file.signed"
osslsigncode sign "$@" -in "$file" -out "$file.signed" >/dev/null
mv "$file.signed" "$file"
echo "$name: signed"
