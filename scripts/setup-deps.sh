#!/usr/bin/env bash
# Installs the Debian packages the builds and test suites need, in parts, each
# only what is missing:
#
#   native    cmake, ninja, g++, GoogleTest and hamradio-files (the country
#             file and call list the tools read): libStats.so, stats-host and
#             the unit tests
#   windows   the MinGW-w64 cross compilers, wine64, 32-bit wine (from the i386
#             architecture, which it adds) and Xvfb: the Stats.dll builds and
#             their suites; qemu's x86 emulator on a kernel that does not start
#             32-bit programs
#   fuzz      clang and its runtimes (libFuzzer and the sanitizers): the fuzz
#             targets, and the native export checks' decorated names
#   browser   Chromium and a font: the browser test of stats-host's contest page
#
#   scripts/setup-deps.sh                   # every part (what the test command needs)
#   scripts/setup-deps.sh native            # what the main job needs
#   scripts/setup-deps.sh native browser    # parts add up
#   scripts/setup-deps.sh --list windows    # what a part needs, one per line; changes nothing
#
# The other parts build on native. Nothing installed is ever moved to an older
# version unless STATS_ALLOW_DOWNGRADE=1 says so (see install_wine32).
#
# The shipping Stats.dll is a 32-bit program's plug-in, so its suite needs
# 32-bit wine next to wine64: wine32 and libwine from the i386 architecture,
# at exactly the installed wine64's version (wine64 hands a 32-bit program to
# wine32's loader, and the two must match).
#
# Sourced rather than run, the script only defines its functions, so that its
# decisions can be looked at without apt.
set -euo pipefail

all_parts=(native windows fuzz browser)
# libxml2-utils: xmllint, which reads the scoreboard documents in the tests.
native_pkgs=(cmake ninja-build g++ make libgtest-dev googletest hamradio-files libxml2-utils)
windows_pkgs=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
              wine64 xvfb fonts-wine)
# libclang-rt-14-dev: the fuzzing and sanitizer runtimes, which clang only recommends.
fuzz_pkgs=(clang libclang-rt-14-dev)
browser_pkgs=(chromium fonts-dejavu-core)
# Installed at wine64's version, once the i386 architecture is there.
wine32_pkgs=(wine32:i386 libwine:i386)

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
# Without --allow-downgrades, apt refuses to move a package to an older
# version when it runs with -y: an install here only ever adds or upgrades.
apt_install() {
  echo "installing: $*"
  apt_update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$@"
}

# A Multi-Arch "same" library has one version on both architectures. When a
# source's i386 index did not arrive (a mirror caught in a sync), the i386
# twins of amd64 libraries installed from that source have no such version,
# and apt's resolver gives up ("generated breaks"). Then every twin wine32
# needs is named at a version both architectures offer: the installed amd64
# one where i386 has it, else the newest i386 one, which the amd64 library
# and the installed packages built with it from the same source move to
# (mostly the release's newer point version, but it can be a step back from a
# security update: install_wine32 decides on that). Nothing is removed.
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

# "name installed -> older", one a line, for each package that apt's dry run
# (the output of apt-get -s, on standard input) would move to an older version.
# An "Inst" line names the installed version in brackets, then the new one.
steps_back() {
  awk '$1 == "Inst" && $3 ~ /^\[/ { old = $3; new = $4; gsub(/[][]/, "", old); sub(/^\(/, "", new); print $2, old, new }' |
    while read -r p old new; do
      if dpkg --compare-versions "$old" gt "$new"; then echo "$p $old -> $new"; fi
    done
}

# Moving an installed package to an older version can undo a security update:
# that is the machine owner's decision, never a side effect. Only this, set
# in the environment, allows it (a throw-away CI machine sets it).
consents_to_step_back() { [ "${STATS_ALLOW_DOWNGRADE:-}" = 1 ]; }

