#!/usr/bin/env bash
# installer_round_trip.sh <x86|x64> <dist dir> <Folivex-x.wxs> <Registry-x.idt> <checks.exe>
#                         <document> <version>
#
# Run by tools/winebench with FOLIVEX_BENCH_UNIX=1 and FOLIVEX_BENCH_REGISTER=standin, under the
# loopback servers: in a prefix where only the stand-in viewer component is registered, installs
# the release installer, uses the installed control (the deployment checks program and the
# open_and_read.vbs sample), upgrades it in place with a newer build of the same package, and
# uninstalls it, after which nothing of it may remain.
set -euo pipefail
arch=$1 dist=$2 wxs=$3 table=$4 checks=$5 document=$6 version=$7
# shellcheck source=SCRIPTDIR/preamble.sh
source "$(dirname "${BASH_SOURCE[0]}")/preamble.sh"
wine_session
# The prefix's program folder for the package's architecture (a 64-bit package in a 64-bit prefix
# and a 32-bit one in a 32-bit prefix both go to "Program Files").
installed_dir="$WINEPREFIX/drive_c/Program Files/Folivex"
installed_dll='C:\Program Files\Folivex\Folivex.dll'
msi=$dist/Folivex-$version-$arch.msi
[[ -f $msi ]] || fail "no installer $msi"

# Its entries among the installed products (Add/Remove Programs), one "DisplayVersion" line each.
installed_versions() {
    "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
        tr -d '\r' |
        awk -v name="Folivex ($arch)" '
            /^HKEY/ { if (found && v != "") print v; found = 0; v = "" }
            $1 == "DisplayName" { found = (substr($0, index($0, "REG_SZ") + 10) == name) }
            $1 == "DisplayVersion" { v = $3 }
            END { if (found && v != "") print v }'
}

use_installed_control() {
    local stage=$1
    FOLIVEX_DEPLOYED_DLL=$installed_dll FOLIVEX_TEST_DOCUMENT=$(windows_path "$document") \
        "$wine" "$(windows_path "$checks")" || fail "$stage: the deployment checks failed"
    local out
    out=$(FOLIVEX_STANDIN_LAYOUT=old run_open_and_read cscript "$document")
    echo "$out"
    expect_three_pages_read "$out" "$stage"
}

