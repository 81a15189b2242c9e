#!/usr/bin/env bash
# Checks a plug-in DLL's tables with objdump: it exports exactly the two
# undecorated entry points VSTPluginMain and main, and imports only from
# DLLs that every Windows system has (no C/C++ runtime, pthread, zlib or
# libpng DLL beside it).
#   check_module.sh <objdump> <plugin.dll>
set -euo pipefail
objdump="$1"
dll="$2"
dump=$("$objdump" -p "$dll")

# The export name table lists "[ordinal] name" lines after its heading.
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
  sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*\([^[:space:]]*\).*/\1/p' | sort | tr '\n' ' ')
if [[ "$exports" != "VSTPluginMain main " ]]; then
  echo "FAIL $dll exports: '$exports' (expected exactly VSTPluginMain and main)"
  exit 1
fi

system_dlls='^(kernel32|user32|gdi32|msvcrt|advapi32|ole32|oleaut32|shell32|comctl32|comdlg32|ws2_32|imm32|uxtheme|winmm|msimg32|ntdll|api-ms-win-[a-z0-9-]+)\.dll$'
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr '[:upper:]' '[:lower:]' | sort -u)
status=0
for name in $imports; do
  if ! [[ "$name" =~ $system_dlls ]]; then
    echo "FAIL $dll imports $name, which is not a system DLL"
    status=1
  fi
done
echo "$(basename "$dll"): $(stat -c %s "$dll") bytes; exports: $exports; imports: ${imports//$'\n'/ }"
exit $status
