#!/usr/bin/env bash
# csharp_sample.sh <mcs> <samples/csharp> <folivex.idl> <output folder>
#
# The C# sample compiles (Mono's compiler with WinForms; no .NET runtime here can host the
# control), and what the compiler cannot see through its late-bound calls still matches the
# type library: every member it calls exists, and its event interface has the events' numbers.
set -euo pipefail
mcs=$1 sample=$2 idl=$3 out=$4
# shellcheck source=SCRIPTDIR/preamble.sh
source "$(dirname "${BASH_SOURCE[0]}")/preamble.sh"
mkdir -p "$out"
"$mcs" -nologo -warnaserror+ -target:winexe -out:"$out/FolivexSample.exe" \
    -r:System.Windows.Forms.dll -r:System.Drawing.dll -r:Microsoft.CSharp.dll "$sample"/*.cs ||
    fail "the sample does not compile"

members=$(grep -oh 'Ocx\.[A-Za-z_]*' "$sample"/*.cs | sort -u | cut -d. -f2)
[[ -n $members ]] || fail "no late-bound calls found"
for member in $members; do
    grep -Eq "HRESULT $member\(" "$idl" || fail "the sample calls $member, which _Viewer lacks"
done
# "[DispId(n)] void Name(" in the sample against "[id(n), ...]" followed by "void Name(".
events=$(grep -oh 'DispId([0-9]*)\] void [A-Za-z]*' "$sample"/*.cs | sed 's/DispId(\([0-9]*\))\] void /\1 /')
[[ -n $events ]] || fail "no event declarations found"
while read -r id name; do
    grep -A1 -E "^\s*\[id\($id\)," "$idl" | grep -Eq "void $name\(" ||
        fail "the sample's event $name($id) is not event $id of __Viewer"
done <<<"$events"
echo "csharp_sample.sh: done ($(wc -w <<<"$members") members, $(wc -l <<<"$events") events)"
