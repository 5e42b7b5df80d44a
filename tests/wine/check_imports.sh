#!/usr/bin/env bash
# Fails when a DLL imports anything but Windows system DLLs (no MinGW runtime DLLs).
set -euo pipefail
objdump=$1
shift
allowed='^(kernel32|user32|gdi32|advapi32|ole32|oleaut32|urlmon|shell32|shlwapi|comctl32|comdlg32|msvcrt|ntdll|version|wininet|uuid|rpcrt4|imm32|winmm|ws2_32|bcrypt|crypt32|api-ms-win-.*)\.dll$'
status=0
for dll in "$@"; do
    imports=$("$objdump" -p "$dll" | awk '/DLL Name:/ {print tolower($3)}')
    [[ -n $imports ]] || { echo "no imports read from $dll"; status=1; }
    for name in $imports; do
        if ! [[ $name =~ $allowed ]]; then
            echo "$dll imports $name, which is not a Windows system DLL"
            status=1
        fi
    done
    echo "$(basename "$dll"): $(echo $imports)"
done
exit $status
