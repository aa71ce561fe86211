#!/usr/bin/env bash
# Compares the decorated names of a .def file with those the Microsoft ABI gives
# the host's declarations, and checks that each maps to its plain name.
# Usage: check_def_names.sh <clang++> <i686|x86_64> <file.def>
set -euo pipefail
clang=$1 arch=$2 def=$3
here=$(cd "$(dirname "$0")" && pwd)

expected=$("$clang" --target="$arch-pc-windows-msvc" -S -o - "$here/host_declarations.cpp" |
  grep -oE '^"\?[A-Za-z][^"]*"' | tr -d '"' | while read -r decorated; do
    fn=$(sed -E 's/^\?([A-Za-z0-9_]+)@@.*/\1/' <<<"$decorated")
    case $fn in
      StatsGetExchgCount0) plain=GetExchgCount0 ;;
      StatsIsValidExchg0) plain=IsValidExchg0 ;;
      CheckCallFunc0) plain=CheckCall0 ;;
      *) plain=$fn ;;
    esac
    echo "$decorated = $plain"
  done | sort)

actual=$(grep -oE '^ *"\?[^"]+" *= *[A-Za-z0-9_]+' "$def" | sed -E 's/^ *"([^"]+)" *= *(.*)$/\1 = \2/' | sort)
plain=$(grep -E '^ +[A-Za-z][A-Za-z0-9_]*$' "$def" | tr -d ' ' | sort)
expected_plain=$(awk '{print $3}' <<<"$expected" | sort)

status=0
if [ "$expected" != "$actual" ]; then
  echo "decorated names differ from the host's declarations:"; diff <(echo "$expected") <(echo "$actual") || true; status=1
fi
if [ "$expected_plain" != "$plain" ]; then
  echo "plain names differ:"; diff <(echo "$expected_plain") <(echo "$plain") || true; status=1
fi
[ "$(wc -l <<<"$expected")" -eq 11 ] || { echo "expected 11 decorated names"; status=1; }
[ $status -eq 0 ] && echo "$def: 22 names match the host's declarations"
exit $status
