#!/usr/bin/env bash
# make_installer.sh <x86|x64> <source.wxs> <Folivex.dll> <version> <registry.idt> <output.msi>
#
# Builds one installer: wixl compiles the package source, then msibuild imports the Registry
# table made from the control's registration plan (wixl has no way to write the rows a COM
# class needs, such as a key without a value or a key removed whole on uninstall).
set -euo pipefail
if [[ $# -ne 6 ]]; then
    echo "usage: make_installer.sh x86|x64 SOURCE.wxs DLL VERSION REGISTRY.idt OUTPUT.msi" >&2
    exit 2
fi
arch=$1 source=$2 dll=$3 version=$4 table=$5 output=$6

output=$(realpath -m "$output")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# wixl takes only relative source paths, and msibuild imports a table from a file named after
# it: everything goes into one folder first.
cp "$source" "$work/package.wxs"
cp "$dll" "$work/Folivex.dll"
cp "$table" "$work/Registry.idt"
cd "$work"
# One product code per upgrade code and version, not one per build: a rebuilt package of an
# installed version is that installed product, never a second entry beside it.
upgrade_code=$(sed -n 's/.*UpgradeCode="\([^"]*\)".*/\1/p' package.wxs)
[[ -n $upgrade_code ]] || { echo "make_installer.sh: no UpgradeCode in $source" >&2; exit 1; }
product_code=$(python3 -c 'import sys, uuid; print("{%s}" % str(uuid.uuid5(uuid.UUID(sys.argv[1]), sys.argv[2])).upper())' "$upgrade_code" "$version")
wixl -a "$arch" -D Version="$version" -D ProductCode="$product_code" -D DllPath=Folivex.dll \
    -o package.msi package.wxs
msibuild package.msi -i Registry.idt
# wixl sequences the registry actions only for rows of its own.
msibuild package.msi \
    -q "INSERT INTO InstallExecuteSequence (Action, Sequence) VALUES ('RemoveRegistryValues', 2600)" \
    -q "INSERT INTO InstallExecuteSequence (Action, Sequence) VALUES ('WriteRegistryValues', 5000)"
mv package.msi "$output"
