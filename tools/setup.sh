#!/usr/bin/env bash
# Installs what building and testing the kit needs on Debian 12, only what
# is missing: the MinGW-w64 cross-compilers, 32-bit and 64-bit Wine (the
# latter for hosts that run no 32-bit code) with its own fonts (the caption
# buttons' Marlett), Xvfb, clang with libFuzzer, the
# independent readers the tests use, and the Romanian locale.
source "$(dirname "$0")/fail_loudly.sh"

packages=(
  cmake g++ make libgtest-dev libgmock-dev clang-14 libclang-rt-14-dev clang-format
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 fonts-wine xvfb xauth xdotool imagemagick x11-apps
  python3 python3-dbfread python3-pefile unrtf poppler-utils
  libreoffice-writer-nogui fonts-liberation2 locales
  osslsigncode openssl  # signing the kit, and the signing test's certificate
)

if [ "$(id -u)" != 0 ]; then SUDO=sudo; else SUDO=; fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  # wine32 is an i386 package.
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# A Romanian regional setting (decimal ",") for the locale test.
if ! locale -a 2>/dev/null | grep -qix 'ro_RO.utf8'; then
  $SUDO localedef -i ro_RO -f UTF-8 ro_RO.UTF-8
fi
echo "setup: all tools present"
