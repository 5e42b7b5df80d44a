# shellcheck shell=bash
# Sourced by the deployment test scripts after their own arguments are read: what each of them
# starts with.
#   repo                     the source tree
#   fail MESSAGE             prints "FAIL: MESSAGE" (CTest's output shows why) and exits 1
# And for those that tools/winebench runs with FOLIVEX_BENCH_UNIX=1, after `wine_session`:
#   wine                     Wine's loader for the script's architecture, in $WINEPREFIX
#   windows_path PATH        a Unix path as the Windows programs see it (drive Z:)
#   run_open_and_read HOST DOCUMENT
#                            the open_and_read.vbs sample run by the script host HOST (cscript or
#                            a copy of it) on DOCUMENT; its output, never its status
#   expect_three_pages_read OUTPUT [STAGE]
#                            fails unless the sample's OUTPUT read three pages and finished

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

fail() {
    echo "FAIL: $*"
    exit 1
}

wine_session() {
    wine=${FOLIVEX_WINE:?run me through tools/winebench with FOLIVEX_BENCH_UNIX=1}
    : "${WINEPREFIX:?}"
}

windows_path() { echo "Z:${1//\//\\}"; }

run_open_and_read() {
    "$wine" "$1" //nologo "$(windows_path "$repo/samples/vbscript/open_and_read.vbs")" \
        "$(windows_path "$2")" 2>&1 | tr -d '\r' || true
}

expect_three_pages_read() {
    local stage=${2:+$2: }
    grep -qx 'PageTotal: 3' <<<"$1" || fail "${stage}the sample read no page count of 3"
    grep -qx 'open_and_read.vbs: done' <<<"$1" || fail "${stage}the sample did not finish"
}
