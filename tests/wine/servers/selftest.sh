#!/usr/bin/env bash
# selftest.sh routes DOCDIR
#     Run under with_loopback_servers.sh: fetches every route of the loopback servers with curl
#     and checks status codes, sizes, bodies and headers.
# selftest.sh wrapper DOCDIR
#     Checks with_loopback_servers.sh itself: the environment it hands on, the status it returns,
#     and that no server or command outlives it, also when it is signalled.
# Exits 0 when every check passed, 1 otherwise, listing each failure.
set -uo pipefail

mode=${1:-}
docdir=${2:-}
if [[ $mode != routes && $mode != wrapper ]] || [[ ! -d $docdir ]]; then
    echo "usage: selftest.sh routes|wrapper DOCDIR" >&2
    exit 2
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/folivex-selftest.XXXXXX") || exit 1
trap 'rm -rf "$scratch"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
pass() {
    echo "ok: $*"
}
expect_equal() { # what expected actual
    if [[ $2 == "$3" ]]; then pass "$1 = $2"; else fail "$1: expected '$2', got '$3'"; fi
}

# fetch URL [curl options...]: body to $scratch/body, headers to $scratch/headers; prints
# "http_code size_download time_total curl_status".
fetch() {
    local url=$1
    shift
    local out status
    out=$(curl --silent --noproxy '*' --max-time 60 --dump-header "$scratch/headers" \
        --output "$scratch/body" --write-out '%{http_code} %{size_download} %{time_total}' \
        "$@" "$url")
    status=$?
    echo "$out $status"
}

header() { # NAME: the value of the last such header in $scratch/headers
    grep -i "^$1:" "$scratch/headers" | tail -n1 | cut -d: -f2- | tr -d '\r' | sed 's/^ *//'
}

