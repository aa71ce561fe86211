#!/usr/bin/env bash
# Installs the Debian packages the builds and test suites need, only when missing
# (libclang-rt-14-dev: the fuzzing and sanitizer runtimes, which clang only recommends;
# chromium and a font: the browser test of stats-host's contest page).
# The shipping Stats.dll is a 32-bit program's plug-in, so its suite needs
# 32-bit wine next to wine64: wine32 and libwine from the i386 architecture,
# at exactly the installed wine64's version (wine64 hands a 32-bit program to
# wine32's loader, and the two must match).
set -euo pipefail
pkgs=(cmake ninja-build g++ make libgtest-dev googletest
      g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
      clang libclang-rt-14-dev wine64 xvfb fonts-wine hamradio-files chromium fonts-dejavu-core)
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
installed() { dpkg-query -W -f='${Status} ${Version}' "$1" 2>/dev/null | grep -q "^install ok installed ${2:-}"; }
apt_updated=""
# A mirror in the middle of a sync fails an index now and then; the lists
# that did arrive still serve, and a package really missing fails the install.
apt_update() {
  [ -z "$apt_updated" ] || return 0
  $SUDO apt-get update -qq || { sleep 5; $SUDO apt-get update -qq; } ||
    echo "apt-get update failed for some sources; going on with the lists it has" >&2
  apt_updated=1
}
apt_install() {
  echo "installing: $*"
  apt_update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$@"
}

missing=()
for p in "${pkgs[@]}"; do installed "$p" || missing+=("$p"); done
[ ${#missing[@]} -eq 0 ] || apt_install "${missing[@]}"

# A Multi-Arch "same" library has one version on both architectures. When a
# source's i386 index did not arrive (a mirror caught in a sync), the i386
# twins of amd64 libraries installed from that source have no such version,
# and apt's resolver gives up ("generated breaks"). Then every twin wine32
# needs is named at a version both architectures offer: the installed amd64
# one where i386 has it, else the newest i386 one, which the amd64 library
# and the installed packages built with it from the same source move to
# (mostly the release's newer point version; where it is a step back from a
# security update, the list below says so, and the next upgrade restores it
# once the mirror serves the whole index). Nothing is removed.
versions() {  # "name version" for each version apt knows of the packages given
  apt-cache madison "$@" | awk -F'|' '{gsub(/ /, ""); sub(/:[a-z0-9]+$/, "", $1); print $1, $2}'
}
shared_versions() {
  local closure inst twins i386 moves avail
  closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
              --no-replaces --no-enhances "$@" 2>/dev/null | sed -n 's/^\([^ ].*\):i386$/\1/p' | sort -u)
  # name arch multi-arch version source, of the installed packages that are not i386
  inst=$(dpkg-query -W -f='${db:Status-Abbrev} ${Package} ${Architecture} ${Multi-Arch} ${Version} ${source:Package}\n' |
           awk '$1 == "ii" && $3 != "i386" {print $2, $3, $4, $5, $6}' | sort)
  twins=$(join <(echo "$closure") <(echo "$inst" | awk '$2 == "amd64" && $3 == "same" {print $1, $4, $5}'))
  [ -n "$twins" ] || return 0
  i386=$(versions $(echo "$twins" | awk '{print $1 ":i386"}'))
  moves=$(echo "$twins" | while read -r p v src; do
      if echo "$i386" | grep -qxF "$p $v"; then echo "$p:i386 $v"; continue; fi
      w=$(echo "$i386" | awk -v p="$p" '$1 == p {print $2; exit}')
      [ -n "$w" ] || continue
      echo "$inst" | awk -v src="$src" -v v="$v" -v w="$w" \
        '$5 == src && $4 == v {print $1 ($2 == "all" ? "" : ":" $2), w}'
      echo "$p:i386 $w"
    done | sort -u)
  avail=$(versions $(echo "$moves" | awk '{print $1}') | sort -u)
  # Only versions apt has for that architecture: "name:arch version" -> "name:arch=version".
  awk 'NR == FNR { have[$1 " " $2] = 1; next }
       { name = $1; sub(/:[a-z0-9]+$/, "", name); if (have[name " " $2]) print $1 "=" $2 }' \
    <(echo "$avail") <(echo "$moves")
}
install_wine32() {
  apt_install "$@" && return 0
  echo "apt cannot match the i386 libraries wine32 needs to the installed amd64 ones;" >&2
  echo "installing them at versions both architectures offer" >&2
  local shared auto_before downgrades
  shared=$(shared_versions "$@")
  auto_before=$(apt-mark showauto)
  downgrades=$(echo "$shared" | while IFS== read -r s w; do
      v=$(dpkg-query -W -f='${Version}' "$s" 2>/dev/null) || continue
      if dpkg --compare-versions "$v" gt "$w"; then echo "$s $v -> $w"; fi
    done)
  [ -z "$downgrades" ] || { echo "stepping back (the next upgrade restores them):"; echo "$downgrades"; } >&2
  echo "installing: $* and $(echo "$shared" | wc -l) libraries at shared versions"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    --allow-downgrades --no-remove "$@" $shared
  # Naming a package marks it as installed by hand; give back what apt chose.
  local asked; asked=$(printf '%s\n' "$@" | sed 's/=.*//')
  # (The loops end in "if", never in a failing test: under pipefail that would end the script.)
  echo "$shared" | sed 's/=.*//' | while read -r s; do
    if echo "$asked" | grep -qxF "$s"; then continue; fi
    case $s in
      *:i386) echo "$s" ;;
      *) if echo "$auto_before" | grep -qxF "${s%:amd64}"; then echo "$s"; fi ;;
    esac
  done | xargs -r $SUDO apt-mark auto >/dev/null
}

