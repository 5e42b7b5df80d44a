#!/usr/bin/env bash
# release_archive.sh <dist dir> <version> <INSTALL.md> <x86 Windows tree> <x64 Windows tree>
#
# The release archive holds every file INSTALL.md lists, and its DLLs (loose and inside the
# installers) are the very ones the Windows trees built and the Wine tests ran; the DLLs'
# version resource, the manifests and the installers carry the one product version.
set -euo pipefail
dist=$1 version=$2 install_md=$3
declare -A tree=([x86]=$4 [x64]=$5)
archive=$dist/Folivex-$version.zip
# shellcheck source=SCRIPTDIR/preamble.sh
source "$(dirname "${BASH_SOURCE[0]}")/preamble.sh"
[[ -f $archive ]] || fail "no archive $archive"
mapfile -t entries < <(unzip -Z1 "$archive")
has() {
    local entry
    for entry in "${entries[@]}"; do
        [[ $entry == "$1" ]] && return 0
    done
    return 1
}

# INSTALL.md's table of contents: lines "| `path` | what |"; <version> stands for the version.
listed=0
while read -r path; do
    path=${path//<version>/$version}
    if [[ $path == */ ]]; then
        has "$path" || printf '%s\n' "${entries[@]}" | grep -q "^${path}." || fail "no $path in the archive"
    else
        has "$path" || fail "no $path in the archive"
    fi
    listed=$((listed + 1))
done < <(sed -n 's/^| `\([^`]*\)` |.*/\1/p' "$install_md")
[[ $listed -ge 8 ]] || fail "INSTALL.md lists only $listed files"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for arch in x86 x64; do
    built=${tree[$arch]}/interface/Folivex.dll
    unzip -p "$archive" "$arch/Folivex.dll" | cmp -s - "$built" ||
        fail "$arch/Folivex.dll in the archive is not $built"
    # The version resource's strings (UTF-16): each name followed by its value.
    for name in FileVersion ProductVersion; do
        [[ $(strings -el "$built" | grep -A1 -x "$name" | sed -n 2p) == "$version" ]] ||
            fail "$built: $name is not $version"
    done
    unzip -p "$archive" "$arch/Folivex.manifest" | grep -q "version=\"$version.0\"" ||
        fail "$arch/Folivex.manifest does not carry version $version"
    unzip -p "$archive" "Folivex-$version-$arch.msi" >"$work/$arch.msi"
    mkdir "$work/$arch"
    (cd "$work/$arch" && msiextract "../$arch.msi" >/dev/null)
    installed=$(find "$work/$arch" -name Folivex.dll)
    [[ -n $installed ]] && cmp -s "$installed" "$built" ||
        fail "the $arch installer does not carry $built"
    [[ $(msiinfo export "$work/$arch.msi" Property | tr -d '\r' | awk '$1 == "ProductVersion" { print $2 }') == "$version" ]] ||
        fail "the $arch installer's ProductVersion is not $version"
done
echo "release_archive.sh: done (${#entries[@]} entries)"
