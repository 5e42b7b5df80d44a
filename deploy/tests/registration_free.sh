#!/usr/bin/env bash
# registration_free.sh <x86|x64> <dist dir> <checks.exe> <folivex_deploy_export> <document>
#                      <version>
#
# Run by tools/winebench with FOLIVEX_BENCH_UNIX=1 and FOLIVEX_BENCH_REGISTER=standin, under the
# loopback servers: in a prefix where Folivex is not registered, a host program with an
# application manifest, Folivex.dll and its Folivex.manifest side by side in one folder create,
# host and use the control; then a copy of cscript.exe with a manifest of its own runs the
# open_and_read.vbs sample the same way.
set -euo pipefail
arch=$1 dist=$2 checks=$3 export_tool=$4 document=$5 version=$6
# shellcheck source=SCRIPTDIR/preamble.sh
source "$(dirname "${BASH_SOURCE[0]}")/preamble.sh"
wine_session

# The folder lies in the prefix so that the run's clean-up takes it along.
stage=$WINEPREFIX/drive_c/host
mkdir -p "$stage"
cp "$dist/$arch/Folivex.dll" "$dist/$arch/Folivex.manifest" "$stage/"
cp "$checks" "$stage/checks.exe"
"$export_tool" application-manifest "$arch" "$version" Folivex.DeploymentChecks \
    "$stage/checks.exe.manifest"

echo "== the registered script host cannot create the control"
out=$(run_open_and_read cscript "$document")
grep -q 'cannot create Folivex.Viewer' <<<"$out" || fail "Folivex.Viewer is registered: $out"

echo "== a host program with an application manifest"
FOLIVEX_DEPLOYED_DLL='C:\host\Folivex.dll' FOLIVEX_DEPLOYED_UNREGISTERED=1 \
    FOLIVEX_TEST_DOCUMENT=$(windows_path "$document") \
    "$wine" 'C:\host\checks.exe' || fail "the deployment checks failed"

echo "== a copy of cscript.exe with a manifest"
cp "$WINEPREFIX/drive_c/windows/system32/cscript.exe" "$stage/cscript.exe"
"$export_tool" application-manifest "$arch" "$version" Folivex.ScriptHost \
    "$stage/cscript.exe.manifest"
out=$(FOLIVEX_STANDIN_LAYOUT=old run_open_and_read 'C:\host\cscript.exe' "$document")
echo "$out"
expect_three_pages_read "$out"
echo "registration_free.sh: done"
