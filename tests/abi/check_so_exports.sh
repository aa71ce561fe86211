#!/usr/bin/env bash
# Checks that a shared library defines exactly the plug-in's plain export names
# in its dynamic symbol table: the host finds them by name, and anything more
# would leak our internals (and the runtime's) into its process.
# Usage: check_so_exports.sh <nm> <library>
set -euo pipefail
nm=$1 lib=$2

expected=$(printf '%s\n' GetNumberOfSets GetSetName setVersion SetupSet0 GetExchgCount0 IsValidExchg0 \
  ResetStats0 AddData0 RemoveData0 CheckCall0 GetResult0 | sort)
actual=$("$nm" -D --defined-only "$lib" | awk 'NF >= 2 { print $NF }' | sort)

if [ "$expected" != "$actual" ]; then
  echo "$lib: dynamic symbols differ from the 11 plain export names (< expected, > found):"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
echo "$lib: exactly the 11 plain export names"
