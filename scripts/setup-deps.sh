#!/usr/bin/env bash
# Installs the Debian packages the builds and test suites need, only when missing
# (libclang-rt-14-dev: the fuzzing and sanitizer runtimes, which clang only recommends).
# The shipping Stats.dll is a 32-bit program's plug-in, so its suite needs
# 32-bit wine next to wine64: wine32 and libwine from the i386 architecture,
# at exactly the installed wine64's version (wine64 hands a 32-bit program to
# wine32's loader, and the two must match).
set -euo pipefail
pkgs=(cmake ninja-build g++ make libgtest-dev googletest
      g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
      clang libclang-rt-14-dev wine64 xvfb fonts-wine hamradio-files)
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
installed() { dpkg-query -W -f='${Status} ${Version}' "$1" 2>/dev/null | grep -q "^install ok installed ${2:-}"; }
apt_updated=""
apt_install() {
  echo "installing: $*"
  [ -n "$apt_updated" ] || { $SUDO apt-get update -qq; apt_updated=1; }
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$@"
}

missing=()
for p in "${pkgs[@]}"; do installed "$p" || missing+=("$p"); done
[ ${#missing[@]} -eq 0 ] || apt_install "${missing[@]}"

wine_version=$(dpkg-query -W -f='${Version}' wine64)
if ! installed wine32:i386 "$wine_version" || ! installed libwine:i386 "$wine_version"; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    apt_updated=""
  fi
  apt_install "wine32:i386=$wine_version" "libwine:i386=$wine_version"
fi

# Can this machine start a 32-bit program? Most kernels run them natively;
# some virtual machines' kernels refuse them ("Exec format error"). There they
# run through qemu's user-mode x86 emulator, registered with the kernel for
# 32-bit x86 programs. Debian 12's qemu 7.2 takes about 50 s to start each
# wine process (its address-space search is slow for wine's reservations), so
# the emulator comes from bookworm-backports (qemu 10: a fraction of a second).
runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
register_qemu_i386() {
  local binfmt=/proc/sys/fs/binfmt_misc qemu=/usr/bin/qemu-i386-static
  if ! [ -x "$qemu" ] || ! "$qemu" --version | grep -Eq 'version ([89]|[1-9][0-9])\.'; then
    if ! apt-cache policy qemu-user-static | grep -q bookworm-backports; then
      echo "deb http://deb.debian.org/debian bookworm-backports main" |
        $SUDO tee /etc/apt/sources.list.d/bookworm-backports.list >/dev/null
      apt_updated=""
    fi
    [ -n "$apt_updated" ] || { $SUDO apt-get update -qq; apt_updated=1; }
    echo "installing: qemu-user-static (bookworm-backports)"
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
      -t bookworm-backports qemu-user-static
  fi
  [ -e $binfmt/register ] || $SUDO mount -t binfmt_misc binfmt_misc $binfmt
  # "F" opens the emulator now, so a reinstalled one needs a new entry.
  [ -e $binfmt/qemu-i386 ] && echo -1 | $SUDO tee $binfmt/qemu-i386 >/dev/null
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' |
    $SUDO tee $binfmt/register >/dev/null
}
if ! runs_32bit; then
  echo "this kernel does not start 32-bit programs; running them through qemu's x86 emulator"
  register_qemu_i386 || true
fi
# The guard: without 32-bit programs the shipping DLL's suite cannot run, and
# that must not pass unseen.
if ! runs_32bit; then
  echo "this machine cannot start 32-bit programs, natively or emulated:" >&2
  /usr/lib/wine/wine --version >&2 || true
  echo "the suite of the 32-bit Stats.dll cannot run here" >&2
  exit 1
fi