# Installs wine32 and libwine ("name:i386=version" each); when apt cannot match
# their i386 libraries to the installed amd64 ones, installs those libraries at
# versions both architectures offer, with consent where that steps back.
install_wine32() {
  apt_install "$@" && return 0
  echo "apt cannot match the i386 libraries wine32 needs to the installed amd64 ones;" >&2
  echo "trying them at versions both architectures offer" >&2
  local shared plan back
  shared=$(shared_versions "$@")
  # apt's own dry run says what the install would do, changing nothing.
  if ! plan=$(apt-get install -s -y --no-install-recommends --allow-downgrades --no-remove "$@" $shared 2>&1); then
    echo "$plan" | grep -E '^(E|W):' >&2 || true
    echo "apt finds no way to install 32-bit wine beside the installed amd64 libraries either" >&2
    forget_added_architecture
    exit 1
  fi
  back=$(echo "$plan" | steps_back)
  if [ -n "$back" ] && ! consents_to_step_back; then
    {
      echo
      echo "Installing 32-bit wine here would move these installed packages to OLDER versions"
      echo "(installed -> older), which can undo security updates:"
      echo "$back" | sed 's/^/  /'
      echo "(One of this machine's sources has no i386 index just now, and the older versions"
      echo "are the ones both architectures offer; the next apt-get upgrade restores the newer"
      echo "ones once the mirror serves the whole index.)"
      echo "Nothing was stepped back and 32-bit wine is not installed. To allow the step back,"
      echo "run the command again with STATS_ALLOW_DOWNGRADE=1 in its environment, for example"
      echo "  STATS_ALLOW_DOWNGRADE=1 scripts/test-all.sh"
      echo "or run it again later, when the mirror is whole."
    } >&2
    forget_added_architecture
    exit 3
  fi
  local auto_before; auto_before=$(apt-mark showauto)
  echo "installing: $* and $(echo "$shared" | grep -c . || true) libraries at shared versions"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    ${back:+--allow-downgrades} --no-remove "$@" $shared
  if [ -n "$back" ]; then
    echo "stepped back, as STATS_ALLOW_DOWNGRADE=1 allows (the next apt-get upgrade restores them):"
    echo "$back" | sed 's/^/  /'
  fi >&2
  # Naming a package marks it as installed by hand; give back what apt chose.
  local asked; asked=$(printf '%s\n' "$@" | sed 's/=.*//')
  # (The loops end in "if", never in a failing test: under pipefail that would end the script.)
  echo "$shared" | sed 's/=.*//' | while read -r s; do
    if [ -z "$s" ] || echo "$asked" | grep -qxF "$s"; then continue; fi
    case $s in
      *:i386) echo "$s" ;;
      *) if echo "$auto_before" | grep -qxF "${s%:amd64}"; then echo "$s"; fi ;;
    esac
  done | xargs -r $SUDO apt-mark auto >/dev/null
}

# 32-bit wine at the installed wine64's version, adding the i386 architecture
# when it is missing. Where the install stops short (a step back refused, or
# no way at all), the architecture this run added goes again: a refusal leaves
# the machine's package set as it found it.
added_i386=""
forget_added_architecture() {
  if [ -n "$added_i386" ]; then $SUDO dpkg --remove-architecture i386 || true; fi
}
prepare_wine32() {
  local wine_version
  wine_version=$(dpkg-query -W -f='${Version}' wine64)
  installed wine32:i386 "$wine_version" && installed libwine:i386 "$wine_version" && return 0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    apt_updated="" added_i386=1
  fi
  install_wine32 "wine32:i386=$wine_version" "libwine:i386=$wine_version"
}

# Can this machine start a 32-bit program? Most kernels run them natively;
# some virtual machines' kernels refuse them ("Exec format error"). There they
# run through qemu's user-mode x86 emulator, registered with the kernel for
# 32-bit x86 programs. Debian 12's qemu 7.2 takes about 50 s to start each
# wine process (its address-space search is slow for wine's reservations), so
# an older emulator than 8 comes from the release's backports suite instead.
runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
qemu_is_new() { echo "$1" | grep -Eq '^([0-9]+:)?([89]|[1-9][0-9])\.'; }

