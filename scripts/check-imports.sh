#!/usr/bin/env bash
# Checks that an exe imports only DLLs that ship with Windows: the compiler
# runtime must be linked in, not shipped beside it.
set -euo pipefail
exe=$1
allowed='^(kernel32|user32|gdi32|shell32|comctl32|advapi32|msvcrt|ntdll|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
echo "$exe imports: $(tr '\n' ' ' <<<"$dlls")"
bad=$(grep -viE "$allowed" <<<"$dlls" || true)
if [[ -n $bad ]]; then
  echo "not a Windows system DLL: $bad" >&2
  exit 1
fi