check_routes() {
    local http=${FOLIVEX_TEST_HTTP_URL:-} ftp=${FOLIVEX_TEST_FTP_URL:-}
    [[ $http =~ ^http://127\.0\.0\.1:[0-9]+/$ ]] || fail "FOLIVEX_TEST_HTTP_URL is '$http'"
    [[ $ftp =~ ^ftp://127\.0\.0\.1:[0-9]+/$ ]] || fail "FOLIVEX_TEST_FTP_URL is '$ftp'"
    [[ $failures -eq 0 ]] || return

    local doc=$docdir/three_pages.pdf
    local size code bytes seconds status
    size=$(stat -c %s "$doc")

    read -r code bytes seconds status < <(fetch "${http}three_pages.pdf")
    expect_equal "plain file: status" 200 "$code"
    expect_equal "plain file: Content-Length" "$size" "$(header Content-Length)"
    cmp -s "$scratch/body" "$doc" && pass "plain file: body" || fail "plain file: body differs"
    expect_equal "plain file: Cache-Control" no-cache "$(header Cache-Control)"

    read -r code bytes seconds status < <(fetch "${http}five_pages_flate.pdf" --head)
    expect_equal "HEAD: status" 200 "$code"
    expect_equal "HEAD: Content-Length" "$(stat -c %s "$docdir/five_pages_flate.pdf")" \
        "$(header Content-Length)"

    read -r code bytes seconds status < <(fetch "${http}missing.pdf")
    expect_equal "missing: status" 404 "$code"
    grep -q "<html>" "$scratch/body" && pass "missing: HTML body" || fail "missing: no HTML body"
    expect_equal "missing: Content-Length" "$bytes" "$(header Content-Length)"
    expect_equal "missing: Cache-Control" no-cache "$(header Cache-Control)"

    read -r code bytes seconds status < <(fetch "${http}no_such_document.pdf")
    expect_equal "unknown file: status" 404 "$code"

    # Only files directly inside the document directory are served.
    read -r code bytes seconds status < <(fetch "${http}../$(basename "$docdir")/one_page.pdf" \
        --path-as-is)
    expect_equal "path outside the directory: status" 404 "$code"

    read -r code bytes seconds status < <(fetch "${http}error.pdf")
    expect_equal "error: status" 500 "$code"
    [[ $bytes -gt 0 ]] && pass "error: has a body" || fail "error: empty body"
    expect_equal "error: Content-Length" "$bytes" "$(header Content-Length)"

    read -r code bytes seconds status < <(fetch "${http}empty.pdf")
    expect_equal "empty: status" 200 "$code"
    expect_equal "empty: bytes" 0 "$bytes"
    expect_equal "empty: Content-Length" 0 "$(header Content-Length)"
    expect_equal "empty: Cache-Control" no-cache "$(header Cache-Control)"

    read -r code bytes seconds status < <(fetch "${http}redirect.pdf")
    expect_equal "redirect: status" 302 "$code"
    expect_equal "redirect: Location" "${http}three_pages.pdf" "$(header Location)"
    expect_equal "redirect: Cache-Control" no-cache "$(header Cache-Control)"
    read -r code bytes seconds status < <(fetch "${http}redirect.pdf" --location)
    expect_equal "redirect followed: status" 200 "$code"
    cmp -s "$scratch/body" "$doc" && pass "redirect followed: body" ||
        fail "redirect followed: body differs"

    read -r code bytes seconds status < <(fetch "${http}slow.pdf")
    expect_equal "slow: status" 200 "$code"
    expect_equal "slow: Content-Length" "$size" "$(header Content-Length)"
    cmp -s "$scratch/body" "$doc" && pass "slow: body" || fail "slow: body differs"
    # Seven pauses of 150 ms between eight chunks: the body cannot arrive in much under a second.
    awk -v t="$seconds" 'BEGIN { exit !(t >= 1.0) }' && pass "slow: took ${seconds}s" ||
        fail "slow: took only ${seconds}s, so it was not sent in paced chunks"

    read -r code bytes seconds status < <(fetch "${http}dropped.pdf")
    expect_equal "dropped: status" 200 "$code"
    expect_equal "dropped: Content-Length" "$size" "$(header Content-Length)"
    expect_equal "dropped: bytes received" $((size / 2)) "$bytes"
    expect_equal "dropped: curl reports a partial transfer (18)" 18 "$status"

    read -r code bytes seconds status < <(fetch "${http}stalled.pdf?s=1" --max-time 10)
    expect_equal "stalled: bytes received" $((size / 2)) "$bytes"
    expect_equal "stalled: curl reports a partial transfer (18)" 18 "$status"

    read -r code bytes seconds status < <(fetch "${http}large.pdf?mb=3")
    expect_equal "large 3 MB: status" 200 "$code"
    expect_equal "large 3 MB: bytes" $((3 * 1024 * 1024)) "$bytes"
    expect_equal "large 3 MB: Content-Length" $((3 * 1024 * 1024)) "$(header Content-Length)"
    expect_equal "large: first line" "%PDF-1.4" "$(head -n1 "$scratch/body")"
    expect_equal "large: last line" "%%EOF" "$(tail -n1 "$scratch/body")"
    expect_equal "large: every line a comment" 0 "$(grep -cv '^%' "$scratch/body")"

    read -r code bytes seconds status < <(fetch "${http}large.pdf")
    expect_equal "large default: bytes" $((20 * 1024 * 1024)) "$bytes"
    expect_equal "large default: Cache-Control" no-cache "$(header Cache-Control)"

    for bad in 0 -1 x 99999; do
        read -r code bytes seconds status < <(fetch "${http}large.pdf?mb=$bad")
        expect_equal "large mb=$bad: status" 400 "$code"
    done

    # FTP: the same files, anonymous and read-only.
    read -r code bytes seconds status < <(fetch "${ftp}three_pages.pdf")
    expect_equal "ftp file: curl status" 0 "$status"
    cmp -s "$scratch/body" "$doc" && pass "ftp file: body" || fail "ftp file: body differs"

    read -r code bytes seconds status < <(fetch "${ftp}no_such_document.pdf")
    expect_equal "ftp missing file: curl reports no such remote file (78)" 78 "$status"

    read -r code bytes seconds status < <(fetch "$ftp" --list-only)
    grep -qx "three_pages.pdf" <(tr -d '\r' <"$scratch/body") && pass "ftp listing" ||
        fail "ftp listing lacks three_pages.pdf"

    echo upload >"$scratch/upload.txt"
    read -r code bytes seconds status < <(fetch "${ftp}upload.txt" --upload-file \
        "$scratch/upload.txt")
    [[ $status -ne 0 ]] && pass "ftp upload refused (curl status $status)" ||
        fail "ftp upload was accepted"
    [[ ! -e $docdir/upload.txt ]] && pass "ftp upload wrote nothing" ||
        fail "ftp upload wrote $docdir/upload.txt"
}

alive() { kill -0 "$1" 2>/dev/null; }

check_wrapper() {
    local wrapper=$here/with_loopback_servers.sh status

    # The command's status comes back, and the addresses reach it.
    FOLIVEX_SERVER_LOG=$scratch/log1 "$wrapper" "$docdir" -- sh -c \
        'echo "$FOLIVEX_TEST_HTTP_URL $FOLIVEX_TEST_FTP_URL" >"$1"; exit 7' sh "$scratch/urls1"
    status=$?
    expect_equal "wrapper: the command's status" 7 "$status"
    local http ftp
    read -r http ftp <"$scratch/urls1"
    [[ $http =~ ^http://127\.0\.0\.1:[0-9]+/$ ]] && pass "wrapper: HTTP address $http" ||
        fail "wrapper: HTTP address '$http'"
    [[ $ftp =~ ^ftp://127\.0\.0\.1:[0-9]+/$ ]] && pass "wrapper: FTP address $ftp" ||
        fail "wrapper: FTP address '$ftp'"
    # Once it has returned, nobody listens there any more (curl: could not connect, 7).
    curl --silent --noproxy '*' --max-time 5 --output /dev/null "${http}three_pages.pdf"
    expect_equal "wrapper: HTTP server stopped afterwards" 7 "$?"
    curl --silent --noproxy '*' --max-time 5 --output /dev/null "${ftp}three_pages.pdf"
    expect_equal "wrapper: FTP server stopped afterwards" 7 "$?"

    FOLIVEX_SERVER_LOG=$scratch/log2 "$wrapper" "$docdir" -- true
    expect_equal "wrapper: success" 0 "$?"

    "$wrapper" "$docdir" 2>/dev/null
    expect_equal "wrapper: usage error without a command" 2 "$?"
    "$wrapper" "$scratch/no_such_directory" -- true 2>/dev/null
    expect_equal "wrapper: usage error for a missing directory" 2 "$?"

    # SIGTERM while the command runs: the command is stopped, then the servers.
    FOLIVEX_SERVER_LOG=$scratch/log3 "$wrapper" "$docdir" -- sh -c \
        'echo "$$ $FOLIVEX_TEST_HTTP_URL" >"$1.partial"; mv "$1.partial" "$1"; exec sleep 60' \
        sh "$scratch/signalled" &
    local wrapper_pid=$!
    for _ in $(seq 200); do
        [[ -s $scratch/signalled ]] && break
        sleep 0.05
    done
    local command_pid url
    read -r command_pid url <"$scratch/signalled"
    kill -TERM "$wrapper_pid"
    wait "$wrapper_pid"
    expect_equal "wrapper: status after SIGTERM" 143 "$?"
    if [[ -n $command_pid ]] && alive "$command_pid"; then
        fail "wrapper: the command outlived SIGTERM"
        kill -TERM "$command_pid"
    else
        pass "wrapper: the command ended with it"
    fi
    curl --silent --noproxy '*' --max-time 5 --output /dev/null "${url}three_pages.pdf"
    expect_equal "wrapper: servers stopped after SIGTERM" 7 "$?"

    # A wrapper killed outright cannot clean up; the servers then stop by themselves.
    FOLIVEX_SERVER_LOG=$scratch/log4 "$wrapper" "$docdir" -- sh -c \
        'echo "$$ $FOLIVEX_TEST_HTTP_URL" >"$1.partial"; mv "$1.partial" "$1"; exec sleep 60' \
        sh "$scratch/killed" &
    wrapper_pid=$!
    for _ in $(seq 200); do
        [[ -s $scratch/killed ]] && break
        sleep 0.05
    done
    read -r command_pid url <"$scratch/killed"
    kill -KILL "$wrapper_pid"
    wait "$wrapper_pid" 2>/dev/null
    # The orphaned command is this test's own doing: end it by its id.
    [[ -n $command_pid ]] && kill -TERM "$command_pid" 2>/dev/null
    local stopped=7
    for _ in $(seq 50); do
        curl --silent --noproxy '*' --max-time 5 --output /dev/null "${url}three_pages.pdf"
        stopped=$?
        [[ $stopped -eq 7 ]] && break
        sleep 0.1
    done
    expect_equal "wrapper: servers stop by themselves after SIGKILL" 7 "$stopped"
}

if [[ $mode == routes ]]; then
    check_routes
else
    check_wrapper
fi

if [[ $failures -ne 0 ]]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all checks passed"
