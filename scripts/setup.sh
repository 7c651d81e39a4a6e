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
  fp-utils  # chmcmd and chmls: the help files are compiled from HTML at build time
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
# Where the kernel refuses those, qemu-i386 runs them through binfmt_misc
# (flag F: the interpreter is opened now, so it also serves programs in other
# mount namespaces).  Where they run natively, nothing is touched.
#
# The emulator comes from bookworm-backports (qemu 10): bookworm's own qemu
# 7.2 loses the wake-up of a Wine thread that waits on the server while a
# second thread of the process starts, so a 32-bit program hangs for good in
# calls such as GetVolumeInformation (every file dialog makes it); qemu 10
# runs them.
binfmt=/proc/sys/fs/binfmt_misc
qemu_register() {
  [ -e "$binfmt/register" ] || $SUDO mount -t binfmt_misc binfmt_misc "$binfmt"
  # The i386 ELF header (class 32, little-endian, executable or shared
  # object, machine 3), as qemu's own binfmt configuration gives it.
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
    $SUDO tee "$binfmt/register" >/dev/null
}
qemu_major() {
  /usr/bin/qemu-i386-static --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\).*/\1/p'
}
qemu_from_backports() {
  local list=/etc/apt/sources.list.d/geulmaru-bookworm-backports.list
  if [ ! -f "$list" ]; then
    echo "deb http://deb.debian.org/debian bookworm-backports main" | $SUDO tee "$list" >/dev/null
  fi
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends -t bookworm-backports qemu-user-static
}
wine32=/usr/lib/wine/wine
emulated=0
grep -qx enabled "$binfmt/qemu-i386" 2>/dev/null && emulated=1
if [ "$emulated" = 1 ] || ! "$wine32" --version >/dev/null 2>&1; then
  if [ "$(qemu_major)" = "" ] || [ "$(qemu_major)" -lt 8 ]; then
    qemu_from_backports
    # A registration made before opened the old interpreter: make it again.
    if [ -e "$binfmt/qemu-i386" ]; then echo -1 | $SUDO tee "$binfmt/qemu-i386" >/dev/null; fi
  fi
  [ -e "$binfmt/qemu-i386" ] || qemu_register
  if QEMU_RESERVED_VA=0x81000000 "$wine32" --version >/dev/null 2>&1; then
    echo "setup: 32-bit programs run through qemu-i386 $(qemu_major) (binfmt_misc)"
  else
    echo "setup: 32-bit programs cannot run here, even through qemu-i386; their tests will skip"
  fi
fi
echo "setup: all packages present"