wine_version=$(dpkg-query -W -f='${Version}' wine64)
if ! installed wine32:i386 "$wine_version" || ! installed libwine:i386 "$wine_version"; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    apt_updated=""
  fi
  install_wine32 "wine32:i386=$wine_version" "libwine:i386=$wine_version"
fi

# Can this machine start a 32-bit program? Most kernels run them natively;
# some virtual machines' kernels refuse them ("Exec format error"). There they
# run through qemu's user-mode x86 emulator, registered with the kernel for
# 32-bit x86 programs. Debian 12's qemu 7.2 takes about 50 s to start each
# wine process (its address-space search is slow for wine's reservations), so
# an older emulator than 8 comes from the release's backports suite instead.
runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
qemu_is_new() { echo "$1" | grep -Eq '^([0-9]+:)?([89]|[1-9][0-9])\.'; }

# The machine's own Debian source for its release, as "URI<TAB>Signed-By":
# a deb822 stanza (sources.list.d/*.sources) of type deb whose suites hold the
# release itself, else such a one-line "deb" entry. The backports suite is
# fetched through that same mirror (a local one, a proxy, a snapshot) with
# that same key, never through a host this script would have to name.
debian_source() {
  local release=$1 f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -r "$f" ] || continue
    awk -v release="$release" '
      function flush() {
        if (types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " release " ") &&
            tolower(enabled) != "no" && uri != "") { print uri "\t" signed; found = 1; exit }
        types = suites = uri = signed = enabled = ""
      }
      /^[ \t]*#/ { next }
      /^[ \t]*$/ { flush(); next }
      /^[^ \t]/ { field = tolower($1) }
      field == "types:"     && /^[^ \t]/ { $1 = ""; types = $0 " " }
      field == "suites:"    && /^[^ \t]/ { $1 = ""; suites = $0 }
      field == "enabled:"   && /^[^ \t]/ { enabled = $2 }
      field == "uris:"      && /^[^ \t]/ { uri = $2 }
      field == "signed-by:" && /^[^ \t]/ { $1 = ""; sub(/^ +/, ""); signed = $0 }
      field == "signed-by:" && /^[ \t]/  { signed = signed "\\n" $0 }  # a key given inline
      END { if (!found) flush() }' "$f" | head -n 1 | grep . && return 0
  done
  # One-line form: deb [options] URI suite components...
  cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null | awk -v release="$release" '
    $1 != "deb" { next }
    { signed = ""; i = 2
      if ($2 ~ /^\[/) {
        for (; i <= NF; i++) {
          if ($i ~ /^\[?signed-by=/) { signed = $i; sub(/^\[?signed-by=/, "", signed); sub(/\]$/, "", signed) }
          if ($i ~ /\]$/) { i++; break }
        }
      }
      if ($(i + 1) == release) { print $i "\t" signed; exit } }' | grep .
}

add_backports() {
  local release backports source uri signed
  release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  backports="$release-backports"
  apt-cache policy | grep -q " $backports/" && return 0
  if [ -z "$release" ] || ! source=$(debian_source "$release"); then
    echo "no Debian source for release '${release:-unknown}' is configured in /etc/apt" >&2
    echo "(sources.list.d/*.sources or sources.list): cannot add $backports for qemu's emulator" >&2
    exit 1
  fi
  uri=${source%%$'\t'*}; signed=${source#*$'\t'}
  echo "adding $backports from this machine's Debian source $uri"
  { echo "Types: deb"
    echo "URIs: $uri"
    echo "Suites: $backports"
    echo "Components: main"
    [ -z "$signed" ] || printf 'Signed-By: %b\n' "$signed"
  } | $SUDO tee "/etc/apt/sources.list.d/$backports.sources" >/dev/null
  apt_updated=""
}

register_qemu_i386() {
  local binfmt=/proc/sys/fs/binfmt_misc qemu=/usr/bin/qemu-i386-static candidate
  if ! [ -x "$qemu" ] || ! qemu_is_new "$("$qemu" --version | sed -n 's/.*version \([0-9][0-9.]*\).*/\1/p')"; then
    apt_update
    candidate=$(apt-cache policy qemu-user-static | sed -n 's/^ *Candidate: //p')
    if qemu_is_new "$candidate"; then
      apt_install qemu-user-static
    else
      add_backports
      apt_update
      local release; release=$(. /etc/os-release && echo "$VERSION_CODENAME")
      echo "installing: qemu-user-static ($release-backports)"
      DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
        -t "$release-backports" qemu-user-static
    fi
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
