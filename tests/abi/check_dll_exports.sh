#!/usr/bin/env bash
# Static checks of a built Stats.dll, from its PE headers as objdump shows them:
#  - the export directory names the library "Stats.dll";
#  - it exports exactly the names of the .def file (11 plain, 11 decorated),
#    each decorated name at the same address as its plain name;
#  - it imports only from Windows system DLLs, so that it loads on a bare
#    system without MinGW's runtime DLLs beside it.
# Usage: check_dll_exports.sh <objdump> <Stats.dll> <file.def>
set -euo pipefail
objdump=$1 dll=$2 def=$3

dump=$("$objdump" -p "$dll")
status=0
fail() { echo "FAIL: $*"; status=1; }

# Export directory name.
exports=$(sed -n '/^The Export Tables/,$p' <<<"$dump")
[ -n "$exports" ] || { echo "FAIL: $dll has no export table"; exit 1; }
dir_name=$(awk '$1 == "Name" && NF >= 3 { print $3; exit }' <<<"$exports")
[ "$dir_name" = "Stats.dll" ] || fail "export directory name is '$dir_name', not 'Stats.dll'"

# Address of each ordinal, then the name table (ordinal index, name).
declare -A rva_of_ordinal rva_of_name
while read -r idx rva; do rva_of_ordinal[$idx]=$rva; done < <(
  sed -n '/^Export Address Table --/,/^$/p' <<<"$exports" |
    sed -nE 's/^\s*\[\s*([0-9]+)\]\s+\+base\[\s*[0-9]+\]\s+([0-9a-fA-F]+)\s+Export RVA.*/\1 \2/p')
if sed -n '/^Export Address Table --/,/^$/p' <<<"$exports" | grep -q 'Forwarder RVA'; then
  fail "the export table holds forwarders"
fi
names=()
while read -r idx name; do
  names+=("$name")
  rva_of_name[$name]=${rva_of_ordinal[$idx]:-missing}
done < <(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$exports" |
  sed -nE 's/^\s*\[\s*([0-9]+)\](\s+\+base\[\s*[0-9]+\]\s+[0-9a-fA-F]+)?\s+(\S+)\s*$/\1 \3/p')

# The names the .def file promises.
plain=$(grep -E '^ +[A-Za-z][A-Za-z0-9_]*$' "$def" | tr -d ' ' | sort)
pairs=$(grep -oE '^ *"\?[^"]+" *= *[A-Za-z0-9_]+' "$def" | sed -E 's/^ *"([^"]+)" *= *(.*)$/\1 \2/')
expected=$( { echo "$plain"; awk '{ print $1 }' <<<"$pairs"; } | sort)
actual=$(printf '%s\n' "${names[@]}" | sort)
[ "$(wc -l <<<"$plain")" -eq 11 ] && [ "$(wc -l <<<"$pairs")" -eq 11 ] ||
  fail "$def does not list 11 plain and 11 decorated names"
if [ "$expected" != "$actual" ]; then
  fail "exported names differ from $def (< expected, > exported):"
  diff <(echo "$expected") <(echo "$actual") || true
fi

# The plain name comes from the decorated one (the host spells three function
# names differently), not from the .def file's own mapping.
while read -r decorated _; do
  [ -n "$decorated" ] || continue
  target=$(sed -E 's/^\?([A-Za-z0-9_]+)@@.*/\1/' <<<"$decorated")
  case $target in
    StatsGetExchgCount0) target=GetExchgCount0 ;;
    StatsIsValidExchg0) target=IsValidExchg0 ;;
    CheckCallFunc0) target=CheckCall0 ;;
  esac
  a=${rva_of_name[$decorated]:-missing} b=${rva_of_name[$target]:-missing}
  if [ "$a" = missing ] || [ "$a" != "$b" ]; then
    fail "$decorated at $a, but $target at $b"
  fi
done <<<"$pairs"

# Imported DLLs: system DLLs only (compared without regard to case).
system_dlls=" kernel32.dll user32.dll gdi32.dll msvcrt.dll oleaut32.dll ole32.dll \
comctl32.dll comdlg32.dll advapi32.dll shell32.dll shlwapi.dll uxtheme.dll version.dll winmm.dll \
imm32.dll msimg32.dll ntdll.dll rpcrt4.dll winspool.drv ws2_32.dll winhttp.dll crypt32.dll "
imports=$(sed -nE 's/^\s*DLL Name: (\S+)\s*$/\1/p' <<<"$dump")
[ -n "$imports" ] || fail "no imports found (objdump output not understood?)"
for dll_name in $imports; do
  lower=$(tr 'A-Z' 'a-z' <<<"$dll_name")
  [[ $system_dlls == *" $lower "* ]] || fail "imports $dll_name, which is not a Windows system DLL"
done

if [ $status -eq 0 ]; then
  echo "$dll: export directory Stats.dll, ${#names[@]} names as in $(basename "$def"), imports: $(echo $imports)"
fi
exit $status