# The keys the control owns: the rows that remove a key whole on uninstall.
mapfile -t owned_keys < <(tail -n +4 "$table" | tr -d '\r' | awk -F'\t' '$4 == "-" { print $3 }')
[[ ${#owned_keys[@]} -ge 3 ]] || fail "no owned keys in $table"

# The registration below the owned keys as reg export writes it, in a form two registrations can
# be compared in: the class and ProgID keys value for value; of the type library and interface
# keys, which the platform's type library registration writes by rules of its own when
# regsvr32 registers machine-wide (its locale, its flags, its proxy for a dispinterface), the
# keys. An empty default value and a key without one count as the same.
registration_of_control() {
    local key file=$WINEPREFIX/drive_c/folivex-export.reg
    for key in "${owned_keys[@]}"; do
        "$wine" reg export "HKCR\\$key" 'C:\folivex-export.reg' /y >/dev/null 2>&1 || continue
        if [[ $key == TypeLib\\* || $key == Interface\\* ]]; then
            iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r' | grep '^\[' |
                sed 's/\\1\.0\\409\(\\\|\]\)/\\1.0\\0\1/' | sort -u
        else
            iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r' | grep -v '^Windows Registry' |
                grep -vx '@=""' | grep -v '^$'
        fi
    done
}

echo "== install $(basename "$msi")"
"$wine" msiexec /i "$(windows_path "$msi")" /qn || fail "msiexec /i exited $?"
[[ -f $installed_dir/Folivex.dll ]] || fail "no Folivex.dll in Program Files\\Folivex"
cmp -s "$installed_dir/Folivex.dll" "$dist/$arch/Folivex.dll" ||
    fail "the installed DLL differs from the released one"
[[ $(installed_versions) == "$version" ]] || fail "installed products: '$(installed_versions)'"
use_installed_control "installed"
installed_registration=$(registration_of_control)

# The same version rebuilt is the same product: installing it again adds no second entry.
rebuilt=$WINEPREFIX/drive_c/Folivex-$version-$arch-rebuilt.msi
"$repo/deploy/make_installer.sh" "$arch" "$wxs" "$dist/$arch/Folivex.dll" "$version" "$table" \
    "$rebuilt" >/dev/null
"$wine" msiexec /i "$(windows_path "$rebuilt")" /qn || echo "(msiexec /i of the installed version exited $?)"
[[ $(installed_versions) == "$version" ]] ||
    fail "after installing $version again, installed products: '$(installed_versions)'"

if [[ $arch == x64 ]]; then
    # 32-bit hosts on the same machine: the x86 package goes beside it, into Program Files (x86)
    # and the 32-bit registry view, and leaves with its own uninstall without touching this one.
    echo "== the x86 package beside it"
    x86_msi=$dist/Folivex-$version-x86.msi
    clsid_key='HKLM\Software\Classes\CLSID\{71245F77-CE10-451C-A2C9-9C069D214D9E}\InprocServer32'
    server_of() { "$wine" reg query "$clsid_key" /ve "$1" 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p'; }
    "$wine" msiexec /i "$(windows_path "$x86_msi")" /qn || fail "msiexec /i x86 exited $?"
    cmp -s "$WINEPREFIX/drive_c/Program Files (x86)/Folivex/Folivex.dll" "$dist/x86/Folivex.dll" ||
        fail "the x86 package did not install into Program Files (x86)"
    [[ $(server_of /reg:32) == 'C:\Program Files (x86)\Folivex\Folivex.dll' ]] ||
        fail "32-bit view: '$(server_of /reg:32)'"
    [[ $(server_of /reg:64) == "$installed_dll" ]] || fail "64-bit view: '$(server_of /reg:64)'"
    "$wine" msiexec /x "$(windows_path "$x86_msi")" /qn || fail "msiexec /x x86 exited $?"
    [[ ! -e "$WINEPREFIX/drive_c/Program Files (x86)/Folivex" ]] || fail "Program Files (x86)\\Folivex stays"
    [[ -z $(server_of /reg:32) && $(server_of /reg:64) == "$installed_dll" ]] ||
        fail "removing the x86 package changed the x64 registration"
    [[ -f $installed_dir/Folivex.dll ]] || fail "removing the x86 package removed the x64 DLL"
fi

# A newer build of the same package: same upgrade code, higher version.
IFS=. read -r major minor patch <<<"$version"
newer_version=$major.$minor.$((patch + 1))
# Built into the prefix, which the run removes.
newer=$WINEPREFIX/drive_c/Folivex-$newer_version-$arch.msi
"$repo/deploy/make_installer.sh" "$arch" "$wxs" "$dist/$arch/Folivex.dll" "$newer_version" \
    "$table" "$newer" >/dev/null
echo "== upgrade to $newer_version"
"$wine" msiexec /i "$(windows_path "$newer")" /qn || fail "msiexec /i (upgrade) exited $?"
[[ $(installed_versions) == "$newer_version" ]] ||
    fail "after the upgrade, installed products: '$(installed_versions)'"
use_installed_control "upgraded"

echo "== uninstall"
"$wine" msiexec /x "$(windows_path "$newer")" /qn || fail "msiexec /x exited $?"
[[ -z $(installed_versions) ]] || fail "still among the installed products"
[[ ! -e $installed_dir ]] || fail "Program Files\\Folivex is still there: $(ls -A "$installed_dir")"
for key in "${owned_keys[@]}"; do
    if "$wine" reg query "HKCR\\$key" >/dev/null 2>&1; then
        fail "HKCR\\$key is still there"
    fi
    echo "gone: HKCR\\$key"
done
out=$(run_open_and_read cscript "$document")
grep -q 'cannot create Folivex.Viewer' <<<"$out" || fail "Folivex.Viewer is still created: $out"

echo "== the installer registered what regsvr32 registers"
mkdir -p "$installed_dir"
cp "$dist/$arch/Folivex.dll" "$installed_dir/Folivex.dll"
"$wine" regsvr32 /s "$installed_dll" || fail "regsvr32 exited $?"
self_registration=$(registration_of_control)
"$wine" regsvr32 /u /s "$installed_dll" || fail "regsvr32 /u exited $?"
if [[ $installed_registration != "$self_registration" ]]; then
    diff <(echo "$installed_registration") <(echo "$self_registration") || true
    fail "the installer's registration (<) differs from regsvr32's (>)"
fi
echo "$installed_registration" | grep -c . | sed 's/^/lines compared: /'
echo "installer_round_trip.sh: done"
