#!/usr/bin/env bash
# Installs everything a fresh Debian 12 machine needs to build and test the suite.
# Idempotent: packages already present are left alone.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

packages=(
  cmake ninja-build g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 wine32:i386
  xvfb xauth x11-utils imagemagick
  fonts-nanum fonts-ipafont-gothic fonts-ipafont-mincho fonts-arphic-uming libfreetype-dev
  locales unicode-data libhangul-data edict bzip2 python3
  clang clang-14 libclang-rt-14-dev
  libhangul-dev  # benchmarks only: the peer of the input method's keystroke and dictionary benchmarks
  cups-daemon cups-client printer-driver-cups-pdf poppler-utils libcups2:i386
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine tests run with the Japanese locale so that the ANSI code page is 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf8$'; then
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen >/dev/null
fi

# 32-bit Windows programs need the 32-bit Wine loader, a 32-bit Linux program.
# Where the kernel refuses those, Debian's qemu-i386 interpreter runs them
# through binfmt_misc (flag F: the interpreter is opened now, so it also
# serves programs in other mount namespaces).  Where they run natively,
# nothing is touched.
wine32=/usr/lib/wine/wine
if ! "$wine32" --version >/dev/null 2>&1; then
  if ! dpkg-query -W -f='${Status}' qemu-user-static 2>/dev/null | grep -q "install ok installed"; then
    $SUDO apt-get install -y -q --no-install-recommends qemu-user-static
  fi
  binfmt=/proc/sys/fs/binfmt_misc
  if [ ! -e "$binfmt/register" ]; then
    $SUDO mount -t binfmt_misc binfmt_misc "$binfmt"
  fi
  if [ ! -e "$binfmt/qemu-i386" ]; then
    # The i386 ELF header (class 32, little-endian, executable or shared
    # object, machine 3), as qemu's own binfmt configuration gives it.
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
      $SUDO tee "$binfmt/register" >/dev/null
  fi
  if QEMU_RESERVED_VA=0x81000000 "$wine32" --version >/dev/null 2>&1; then
    echo "setup: 32-bit programs run through qemu-i386 (binfmt_misc)"
  else
    echo "setup: 32-bit programs cannot run here, even through qemu-i386; their tests will skip"
  fi
fi
echo "setup: all packages present"
