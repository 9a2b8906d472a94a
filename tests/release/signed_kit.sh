#!/usr/bin/env bash
# Signs a copy of the kit with tools/sign_kit.sh and a throwaway self-signed
# certificate made here, and checks osslsigncode accepts the signature, the
# signature is all that changed and the resources are still the payload files.
#   tests/release/signed_kit.sh <kit exe> <Wine tests' kit exe> <out folder> <check_pe.py> <version> <payload folder>...
# Leaves a signed copy of the Wine tests' kit (the kit itself, or its x86_64
# twin on a host that runs no 32-bit code) as <out folder>/wine/MeridalUpgrade.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
kit=$1 wine_kit=$2 out=$3 check_pe=$4
shift 4
sign="$root/tools/sign_kit.sh"
rm -rf "$out"
mkdir -p "$out"
cd "$out"

printf 'parola de test\n' > password.txt
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
        -subj "/CN=Kit test signer" -addext extendedKeyUsage=codeSigning 2>/dev/null
openssl pkcs12 -export -inkey key.pem -in cert.pem -out signer.p12 -passout file:password.txt

verify() {
    osslsigncode verify -CAfile cert.pem -in "$1" >"$1.verify" 2>&1 || {
        cat "$1.verify" >&2; echo "signed_kit: osslsigncode rejects $1" >&2; exit 1; }
    echo "signature accepted: $1"
}

# The password from a file, then from the environment; the latter is the
# copy the Wine test runs.
bash "$sign" --pkcs12 signer.p12 --password-file password.txt "$kit" from-file.exe
verify from-file.exe
KIT_SIGN_PASSWORD='parola de test' bash "$sign" --pkcs12 signer.p12 \
    --password-env KIT_SIGN_PASSWORD "$kit" MeridalUpgrade.exe
verify MeridalUpgrade.exe

# A wrong password fails and leaves no kit that could pass for signed.
if KIT_SIGN_PASSWORD=gresit bash "$sign" --pkcs12 signer.p12 \
       --password-env KIT_SIGN_PASSWORD "$kit" wrong.exe 2>/dev/null; then
    echo "signed_kit: signing with a wrong password reported success" >&2
    exit 1
fi
[ ! -e wrong.exe ] || { echo "signed_kit: a failed signing left wrong.exe" >&2; exit 1; }

# Signing adds the signature and nothing else: without it the file is the
# unsigned kit again, byte for byte, and its resources are the payload files.
osslsigncode remove-signature -in MeridalUpgrade.exe -out unsigned-again.exe >/dev/null
cmp unsigned-again.exe "$kit" || { echo "signed_kit: the signed kit differs from $kit beyond its signature" >&2; exit 1; }
/usr/bin/python3 "$check_pe" kit MeridalUpgrade.exe "$@"

mkdir wine
if cmp -s "$wine_kit" "$kit"; then
    cp MeridalUpgrade.exe wine/MeridalUpgrade.exe
else
    KIT_SIGN_PASSWORD='parola de test' bash "$sign" --pkcs12 signer.p12 \
        --password-env KIT_SIGN_PASSWORD "$wine_kit" wine/MeridalUpgrade.exe
    verify wine/MeridalUpgrade.exe
fi
