#!/usr/bin/env bash
# Signs a Windows executable with a code-signing certificate (Authenticode,
# SHA-256) using osslsigncode.
#
#   tools/sign_kit.sh --pkcs12 <file.p12> (--password-file <file> | --password-env <NAME>)
#                     [--timestamp <RFC 3161 URL>] <input.exe> <output.exe>
#
# The certificate and its key come in one PKCS#12 file. Its password is read
# from a file (its first line) or from the environment variable NAME and is
# handed to osslsigncode on its standard input: it never appears on a command
# line, where every user of the machine could read it. Input and output may
# be the same file; the output is written beside its place first and only
# put there once signing succeeded, so a failed run leaves no half-signed kit.
set -euo pipefail

usage() {
    sed -n '2,6p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}
fail() { echo "sign_kit: $*" >&2; exit 1; }

pkcs12= password_file= password_env= timestamp=
while [ $# -gt 0 ]; do
    case $1 in
        --pkcs12) pkcs12=${2:?}; shift 2 ;;
        --password-file) password_file=${2:?}; shift 2 ;;
        --password-env) password_env=${2:?}; shift 2 ;;
        --timestamp) timestamp=${2:?}; shift 2 ;;
        -h|--help) usage ;;
        -*) echo "sign_kit: unknown option $1" >&2; usage ;;
        *) break ;;
    esac
done
[ $# -eq 2 ] || usage
input=$1 output=$2

[ -n "$pkcs12" ] || fail "no certificate: --pkcs12 is required"
[ -f "$pkcs12" ] || fail "certificate file $pkcs12 does not exist"
[ -f "$input" ] || fail "$input does not exist"
if [ -n "$password_file" ] && [ -n "$password_env" ]; then
    fail "give the password one way: --password-file or --password-env"
elif [ -n "$password_file" ]; then
    [ -r "$password_file" ] || fail "cannot read the password file $password_file"
    password=$(head -n 1 -- "$password_file")
elif [ -n "$password_env" ]; then
    [ -n "${!password_env+set}" ] || fail "the environment variable $password_env is not set"
    password=${!password_env}
else
    fail "no password: give --password-file or --password-env"
fi
command -v osslsigncode >/dev/null || fail "osslsigncode is not installed (bash tools/setup.sh)"

arguments=(sign -pkcs12 "$pkcs12" -readpass - -h sha256
           -n "Meridal - 2013" -in "$input")
[ -z "$timestamp" ] || arguments+=(-ts "$timestamp")

partial="$output.signing"
rm -f "$partial"
trap 'rm -f "$partial" "$partial.log"' EXIT
# printf is a shell builtin: the password goes down the pipe, not into argv.
if ! printf '%s' "$password" | osslsigncode "${arguments[@]}" -out "$partial" >"$partial.log" 2>&1; then
    cat "$partial.log" >&2
    rm -f "$partial.log"
    fail "signing $input failed"
fi
rm -f "$partial.log"
mv -f "$partial" "$output"