# The same question before wine is there: a 96-byte 32-bit x86 program whose
# only instruction is exit(42), started directly.
kernel_runs_32bit() {
  local probe status=0
  probe=$(mktemp "${TMPDIR:-/tmp}/stats-i386-probe-XXXXXX") || return 1
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08'\
'\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'\
'\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  [ "$status" -eq 42 ]
}

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

# Without 32-bit programs the shipping DLL's suite cannot run, and that must
# not pass unseen: the emulator where the kernel refuses them, then the guard.
prepare_32bit_programs() {
  if ! runs_32bit; then
    echo "this kernel does not start 32-bit programs; running them through qemu's x86 emulator"
    register_qemu_i386 || true
  fi
  if ! runs_32bit; then
    echo "this machine cannot start 32-bit programs, natively or emulated:" >&2
    /usr/lib/wine/wine --version >&2 || true
    echo "the suite of the 32-bit Stats.dll cannot run here" >&2
    exit 1
  fi
}

# Whether this machine needs qemu's emulator for 32-bit programs: it has one
# registered already, or 32-bit wine (once there) or the probe does not start.
needs_emulator() {
  [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && return 0
  if [ -x /usr/lib/wine/wine ]; then ! runs_32bit; else ! kernel_runs_32bit; fi
}

# What the parts given need, one a line: their packages, then any architecture
# or package source they would add ("architecture: i386", "source: <suite>").
# Reads apt's lists and starts the probe program; changes nothing.
list_parts() {
  local part release candidate
  for part in "$@"; do
    case $part in
      native)  printf '%s\n' "${native_pkgs[@]}" ;;
      fuzz)    printf '%s\n' "${fuzz_pkgs[@]}" ;;
      browser) printf '%s\n' "${browser_pkgs[@]}" ;;
      windows)
        printf '%s\n' "${windows_pkgs[@]}" "${wine32_pkgs[@]}"
        if needs_emulator; then
          echo qemu-user-static
          candidate=$(apt-cache policy qemu-user-static 2>/dev/null | sed -n 's/^ *Candidate: //p')
          release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
          if ! qemu_is_new "$candidate" && ! apt-cache policy | grep -q " $release-backports/"; then
            echo "source: $release-backports"
          fi
        fi
        echo "architecture: i386" ;;
    esac
  done | awk '!seen[$0]++'
}

usage() {  # the comment at the top
  awk 'NR > 1 && !/^#/ { exit } NR > 1 { sub(/^# ?/, ""); print }' "$0"
}

main() {
  local list="" parts=() part p
  while [ $# -gt 0 ]; do
    case $1 in
      --list) list=1 ;;
      -h|--help) usage; return 0 ;;
      native|windows|fuzz|browser) parts+=("$1") ;;
      *) echo "setup-deps: unknown part '$1' (parts: ${all_parts[*]}; --list PART shows what one installs)" >&2
         return 2 ;;
    esac
    shift
  done
  [ ${#parts[@]} -gt 0 ] || parts=("${all_parts[@]}")
  if [ -n "$list" ]; then list_parts "${parts[@]}"; return 0; fi

  local wanted=() missing=()
  for part in "${parts[@]}"; do
    case $part in
      native)  wanted+=("${native_pkgs[@]}") ;;
      windows) wanted+=("${windows_pkgs[@]}") ;;
      fuzz)    wanted+=("${fuzz_pkgs[@]}") ;;
      browser) wanted+=("${browser_pkgs[@]}") ;;
    esac
  done
  for p in "${wanted[@]}"; do installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] || apt_install "${missing[@]}"

  for part in "${parts[@]}"; do
    if [ "$part" = windows ]; then
      prepare_wine32
      prepare_32bit_programs
    fi
  done
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then main "$@"; fi
